#include "archivers/extract_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "archivers/archiver_errors.h"

namespace pyx {
namespace {

int ErrorFromErrno(int e, int fallback) {
    switch (e) {
        case ENOSPC:
        case EDQUOT:
            return kErrorDiskFull;
        case ELOOP:
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        default:
            return fallback;
    }
}

}  // namespace

ExtractTarget::ExtractTarget(const std::filesystem::path& destination) {
    rootFd_ = ::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd_ < 0)
        error_ = kErrorMakeFolder;
}

ExtractTarget::~ExtractTarget() {
    if (rootFd_ >= 0)
        ::close(rootFd_);
}

std::optional<std::vector<std::string>> ExtractTarget::SafeComponents(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\')
        return std::nullopt;
    if (name.size() >= 2 && name[1] == ':')
        return std::nullopt;  // drive prefix "C:"
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..")
            return std::nullopt;
        if (part.find('\0') != std::string_view::npos)
            return std::nullopt;
        if (!part.empty() && part != ".")
            parts.emplace_back(part);
        start = end + 1;
    }
    return parts;
}

int ExtractTarget::OpenFolders(const std::vector<std::string>& parts, std::size_t count,
                               int* error) {
    int fd = ::dup(rootFd_);
    if (fd < 0) {
        *error = kErrorMakeFolder;
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (::mkdirat(fd, parts[i].c_str(), 0777) != 0 && errno != EEXIST) {
            *error = ErrorFromErrno(errno, kErrorMakeFolder);
            ::close(fd);
            return -1;
        }
        // O_NOFOLLOW: a symbolic link on the way (made by an earlier member or already there)
        // is never followed out of the destination.
        const int next =
            ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int openErrno = errno;
        if (next < 0 && openErrno == ENOTDIR) {
            struct stat st {};
            if (::fstatat(fd, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(st.st_mode)) {
                openErrno = ELOOP;
            }
        }
        ::close(fd);
        if (next < 0) {
            *error = ErrorFromErrno(openErrno, kErrorMakeFolder);
            return -1;
        }
        fd = next;
    }
    return fd;
}

int ExtractTarget::CreateFile(std::string_view memberName, int* error) {
    if (error_) {
        *error = error_;
        return -1;
    }
    const auto parts = SafeComponents(memberName);
    if (!parts) {
        *error = kErrorAccessDenied;
        return -1;
    }
    if (parts->empty()) {
        *error = kErrorWrite;
        return -1;
    }
    const int dirFd = OpenFolders(*parts, parts->size() - 1, error);
    if (dirFd < 0)
        return -1;
    const int fd = ::openat(dirFd, parts->back().c_str(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    const int openErrno = errno;
    ::close(dirFd);
    if (fd < 0)
        *error = ErrorFromErrno(openErrno, kErrorWrite);
    return fd;
}

int ExtractTarget::MakeFolder(std::string_view memberName) {
    if (error_)
        return error_;
    const auto parts = SafeComponents(memberName);
    if (!parts)
        return kErrorAccessDenied;
    int error = 0;
    const int fd = OpenFolders(*parts, parts->size(), &error);
    if (fd < 0)
        return error;
    ::close(fd);
    return 0;
}

int WriteAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ErrorFromErrno(errno, kErrorWrite);
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int FinishFile(int fd, std::optional<std::time_t> modified) {
    if (modified) {
        const timespec times[2] = {{0, UTIME_OMIT}, {*modified, 0}};
        ::futimens(fd, times);  // a time that cannot be set leaves the file whole
    }
    if (::close(fd) != 0)
        return ErrorFromErrno(errno, kErrorWrite);
    return 0;
}

}  // namespace pyx
