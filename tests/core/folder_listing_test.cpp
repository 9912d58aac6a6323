#include "platform/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace pyx {
namespace {

TEST(FolderListing, MaskMatchesWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"a.lzh", "*.lzh;", true},
        {"ARCHIVE.LZH", "*.lzh;", true},
        {"archive.Zip", "*.lzh;*.zip;", true},
        {"a.tar.lzh", "*.lzh;", true},
        {"a.lzh.bak", "*.lzh;", false},
        {"lzh", "*.lzh;", false},
        {"setup.exe", "*.lzh;*.zip;*.arj;*.cab;*.rar;*.exe;", true},
        {"a.txt", "*.lzh;*.zip;*.arj;*.cab;*.rar;*.exe;", false},
        {"a.lzh", "", false},
        {"noext", "*.*", true},
        {"a.b", "?.b;", true},
        {"ab.b", "?.b;", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " / " << c.mask;
    }
}

TEST(FolderListing, ListsWhatTheFileBoxShows) {
    const fs::path root = fs::temp_directory_path() / ("pyx-list-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Beta");
    fs::create_directories(root / "alpha");
    fs::create_directories(root / ".hidden");
    for (const char* f : {"b.zip", "A.LZH", "c.txt", ".secret.lzh", "Z.cab"}) {
        std::ofstream(root / f) << "x";
    }
    fs::create_symlink(root / "b.zip", root / "link.zip");
    fs::create_symlink(root / "missing.zip", root / "dangling.zip");
    fs::create_directory_symlink(root / "alpha", root / "gamma");
    ASSERT_EQ(::mkfifo((root / "pipe.zip").c_str(), 0600), 0);

    const auto listing = ListFolder(root, "*.lzh;*.zip;*.cab;");
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(listing->files, (std::vector<std::string>{"A.LZH", "b.zip", "link.zip", "Z.cab"}));
    EXPECT_EQ(listing->subfolders, (std::vector<std::string>{"alpha", "Beta", "gamma"}));

    EXPECT_FALSE(ListFolder(root / "nowhere", "*.*").has_value());
    fs::remove_all(root);
}

}  // namespace
}  // namespace pyx
