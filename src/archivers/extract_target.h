#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pyx {

// Where an extraction writes: one destination folder and nothing outside it. Member names are
// UTF-8; '/' and '\' both separate folders. A name that is absolute, has a drive prefix or a ".."
// component, or that would pass through a symbolic link, is refused with kErrorAccessDenied.
class ExtractTarget {
  public:
    explicit ExtractTarget(const std::filesystem::path& destination);
    ~ExtractTarget();
    ExtractTarget(const ExtractTarget&) = delete;
    ExtractTarget& operator=(const ExtractTarget&) = delete;

    // 0 when the destination folder is open for writing, else an archiver error code.
    int error() const { return error_; }

    // Creates the member's file (replacing a file of that name), making its folders.
    // Returns a descriptor, or -1 with *error set to an archiver error code.
    int CreateFile(std::string_view memberName, int* error);
    // Makes the member's folder and its parents; 0 or an archiver error code.
    int MakeFolder(std::string_view memberName);

    // The member name split into components that stay inside the destination; nullopt when
    // it would leave it. An empty result names the destination itself.
    static std::optional<std::vector<std::string>> SafeComponents(std::string_view memberName);

  private:
    // Opens (making when asked) the folders of components[0..count); -1 with *error on failure.
    int OpenFolders(const std::vector<std::string>& components, std::size_t count, int* error);

    int rootFd_ = -1;
    int error_ = 0;
};

// Writes all of data to fd; 0, or kErrorDiskFull / kErrorWrite.
int WriteAll(int fd, const void* data, std::size_t size);
// Sets the file's modification time when given, then closes it; 0 or kErrorWrite.
int FinishFile(int fd, std::optional<std::time_t> modified);

}  // namespace pyx
