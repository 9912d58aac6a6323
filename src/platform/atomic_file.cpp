#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace pyx {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file beside target, opened for writing; -1 when none can be made.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A short name of its own, so that a target name near the length limit still works.
        temporary = target.parent_path() / (".pyx-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(counter++) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems cannot flush a folder (EINVAL); the rename is then as safe as they allow.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    std::error_code error;
    std::filesystem::path file = target;
    if (std::filesystem::is_symlink(target, error)) {
        const auto pointedTo = std::filesystem::weakly_canonical(target, error);
        if (error)
            return false;
        file = pointedTo;
    }
    std::filesystem::path temporary;
    const int fd = CreateTemporary(file, temporary);
    if (fd < 0)
        return false;

    struct stat old {};
    bool ok = ::stat(file.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    const auto folder = file.parent_path();
    return SyncFolder(folder.empty() ? std::filesystem::path(".") : folder);
}

}  // namespace pyx
