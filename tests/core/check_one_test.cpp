#include "check/check_one.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "archivers/archiver_errors.h"
#include "fake_engines.h"

namespace fs = std::filesystem;

namespace pyx {
namespace {

using testing::FakeEngines;

CheckSettings Modes(int lzh, int zip, int arj, int cab, int rar) {
    CheckSettings s;
    s.modes = {0, lzh, zip, arj, cab, rar};
    return s;
}

TEST(CheckOne, KindAndStemFromTheName) {
    EXPECT_EQ(ArchiveKindOf("ARCHIVE.LZH"), KindLzh);
    EXPECT_EQ(ArchiveKindOf("archive.Zip"), KindZip);
    EXPECT_EQ(ArchiveKindOf("a.tar.lzh"), KindLzh);
    EXPECT_EQ(ArchiveKindOf("x.arj"), KindArj);
    EXPECT_EQ(ArchiveKindOf("x.CAB"), KindCab);
    EXPECT_EQ(ArchiveKindOf("x.rar"), KindRar);
    EXPECT_EQ(ArchiveKindOf("setup.EXE"), KindSfx);
    EXPECT_EQ(ArchiveKindOf("lzh"), KindNone);
    EXPECT_EQ(ArchiveKindOf("/d.lzh/file"), KindNone);
    EXPECT_EQ(ArchiveStem("a.b.lzh"), "a");
    EXPECT_EQ(ArchiveStem(".lzh"), "");
    EXPECT_EQ(JoinPath("/", "name.lzh"), "/name.lzh");
    EXPECT_EQ(JoinPath("/data", "name.lzh"), "/data/name.lzh");
}

TEST(CheckOne, EachModeCallsItsEntryPoint) {
    struct Case {
        const char* file;
        int mode;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"a.lzh", 1, {"1:check:/d/a.lzh:0"}},
        {"a.lzh", 2, {"1:check:/d/a.lzh:1"}},
        {"a.lzh", 3, {"1:check:/d/a.lzh:2"}},
        {"a.lzh", 4, {"1:command: t \"/d/a.lzh\":0"}},
        {"a.arj", 4, {"3:command: t \"/d/a.arj\":0"}},
        {"a.zip", 4, {"2:command:-t \"/d/a.zip\":0"}},
        {"a.cab", 4, {"4:command:-t \"/d/a.cab\":0"}},
        {"a.rar", 4, {"5:command:-t \"/d/a.rar\":0"}},
        {"a.txt", 3, {}},
    };
    for (const auto& c : cases) {
        FakeEngines fakes;
        const auto outcome = CheckArchiveFile("/d", c.file, fakes.table,
                                              Modes(c.mode, c.mode, c.mode, c.mode, c.mode));
        EXPECT_EQ(fakes.calls, c.calls) << c.file << " mode " << c.mode;
        EXPECT_FALSE(outcome.failed);
    }
}

TEST(CheckOne, FailureDecision) {
    struct Case {
        int mode, checkAnswer, commandAnswer;
        bool failed;
    };
    const Case cases[] = {
        {2, 0, 0, true},  {2, 1, 0, false},     {2, 7, 0, false},  // any nonzero answer passes
        {4, 0, 0, false}, {4, 1, 0x800C, true},
    };
    for (const auto& c : cases) {
        FakeEngines fakes;
        fakes.kinds[KindLzh].checkAnswer = c.checkAnswer;
        fakes.kinds[KindLzh].commandAnswer = c.commandAnswer;
        const auto outcome =
            CheckArchiveFile("/d", "a.lzh", fakes.table, Modes(c.mode, 0, 0, 0, 0));
        EXPECT_EQ(outcome.failed, c.failed) << c.mode << " " << c.checkAnswer;
        EXPECT_EQ(outcome.resultCode, c.commandAnswer);
    }
}

TEST(CheckOne, SelfExtractingProbeLastClaimerWins) {
    FakeEngines fakes;
    fakes.kinds[KindLzh].probeAnswer = 1;
    fakes.kinds[KindZip].probeAnswer = 1;
    fakes.kinds[KindArj].probeAnswer = 2;  // only exactly 1 claims
    const auto outcome = CheckArchiveFile("/d", "setup.exe", fakes.table, Modes(3, 2, 2, 0, 2));
    EXPECT_EQ(outcome.kind, KindZip);
    const std::vector<std::string> expected = {
        "1:check:/d/setup.exe:0", "2:check:/d/setup.exe:0", "3:check:/d/setup.exe:0",
        "5:check:/d/setup.exe:0",  // Cab is Off: not probed
        "2:check:/d/setup.exe:1",  // tested as Zip at Normal
    };
    EXPECT_EQ(fakes.calls, expected);
}

TEST(CheckOne, UnclaimedExeIsLeftAlone) {
    FakeEngines fakes;
    auto settings = Modes(2, 2, 2, 2, 2);
    settings.updateDate = true;
    const auto outcome = CheckArchiveFile("/d", "prog.exe", fakes.table, settings);
    EXPECT_EQ(outcome.kind, KindSfx);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(fakes.calls.size(), 5u);  // the five probes, nothing else
}

TEST(CheckOne, IncompleteEngineCountsAsOff) {
    FakeEngines fakes;
    fakes.table[KindZip].getTime = nullptr;
    const auto outcome = CheckArchiveFile("/d", "a.zip", fakes.table, Modes(2, 2, 2, 2, 2));
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_FALSE(outcome.failed);
}

class CheckOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("pyx-check-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "a.lzh") << "archive";
        fs::last_write_time(dir_ / "a.lzh", fs::file_time_type::clock::now());
    }
    void TearDown() override {
        fs::permissions(dir_ / "a.lzh", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    std::time_t Mtime() const {
        struct stat st {};
        ::stat((dir_ / "a.lzh").c_str(), &st);
        return st.st_mtime;
    }
    fs::path dir_;
};

TEST_F(CheckOnDisk, ExtractModeCodes) {
    struct Case {
        const char* name;
        bool makeFolder, deleteAfter, folderExists, readOnly;
        int commandAnswer;
        int resultCode, extraCode;
        bool commandRuns, archiveStays;
    };
    const Case cases[] = {
        {"folder made", true, false, false, false, 0, 0, 0, true, true},
        {"folder exists", true, true, true, false, 0, 0, 1, false, true},
        {"deleted after", true, true, false, false, 0, 0, 0, true, false},
        {"read-only kept", false, true, false, true, 0, 0, 2, true, true},
        {"failed kept", true, true, false, false, 0x800C, 0x800C, 0, true, true},
        {"no folder", false, false, false, false, 0, 0, 0, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_ / "a");
        std::ofstream(dir_ / "a.lzh") << "archive";
        if (c.folderExists)
            fs::create_directory(dir_ / "a");
        fs::permissions(dir_ / "a.lzh", c.readOnly ? fs::perms::owner_read : fs::perms::owner_all);
        FakeEngines fakes;
        fakes.kinds[KindLzh].commandAnswer = c.commandAnswer;
        auto settings = Modes(5, 0, 0, 0, 0);
        settings.makeFolder = c.makeFolder;
        settings.deleteAfter = c.deleteAfter;
        const auto outcome = CheckArchiveFile(dir_.string(), "a.lzh", fakes.table, settings);
        EXPECT_EQ(outcome.resultCode, c.resultCode);
        EXPECT_EQ(outcome.extraCode, c.extraCode);
        EXPECT_EQ(outcome.failed, c.resultCode != 0 || c.extraCode != 0);
        EXPECT_EQ(fs::exists(dir_ / "a.lzh"), c.archiveStays);
        const std::string path = (dir_ / "a.lzh").string();
        std::string expected = " x \"" + path + "\"";
        if (c.makeFolder)
            expected += " \"" + (dir_ / "a").string() + "/\"";
        if (c.commandRuns) {
            ASSERT_EQ(fakes.calls.size(), 1u);
            EXPECT_EQ(fakes.calls[0], "1:command:" + expected + ":0");
        } else {
            EXPECT_TRUE(fakes.calls.empty());
        }
        if (c.makeFolder && !c.folderExists) {
            EXPECT_TRUE(fs::is_directory(dir_ / "a"));
        }
    }
}

TEST_F(CheckOnDisk, DateUpdateTakesTheNewestMember) {
    FakeEngines fakes;
    // 1999-12-31 23:00:00 and 2000-01-01 00:00:00, newest first, then an older one.
    fakes.kinds[KindLzh].members = {{0x2821, 0x0000}, {0x279F, 0xB800}, {0x2000, 0x0000}};
    auto settings = Modes(2, 0, 0, 0, 0);
    settings.updateDate = true;
    CheckArchiveFile(dir_.string(), "a.lzh", fakes.table, settings);
    std::tm tm{};
    const std::time_t t = Mtime();
    localtime_r(&t, &tm);
    EXPECT_EQ(tm.tm_year, 100);
    EXPECT_EQ(tm.tm_mon, 0);
    EXPECT_EQ(tm.tm_mday, 1);
    EXPECT_EQ(tm.tm_hour, 0);
    EXPECT_EQ(fakes.calls.back(), "1:close");
}

TEST_F(CheckOnDisk, DateStaysWhenItShould) {
    struct Case {
        const char* name;
        bool updateDate, damaged, readOnly, noMembers, badStamp;
        bool listed;
    };
    const Case cases[] = {
        {"option off", false, false, false, false, false, false},
        {"damaged", true, true, false, false, false, false},
        {"read-only", true, false, true, false, false, true},
        {"no member", true, false, false, true, false, true},
        {"month 0", true, false, false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::time_t before = 1'000'000'000;
        fs::permissions(dir_ / "a.lzh", fs::perms::owner_all);
        const timespec times[2] = {{before, 0}, {before, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (dir_ / "a.lzh").c_str(), times, 0), 0);
        if (c.readOnly)
            fs::permissions(dir_ / "a.lzh", fs::perms::owner_read);
        FakeEngines fakes;
        fakes.kinds[KindLzh].checkAnswer = c.damaged ? 0 : 1;
        if (!c.noMembers) {
            fakes.kinds[KindLzh].members = {
                {static_cast<std::uint16_t>(c.badStamp ? 0x2801 : 0x2821), 0}};
        }
        auto settings = Modes(2, 0, 0, 0, 0);
        settings.updateDate = c.updateDate;
        CheckArchiveFile(dir_.string(), "a.lzh", fakes.table, settings);
        EXPECT_EQ(Mtime(), before);
        bool opened = false;
        for (const auto& call : fakes.calls)
            opened |= call.rfind("1:open:", 0) == 0;
        EXPECT_EQ(opened, c.listed);
    }
}

TEST_F(CheckOnDisk, DeletedArchiveIsNotCreatedAgain) {
    FakeEngines fakes;
    fakes.kinds[KindLzh].members = {{0x2821, 0}};
    auto settings = Modes(5, 0, 0, 0, 0);
    settings.makeFolder = false;
    settings.deleteAfter = true;
    settings.updateDate = true;
    const auto outcome = CheckArchiveFile(dir_.string(), "a.lzh", fakes.table, settings);
    EXPECT_FALSE(outcome.failed);
    EXPECT_FALSE(fs::exists(dir_ / "a.lzh"));
    std::ofstream(dir_ / "a.lzh") << "for TearDown";
}

}  // namespace
}  // namespace pyx
