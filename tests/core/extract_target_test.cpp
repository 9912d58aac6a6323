#include "archivers/extract_target.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "archivers/archiver_errors.h"

namespace fs = std::filesystem;

namespace pyx {
namespace {

class ExtractTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyx-extract-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "dest");
    }
    void TearDown() override { fs::remove_all(root_); }

    int Write(ExtractTarget& t, const char* name) {
        int error = 0;
        const int fd = t.CreateFile(name, &error);
        if (fd < 0)
            return error;
        EXPECT_EQ(WriteAll(fd, "x", 1), 0);
        return t.FinishFile(fd, std::nullopt);
    }

    fs::path root_;
};

TEST_F(ExtractTargetTest, KeepsEveryMemberInsideTheDestination) {
    struct Case {
        const char* name;
        int expected;
        const char* landsAt;  // relative to dest, when written
    };
    const Case cases[] = {
        {"a.txt", 0, "a.txt"},
        {"sub/dir/b.txt", 0, "sub/dir/b.txt"},
        {"dos\\path\\c.txt", 0, "dos/path/c.txt"},
        {"./d.txt", 0, "d.txt"},
        {"../evil.txt", kErrorAccessDenied, nullptr},
        {"sub/../../evil.txt", kErrorAccessDenied, nullptr},
        {"..\\evil.txt", kErrorAccessDenied, nullptr},
        {"/etc/evil.txt", kErrorAccessDenied, nullptr},
        {"\\evil.txt", kErrorAccessDenied, nullptr},
        {"C:evil.txt", kErrorAccessDenied, nullptr},
        {"C:\\evil.txt", kErrorAccessDenied, nullptr},
    };
    ExtractTarget target(root_ / "dest");
    ASSERT_EQ(target.error(), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Write(target, c.name), c.expected);
        if (c.landsAt) {
            EXPECT_TRUE(fs::is_regular_file(root_ / "dest" / c.landsAt));
        }
    }
    EXPECT_FALSE(fs::exists(root_ / "evil.txt"));
}

TEST_F(ExtractTargetTest, NeverFollowsASymbolicLinkOut) {
    fs::create_directories(root_ / "outside");
    fs::create_directory_symlink(root_ / "outside", root_ / "dest" / "link");
    fs::create_symlink(root_ / "outside" / "f.txt", root_ / "dest" / "f.txt");
    ExtractTarget target(root_ / "dest");
    EXPECT_EQ(Write(target, "link/x.txt"), kErrorAccessDenied);
    EXPECT_EQ(Write(target, "f.txt"), kErrorAccessDenied);
    EXPECT_TRUE(fs::is_empty(root_ / "outside"));
}

TEST_F(ExtractTargetTest, ReplacesAFileOfTheSameName) {
    std::ofstream(root_ / "dest" / "a.txt") << "old content";
    ExtractTarget target(root_ / "dest");
    EXPECT_EQ(Write(target, "a.txt"), 0);
    EXPECT_EQ(fs::file_size(root_ / "dest" / "a.txt"), 1u);
}

TEST_F(ExtractTargetTest, AMemberThatFailsLeavesTheOldFile) {
    std::ofstream(root_ / "dest" / "a.txt") << "old content";
    {
        ExtractTarget target(root_ / "dest");
        int error = 0;
        const int fd = target.CreateFile("a.txt", &error);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(WriteAll(fd, "broken", 6), 0);
        EXPECT_EQ(target.FinishFile(fd, std::nullopt, false), 0);
        // A file started but never finished is dropped with the target.
        ASSERT_GE(target.CreateFile("b.txt", &error), 0);
    }
    std::ifstream in(root_ / "dest" / "a.txt");
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "dest"), fs::directory_iterator()), 1);
}

TEST_F(ExtractTargetTest, MissingDestinationIsAnError) {
    ExtractTarget target(root_ / "nowhere");
    EXPECT_EQ(target.error(), kErrorMakeFolder);
    EXPECT_EQ(Write(target, "a.txt"), kErrorMakeFolder);
}

}  // namespace
}  // namespace pyx
