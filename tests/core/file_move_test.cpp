#include "platform/file_move.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/trash.h"

namespace fs = std::filesystem;

namespace pyx {
namespace {

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

dev_t Device(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_dev;
}

// Folders on two file systems when the machine has them: the temp folder and /dev/shm (tmpfs).
class MoveAndTrash : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string tag = "pyx-move-" + std::to_string(::getpid());
        here_ = fs::temp_directory_path() / tag;
        fs::remove_all(here_);
        fs::create_directories(here_ / "src");
        fs::create_directories(here_ / "dest");
        if (fs::is_directory("/dev/shm") && Device("/dev/shm") != Device(here_)) {
            other_ = fs::path("/dev/shm") / tag;
            fs::remove_all(other_);
            fs::create_directories(other_);
        }
        ::setenv("XDG_DATA_HOME", (here_ / "data").c_str(), 1);
    }
    void TearDown() override {
        fs::remove_all(here_);
        if (!other_.empty())
            fs::remove_all(other_);
        fs::remove_all("/dev/shm/.Trash-" + std::to_string(::getuid()) + "/files/" + name_);
    }
    fs::path Make(const fs::path& p, const std::string& content) {
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    fs::path here_, other_;
    std::string name_ = "pyx-trash-test-" + std::to_string(::getpid()) + ".zip";
};

TEST_F(MoveAndTrash, MoveReplacesASameNamedFile) {
    const auto src = Make(here_ / "src" / "a.zip", "new");
    Make(here_ / "dest" / "a.zip", "old content");
    const auto r = MoveFileInto(src.string(), (here_ / "dest").string());
    EXPECT_TRUE(r.moved) << r.error;
    EXPECT_FALSE(fs::exists(src));
    EXPECT_EQ(Read(here_ / "dest" / "a.zip"), "new");
}

TEST_F(MoveAndTrash, MoveAcrossFileSystemsCopiesThenRemoves) {
    if (other_.empty())
        GTEST_SKIP() << "no second file system here";
    const std::string content(3 << 20, 'x');
    const auto src = Make(here_ / "src" / "big.zip", content);
    fs::last_write_time(src, fs::file_time_type::clock::now() - std::chrono::hours(48));
    const auto mtime = fs::last_write_time(src);
    const auto r = MoveFileInto(src.string(), other_.string());
    EXPECT_TRUE(r.moved) << r.error;
    EXPECT_FALSE(fs::exists(src));
    EXPECT_EQ(Read(other_ / "big.zip"), content);
    EXPECT_EQ(fs::last_write_time(other_ / "big.zip"), mtime);
}

TEST_F(MoveAndTrash, CancelledCopyLeavesTheSourceWhole) {
    if (other_.empty())
        GTEST_SKIP() << "no second file system here";
    const std::string content(3 << 20, 'y');
    const auto src = Make(here_ / "src" / "big.zip", content);
    const auto r =
        MoveFileInto(src.string(), other_.string(),
                     [](std::uint64_t done, std::uint64_t) { return done < (1u << 20); });
    EXPECT_FALSE(r.moved);
    EXPECT_EQ(Read(src), content);
    EXPECT_TRUE(fs::is_empty(other_));  // no partial file left
}

TEST_F(MoveAndTrash, MoveRefusals) {
    EXPECT_FALSE(
        MoveFileInto((here_ / "src" / "gone.zip").string(), (here_ / "dest").string()).moved);
    const auto src = Make(here_ / "src" / "d.zip", "x");
    fs::create_directory(here_ / "dest" / "d.zip");
    EXPECT_FALSE(MoveFileInto(src.string(), (here_ / "dest").string()).moved);
    EXPECT_TRUE(fs::exists(src));
    EXPECT_FALSE(MoveFileInto(src.string(), (here_ / "nowhere").string()).moved);
    EXPECT_TRUE(fs::exists(src));
}

TEST_F(MoveAndTrash, TrashLandsInTheHomeTrashWithItsInfo) {
    const auto a = Make(here_ / "src" / "a b.zip", "1");
    const auto r = MoveToTrash(a.string());
    ASSERT_TRUE(r.trashed) << r.error;
    const auto trash = here_ / "data" / "Trash";
    EXPECT_EQ(r.trashedAs, (trash / "files" / "a b.zip").string());
    EXPECT_FALSE(fs::exists(a));
    const std::string info = Read(trash / "info" / "a b.zip.trashinfo");
    EXPECT_NE(info.find("[Trash Info]\nPath=" + (here_ / "src").string() + "/a%20b.zip\n"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos);

    // A second file of the same name does not overwrite the first.
    Make(a, "2");
    const auto again = MoveToTrash(a.string());
    ASSERT_TRUE(again.trashed) << again.error;
    EXPECT_EQ(Read(trash / "files" / "a b.zip"), "1");
    EXPECT_EQ(Read(again.trashedAs), "2");
}

TEST_F(MoveAndTrash, TrashOnAnotherFileSystemUsesTheVolumeTrash) {
    if (other_.empty())
        GTEST_SKIP() << "no second file system here";
    const auto f = Make(other_ / name_, "z");
    const auto r = MoveToTrash(f.string());
    ASSERT_TRUE(r.trashed) << r.error;
    EXPECT_EQ(Device(r.trashedAs), Device(other_));
    EXPECT_FALSE(fs::exists(f));
    EXPECT_EQ(Read(r.trashedAs), "z");
}

TEST_F(MoveAndTrash, GoneFileIsNotTrashed) {
    EXPECT_FALSE(MoveToTrash((here_ / "src" / "gone.zip").string()).trashed);
}

}  // namespace
}  // namespace pyx
