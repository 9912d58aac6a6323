#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace pyx {
namespace {

class AtomicFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("pyx-atomic-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
};

TEST_F(AtomicFile, CreatesAndReplacesKeepingPermissions) {
    const fs::path file = folder / "Pyxidane.ini";
    ASSERT_TRUE(WriteFileAtomically(file, "first"));
    EXPECT_EQ(Read(file), "first");

    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(file, std::string("second\0\r\n", 9)));
    EXPECT_EQ(Read(file), std::string("second\0\r\n", 9));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesInFolder(), 1u);  // no temporary left behind
}

TEST_F(AtomicFile, ReplacesTheFileBehindALink) {
    const fs::path real = folder / "real.ini";
    const fs::path link = folder / "Pyxidane.ini";
    std::ofstream(real) << "old";
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
}

TEST_F(AtomicFile, FailureLeavesTheOldFileWhole) {
    // A folder in the way of the rename, and a target whose folder is missing.
    const fs::path busy = folder / "busy";
    fs::create_directories(busy / "inside");
    EXPECT_FALSE(WriteFileAtomically(busy, "bytes"));
    EXPECT_TRUE(fs::is_directory(busy / "inside"));
    EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "file", "bytes"));
    EXPECT_EQ(FilesInFolder(), 1u);
}

}  // namespace
}  // namespace pyx
