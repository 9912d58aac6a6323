#include "check/folder_walk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace pyx {
namespace {

class FolderWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyx-walk-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        // data holds z.lzh and subfolders b (b.zip) and a (a1 with deep.arj; a.cab).
        for (const char* f : {"data/z.lzh", "data/b/b.zip", "data/a/a.cab", "data/a/a1/deep.arj",
                              "data/A.LZH", "data/.hidden/h.lzh", "data/note.txt"}) {
            fs::create_directories((root_ / f).parent_path());
            std::ofstream(root_ / f) << "x";
        }
    }
    void TearDown() override { fs::remove_all(root_); }
    std::vector<std::string> Walk(bool recurse) {
        std::vector<std::string> seen;
        const std::string base = (root_ / "data").string();
        WalkFolderTree(
            base, {"*.lzh;*.zip;*.arj;*.cab;", recurse},
            [&](const std::string& folder, const std::string& name) {
                seen.push_back(folder.substr(base.size()) + "/" + name);
                return true;
            },
            [&](const std::string& folder) { ADD_FAILURE() << "unreadable " << folder; });
        return seen;
    }
    fs::path root_;
};

TEST_F(FolderWalkTest, FilesFirstThenSubfoldersDepthFirst) {
    EXPECT_EQ(Walk(true), (std::vector<std::string>{"/A.LZH", "/z.lzh", "/a/a.cab",
                                                    "/a/a1/deep.arj", "/b/b.zip"}));
    EXPECT_EQ(Walk(false), (std::vector<std::string>{"/A.LZH", "/z.lzh"}));
}

TEST_F(FolderWalkTest, LinkLoopIsWalkedOnce) {
    fs::create_directory_symlink(root_ / "data", root_ / "data" / "a" / "loop");
    fs::create_directory_symlink(root_ / "data" / "b", root_ / "data" / "c");
    EXPECT_EQ(Walk(true), (std::vector<std::string>{"/A.LZH", "/z.lzh", "/a/a.cab",
                                                    "/a/a1/deep.arj", "/b/b.zip"}));
}

TEST_F(FolderWalkTest, FolderGoneMeanwhileIsSkipped) {
    // b is listed with data, then removed while a is walked: the walk reports it and goes on.
    std::vector<std::string> seen, unreadable;
    const std::string base = (root_ / "data").string();
    const bool finished = WalkFolderTree(
        base, {"*.lzh;*.zip;*.arj;*.cab;", true},
        [&](const std::string&, const std::string& name) {
            seen.push_back(name);
            if (name == "deep.arj")
                fs::remove_all(root_ / "data" / "b");
            return true;
        },
        [&](const std::string& folder) { unreadable.push_back(folder.substr(base.size())); });
    EXPECT_TRUE(finished);
    EXPECT_EQ(seen, (std::vector<std::string>{"A.LZH", "z.lzh", "a.cab", "deep.arj"}));
    EXPECT_EQ(unreadable, (std::vector<std::string>{"/b"}));
}

TEST_F(FolderWalkTest, VisitorStopsTheWalk) {
    std::vector<std::string> seen;
    const bool finished =
        WalkFolderTree((root_ / "data").string(), {"*.lzh;*.zip;*.arj;*.cab;", true},
                       [&](const std::string&, const std::string& name) {
                           seen.push_back(name);
                           return name != "a.cab";
                       },
                       [](const std::string&) {});
    EXPECT_FALSE(finished);
    EXPECT_EQ(seen, (std::vector<std::string>{"A.LZH", "z.lzh", "a.cab"}));
}

TEST_F(FolderWalkTest, EmptyMaskWalksNothing) {
    int visits = 0;
    WalkFolderTree((root_ / "data").string(), {"", true},
                   [&](const std::string&, const std::string&) { return ++visits, true; },
                   [](const std::string&) {});
    EXPECT_EQ(visits, 0);
}

}  // namespace
}  // namespace pyx
