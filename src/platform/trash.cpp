#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace pyx {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool MakeFolders(const std::string& path, mode_t mode) {
    std::string partial;
    std::size_t start = 0;
    while (start < path.size()) {
        const auto end = path.find('/', start + 1);
        partial = path.substr(0, end);
        if (!partial.empty() && ::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
        start = end;
    }
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeTrash() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return Join(data, "Trash");
    const char* home = std::getenv("HOME");
    return Join(home && *home ? home : "/", ".local/share/Trash");
}

// The top folder of the file system that holds path: climb while the device stays the same.
std::string TopDir(const std::string& path, dev_t device) {
    std::string dir = path.substr(0, path.rfind('/'));
    if (dir.empty())
        return "/";
    for (;;) {
        const auto slash = dir.rfind('/');
        const std::string parent = slash == 0 ? "/" : dir.substr(0, slash);
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 || st.st_dev != device)
            return dir;
        if (parent == "/")
            return parent;
        dir = parent;
    }
}

// A trash folder usable for a file on `device`: its files/ and info/ exist, on that device.
bool ReadyTrash(const std::string& trash, dev_t device) {
    if (!MakeFolders(Join(trash, "files"), 0700) || !MakeFolders(Join(trash, "info"), 0700)) {
        return false;
    }
    struct stat st {};
    return ::stat(Join(trash, "files").c_str(), &st) == 0 && st.st_dev == device;
}

std::optional<std::string> TrashFor(const std::string& path, dev_t device) {
    const std::string home = HomeTrash();
    if (ReadyTrash(home, device))
        return home;
    const std::string top = TopDir(path, device);
    const std::string uid = std::to_string(::getuid());
    // $topdir/.Trash/$uid only when .Trash is a real folder with the sticky bit, never a link.
    struct stat st {};
    const std::string shared = Join(top, ".Trash");
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string own = Join(shared, uid);
        if (ReadyTrash(own, device))
            return own;
    }
    const std::string own = Join(top, ".Trash-" + uid);
    if (::lstat(own.c_str(), &st) == 0 && (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())) {
        return std::nullopt;
    }
    if (ReadyTrash(own, device))
        return own;
    return std::nullopt;
}

std::string PercentEncode(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-_.~", c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

TrashResult MoveToTrash(const std::string& path) {
    TrashResult result;
    struct stat st {};
    if (path.empty() || path.front() != '/' || ::lstat(path.c_str(), &st) != 0) {
        result.error = "ファイルが見つかりません";
        return result;
    }
    const auto trash = TrashFor(path, st.st_dev);
    if (!trash) {
        result.error = "このボリュームではごみ箱を使えません";
        return result;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    const bool homeTrash = *trash == HomeTrash();
    // Paths in a volume's trash are relative to its top folder.
    std::string recorded = path;
    if (!homeTrash) {
        const std::string top = TopDir(path, st.st_dev);
        recorded = path.substr(top == "/" ? 1 : top.size() + 1);
    }
    char when[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &tm);
    const std::string info =
        "[Trash Info]\nPath=" + PercentEncode(recorded) + "\nDeletionDate=" + when + "\n";

    for (int n = 1; n < 10000; ++n) {
        const std::string trashName = n == 1 ? name : name + "." + std::to_string(n);
        const std::string infoPath = Join(Join(*trash, "info"), trashName + ".trashinfo");
        // The info file, made exclusively, reserves the name.
        const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            result.error = std::string("ごみ箱に書き込めません (") + std::strerror(errno) + ")";
            return result;
        }
        const bool written =
            ::write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
        ::close(fd);
        const std::string target = Join(Join(*trash, "files"), trashName);
        struct stat taken {};
        if (!written || ::lstat(target.c_str(), &taken) == 0) {
            ::unlink(infoPath.c_str());
            if (!written) {
                result.error = "ごみ箱に書き込めません";
                return result;
            }
            continue;
        }
        if (::rename(path.c_str(), target.c_str()) != 0) {
            result.error =
                std::string("ファイルをごみ箱に移動できません (") + std::strerror(errno) + ")";
            ::unlink(infoPath.c_str());
            return result;
        }
        struct stat arrived {};
        if (::lstat(target.c_str(), &arrived) != 0 || arrived.st_ino != st.st_ino ||
            ::lstat(path.c_str(), &taken) == 0) {
            result.error = "ファイルがごみ箱に届きませんでした";
            return result;
        }
        result.trashed = true;
        result.trashedAs = target;
        return result;
    }
    result.error = "ごみ箱に同じ名前のファイルが多すぎます";
    return result;
}

}  // namespace pyx
