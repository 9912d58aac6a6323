#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace pyx {

InstanceLock::InstanceLock(const std::filesystem::path& folder, std::string_view name) {
    const auto file = folder / (std::string(name) + ".lock");
    fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = file.string() + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        state = State::Held;
        return;
    }
    if (errno == EWOULDBLOCK) {
        state = State::HeldElsewhere;
    } else {
        error = file.string() + ": " + std::strerror(errno);
    }
    ::close(fd);
    fd = -1;
}

InstanceLock::~InstanceLock() {
    if (fd >= 0)
        ::close(fd);  // closing the only descriptor drops the lock
}

std::filesystem::path LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    std::error_code ec;
    auto temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : temp;
}

}  // namespace pyx
