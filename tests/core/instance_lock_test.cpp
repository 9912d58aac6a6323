#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace pyx {
namespace {

class InstanceLockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/pyx-lock.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    // The state another process sees when it tries the lock now.
    InstanceLock::State StateInChild() {
        const pid_t pid = ::fork();
        if (pid == 0) {
            InstanceLock other(folder, "Pyxidane");
            ::_exit(static_cast<int>(other.GetState()));
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return static_cast<InstanceLock::State>(WEXITSTATUS(status));
    }

    fs::path folder;
};

TEST_F(InstanceLockTest, SecondProcessIsTurnedAwayWhileTheFirstHoldsTheLock) {
    auto first = std::make_unique<InstanceLock>(folder, "Pyxidane");
    ASSERT_EQ(first->GetState(), InstanceLock::State::Held);
    EXPECT_TRUE(fs::exists(folder / "Pyxidane.lock"));
    EXPECT_EQ(StateInChild(), InstanceLock::State::HeldElsewhere);

    first.reset();  // the first instance ends; the file stays, the lock goes
    EXPECT_EQ(StateInChild(), InstanceLock::State::Held);
}

TEST_F(InstanceLockTest, LockDiesWithACrashedProcess) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        InstanceLock crashed(folder, "Pyxidane");
        std::abort();  // no destructor runs
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(InstanceLock(folder, "Pyxidane").GetState(), InstanceLock::State::Held);
}

TEST_F(InstanceLockTest, MissingFolderIsReportedNotTakenForAnotherInstance) {
    InstanceLock lock(folder / "missing", "Pyxidane");
    EXPECT_EQ(lock.GetState(), InstanceLock::State::Unavailable);
    EXPECT_NE(lock.Error().find("missing"), std::string::npos);
}

TEST(LockFolder, RuntimeFolderFirstThenTemp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(LockFolder(), fs::path("/run/user/4242"));
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(LockFolder(), fs::temp_directory_path());
    if (saved)
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace pyx
