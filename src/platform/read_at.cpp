#include "platform/read_at.h"

#include <unistd.h>

#include <cerrno>

namespace pyx {

ssize_t ReadAt(int fd, void* data, std::size_t size, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, static_cast<char*>(data) + done, size - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace pyx
