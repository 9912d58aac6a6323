#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pyx {

// What the selection page and the headless checker list in one folder.
struct FolderListing {
    std::vector<std::string> files;       // regular files matching the mask, in NameLess order
    std::vector<std::string> subfolders;  // folders, in NameLess order
};

// A mask is a run of patterns each followed by ';' ("*.lzh;*.zip;"); '*' and '?' are wildcards
// and letters match without regard to ASCII case, so ARCHIVE.LZH matches "*.lzh;". "*.*" matches
// every name. An empty mask matches nothing.
bool MatchesMask(std::string_view name, std::string_view mask);

// A name beginning with '.' is hidden and never listed.
bool IsHiddenName(std::string_view name);

// Name order of both lists: ASCII letters compared without regard to case, ties by bytes.
bool NameLess(std::string_view a, std::string_view b);

// Lists a folder. Symbolic links count as what they point to; a dangling link, and anything that
// is neither a regular file nor a folder (devices, sockets, pipes), is never listed.
// nullopt when the folder cannot be read.
std::optional<FolderListing> ListFolder(const std::filesystem::path& folder, std::string_view mask);

}  // namespace pyx
