#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

namespace pyx {
namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match of one pattern, letters folded; iterative with one backtrack point.
bool MatchPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*")
        return true;
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    while (!mask.empty()) {
        const auto end = mask.find(';');
        const auto pattern = mask.substr(0, end);
        if (!pattern.empty() && MatchPattern(name, pattern))
            return true;
        if (end == std::string_view::npos)
            break;
        mask.remove_prefix(end + 1);
    }
    return false;
}

bool IsHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

bool NameLess(std::string_view a, std::string_view b) {
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = FoldAscii(a[i]), y = FoldAscii(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::optional<FolderListing> ListFolder(const std::filesystem::path& folder,
                                        std::string_view mask) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    const int fd = ::dirfd(dir);
    FolderListing listing;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (IsHiddenName(name))
            continue;  // also "." and ".."
        bool isFile = entry->d_type == DT_REG;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, 0) != 0)
                continue;
            isFile = S_ISREG(st.st_mode);
            isFolder = S_ISDIR(st.st_mode);
        }
        if (isFolder) {
            listing.subfolders.emplace_back(name);
        } else if (isFile && MatchesMask(name, mask)) {
            listing.files.emplace_back(name);
        }
    }
    ::closedir(dir);
    const auto less = [](const std::string& a, const std::string& b) { return NameLess(a, b); };
    std::sort(listing.files.begin(), listing.files.end(), less);
    std::sort(listing.subfolders.begin(), listing.subfolders.end(), less);
    return listing;
}

}  // namespace pyx
