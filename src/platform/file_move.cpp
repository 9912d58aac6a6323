#include "platform/file_move.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pyx {
namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string SystemError(const char* what, int e) {
    return std::string(what) + ": " + std::strerror(e);
}

// Copies source to a fresh file at temp; false with *error on failure or cancel.
bool CopyFlushed(const std::string& source, const std::string& temp, const CopyProgress& progress,
                 std::string* error) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        *error = SystemError("ファイルを読み込めません", errno);
        return false;
    }
    struct stat st {};
    ::fstat(in, &st);
    const int out =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        *error = SystemError("移動先に書き込めません", errno);
        ::close(in);
        return false;
    }
    std::vector<char> buffer(1 << 20);
    const auto total = static_cast<std::uint64_t>(st.st_size);
    std::uint64_t done = 0;
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = SystemError("ファイルを読み込めません", errno);
            ok = false;
            break;
        }
        if (n == 0)
            break;
        for (ssize_t written = 0; written < n;) {
            const ssize_t w =
                ::write(out, buffer.data() + written, static_cast<std::size_t>(n - written));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                *error = SystemError("移動先に書き込めません", errno);
                ok = false;
                break;
            }
            written += w;
        }
        if (!ok)
            break;
        done += static_cast<std::uint64_t>(n);
        if (progress && !progress(done, total)) {
            *error = "中断されました";
            ok = false;
            break;
        }
    }
    if (ok) {
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out, times);
        if (::fsync(out) != 0) {
            *error = SystemError("移動先に書き込めません", errno);
            ok = false;
        }
    }
    if (::close(out) != 0 && ok) {
        *error = SystemError("移動先に書き込めません", errno);
        ok = false;
    }
    ::close(in);
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

MoveResult MoveFileInto(const std::string& source, const std::string& folder,
                        const CopyProgress& progress) {
    MoveResult result;
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) {
        result.error = "ファイルが見つかりません";
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = "通常のファイルではありません";
        return result;
    }
    const std::string target = Join(folder, BaseName(source));
    struct stat targetSt {};
    if (::stat(target.c_str(), &targetSt) == 0 && S_ISDIR(targetSt.st_mode)) {
        result.error = "移動先に同じ名前のフォルダがあります";
        return result;
    }
    if (::rename(source.c_str(), target.c_str()) == 0) {
        result.moved = true;
        return result;
    }
    if (errno != EXDEV) {
        result.error = SystemError("ファイルを移動できません", errno);
        return result;
    }
    const std::string temp =
        Join(folder, "." + BaseName(source) + ".pyxidane-" + std::to_string(::getpid()) + ".part");
    if (!CopyFlushed(source, temp, progress, &result.error))
        return result;
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        result.error = SystemError("移動先に書き込めません", errno);
        ::unlink(temp.c_str());
        return result;
    }
    SyncFolder(folder);
    if (::unlink(source.c_str()) != 0) {
        // The copy is whole in the destination; the source stays too, so nothing is lost.
        result.error = SystemError("コピーしましたが元のファイルを削除できません", errno);
        return result;
    }
    result.moved = true;
    return result;
}

}  // namespace pyx
