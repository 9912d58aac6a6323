#include "cli/batch_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "cli/cli_options.h"

namespace pyx {
namespace {

// A thread-safe engine: names holding "bad" are damaged; the time a check takes varies with the
// name, so that on several threads the files finish out of order.
int SlowCheck(const char* path, int) {
    const std::size_t n = std::strlen(path);
    std::this_thread::sleep_for(std::chrono::microseconds((n * 7919 + path[n - 5]) % 3000));
    return std::strstr(path, "bad") ? 0 : 1;
}
int NoCommand(void*, const char*, char*, std::uint32_t) {
    return 0;
}
std::uint16_t Version() {
    return 100;
}
ArchiveHandle Open(void*, const char*, std::uint32_t) {
    return nullptr;
}
int Close(ArchiveHandle) {
    return 0;
}
int First(ArchiveHandle, const char*, void*) {
    return -1;
}
int Next(ArchiveHandle, void*) {
    return -1;
}
std::uint16_t Stamp(ArchiveHandle) {
    return 0;
}

std::vector<std::string> RunBatch(int jobs, const std::atomic<bool>& stop, int files) {
    ArchiverTable table{};
    static const char name[] = "slow";
    table[KindZip] = {name,   &SlowCheck, &NoCommand, &Version, &Open,
                      &Close, &First,     &Next,      &Stamp,   &Stamp};
    CheckSettings settings;
    settings.modes = {0, 0, 2, 0, 0, 0};
    std::vector<std::string> entries;
    BatchChecker checker(
        table, settings, jobs, [&](const std::string& e) { entries.push_back(e); }, nullptr, stop);
    for (int i = 0; i < files; ++i) {
        checker.Add("/d", (i % 3 == 0 ? "bad" : "ok") + std::to_string(i) + ".zip");
    }
    checker.Finish();
    return entries;
}

TEST(BatchCheck, EntriesComeInWalkOrderWhateverTheJobs) {
    const std::atomic<bool> noStop{false};
    const auto one = RunBatch(1, noStop, 60);
    ASSERT_EQ(one.size(), 20u);
    EXPECT_EQ(one.front(), "/d/bad0.zip");
    EXPECT_EQ(one.back(), "/d/bad57.zip");
    EXPECT_EQ(RunBatch(4, noStop, 60), one);
}

TEST(BatchCheck, StopSkipsWhatHasNotStarted) {
    const std::atomic<bool> stop{true};
    EXPECT_TRUE(RunBatch(3, stop, 30).empty());
}

TEST(CliOptions, ParsesAndRejects) {
    std::string error;
    auto o = ParseCliOptions({"--depth", "strict", "--sfx", "--no-recurse", "-j", "3", "a", "b"},
                             &error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->mode, 3);
    EXPECT_TRUE(o->selfExtracting);
    EXPECT_FALSE(o->recurse);
    EXPECT_EQ(o->jobs, 3);
    EXPECT_EQ(o->paths, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(o->updateDates);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"--depth", "deep", "a"},
                                                {"--jobs", "0", "a"},
                                                {"--jobs", "x", "a"},
                                                {"--bogus", "a"},
                                                {"--depth"}}) {
        error.clear();
        EXPECT_FALSE(ParseCliOptions(bad, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
    o = ParseCliOptions({"--", "--sfx"}, &error);
    ASSERT_TRUE(o.has_value());
    EXPECT_EQ(o->paths, (std::vector<std::string>{"--sfx"}));
}

}  // namespace
}  // namespace pyx
