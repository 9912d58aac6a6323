#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pyx {

// Where an extraction writes: one destination folder and nothing outside it. Member names are
// UTF-8; '/' and '\' both separate folders. A name that is absolute, has a drive prefix or a ".."
// component, or that would pass through a symbolic link, is refused with kErrorAccessDenied.
// A member is written to a temporary file beside its place and takes its name only when it is
// whole, so a file of that name already there is never lost to a member that fails.
class ExtractTarget {
  public:
    explicit ExtractTarget(const std::filesystem::path& destination);
    ~ExtractTarget();
    ExtractTarget(const ExtractTarget&) = delete;
    ExtractTarget& operator=(const ExtractTarget&) = delete;

    // 0 when the destination folder is open for writing, else an archiver error code.
    int error() const { return error_; }

    // Starts the member's file, making its folders. Returns a descriptor to write to, or -1 with
    // *error set to an archiver error code.
    int CreateFile(std::string_view memberName, int* error);
    // Ends a file from CreateFile. When whole, it gets its modification time (when given) and
    // replaces a file of its name; otherwise it is dropped and what was there stays.
    // 0 or an archiver error code.
    int FinishFile(int fd, std::optional<std::time_t> modified, bool whole = true);
    // Makes the member's folder and its parents; 0 or an archiver error code.
    int MakeFolder(std::string_view memberName);

    // The member name split into components that stay inside the destination; nullopt when
    // it would leave it. An empty result names the destination itself.
    static std::optional<std::vector<std::string>> SafeComponents(std::string_view memberName);

  private:
    // Opens (making when asked) the folders of components[0..count); -1 with *error on failure.
    int OpenFolders(const std::vector<std::string>& components, std::size_t count, int* error);

    struct Pending {
        int dirFd;
        std::string temp, name;
    };

    int rootFd_ = -1;
    int error_ = 0;
    std::map<int, Pending> pending_;  // by descriptor
};

// Writes all of data to fd; 0, or kErrorDiskFull / kErrorWrite.
int WriteAll(int fd, const void* data, std::size_t size);

}  // namespace pyx
