// The LZH, ZIP, CAB and RAR engines on real archives: the good fixtures made by
// tests/fixtures/make-fixtures.sh, and damaged variants derived from them here.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "archivers/archive_kind.h"
#include "archivers/archiver_errors.h"
#include "archivers/binding_table.h"
#include "archivers/cab_engine.h"
#include "archivers/dos_time.h"
#include "archivers/lzh_engine.h"
#include "archivers/rar_engine.h"
#include "archivers/zip_engine.h"

namespace fs = std::filesystem;

namespace pyx {
namespace {

const fs::path kFixtures = PYX_FIXTURES_DIR;
constexpr std::time_t kFixtureTime = 1614834368;  // 2021-03-04 05:06:08 UTC
constexpr DosStamp kFixtureStamp{(2021 - 1980) << 9 | 3 << 5 | 4, 5 << 11 | 6 << 5 | 4};
constexpr std::uint16_t kMonth13 = (2021 - 1980) << 9 | 13 << 5 | 4;

ArchiverBinding Engine(int kind) {
    switch (kind) {
        case KindLzh:
            return LzhEngineBinding();
        case KindZip:
            return ZipEngineBinding();
        case KindCab:
            return CabEngineBinding();
        case KindRar:
            return RarEngineBinding();
        default:
            return {};
    }
}

const char* KindName(int kind) {
    static const char* const names[] = {"", "lzh", "zip", "arj", "cab", "rar"};
    return names[kind];
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& p, const std::string& data) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << data;
}

int Command(const ArchiverBinding& b, const std::string& line) {
    char out[1] = {};
    return b.command(nullptr, line.c_str(), out, 0);
}

int TestCommand(const ArchiverBinding& b, const fs::path& archive) {
    return Command(b, " t \"" + archive.string() + "\"");
}

int Extract(const ArchiverBinding& b, const fs::path& archive, const fs::path& dest) {
    return Command(b, "-x \"" + archive.string() + "\" \"" + dest.string() + "/\"");
}

std::vector<DosStamp> List(const ArchiverBinding& b, const fs::path& archive) {
    std::vector<DosStamp> stamps;
    ArchiveHandle h = b.openArchive(nullptr, archive.c_str(), 1);
    for (int r = b.findFirst(h, "*.*", nullptr); r != -1; r = b.findNext(h, nullptr)) {
        stamps.push_back({b.getDate(h), b.getTime(h)});
    }
    b.closeArchive(h);
    return stamps;
}

// The stub of a self-extracting archive: "MZ" and filler that holds no archive signature.
std::string Stub(std::size_t size) {
    const std::string filler = "This program cannot be run in DOS mode.\r\n";
    std::string s = "MZ";
    while (s.size() < size)
        s += filler;
    s.resize(size);
    return s;
}

class EnginesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("pyx-engines-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Put(const std::string& name, const std::string& data) {
        const fs::path p = root_ / name;
        WriteFile(p, data);
        return p;
    }

    fs::path root_;
};

// ---- good archives ----

struct GoodCase {
    int kind;
    const char* fixture;
    int testCode;  // what " t " answers: 0, or the code for what the engine cannot check
};

const GoodCase kGood[] = {
    {KindLzh, "lzh/lh0_l1.lzh", 0},
    {KindLzh, "lzh/lh5_l0.lzh", 0},
    {KindLzh, "lzh/lh5_l1.lzh", 0},
    {KindLzh, "lzh/lh5_l2.lzh", 0},
    {KindLzh, "lzh/lh6_l1.lzh", 0},
    {KindLzh, "lzh/lh7_l2.lzh", 0},
    {KindLzh, "lzh/sjis.lzh", 0},
    {KindLzh, "lzh/lh1.lzh", kErrorMethod},
    {KindLzh, "sfx/lzh_small.exe", 0},
    {KindLzh, "sfx/lzh_big.exe", 0},
    {KindZip, "zip/stored.zip", 0},
    {KindZip, "zip/deflate.zip", 0},
    {KindZip, "zip/bzip2.zip", 0},
    {KindZip, "zip/lzma.zip", 0},
    {KindZip, "zip/sjis.zip", 0},
    {KindZip, "zip/deflate64.zip", kErrorMethod},
    {KindZip, "zip/zipcrypto.zip", kErrorPassword},
    {KindZip, "zip/aes.zip", kErrorPassword},
    {KindZip, "sfx/zip_small.exe", 0},
    {KindCab, "cab/none.cab", 0},
    {KindCab, "cab/mszip.cab", 0},
    {KindCab, "sfx/cab_small.exe", 0},
    {KindRar, "rar/rar4_stored.rar", 0},
    {KindRar, "rar/rar4_sjis.rar", 0},
    {KindRar, "rar/rar5_stored.rar", 0},
    {KindRar, "rar/rar4_encrypted.rar", kErrorPassword},
    // Needs the RAR 2.x decoder, which libarchive lacks (it would use the 2.9 one).
    {KindRar, "rar/rar4_v20.rar", kErrorMethod},
    {KindRar, "sfx/rar4_small.exe", 0},
    {KindRar, "sfx/rar5_big.exe", 0},
};

TEST_F(EnginesTest, GoodArchivesPassEveryDepth) {
    for (const GoodCase& c : kGood) {
        SCOPED_TRACE(c.fixture);
        const ArchiverBinding b = Engine(c.kind);
        const fs::path p = kFixtures / c.fixture;
        EXPECT_EQ(b.checkArchive(p.c_str(), 0), 1);
        EXPECT_EQ(b.checkArchive(p.c_str(), 1), 1);
        // A member that cannot be decoded cannot be verified: not sound at full depth.
        EXPECT_EQ(b.checkArchive(p.c_str(), 2), c.testCode == 0 ? 1 : 0);
        EXPECT_EQ(TestCommand(b, p), c.testCode);
    }
}

TEST_F(EnginesTest, EveryEngineIsCompleteAndVersioned) {
    for (const int kind : {KindLzh, KindZip, KindCab, KindRar}) {
        SCOPED_TRACE(KindName(kind));
        const ArchiverBinding b = Engine(kind);
        ASSERT_TRUE(IsComplete(b));
        EXPECT_GE(b.getVersion(), 100);
    }
}

// ---- damaged archives ----

enum class Damage { None, Flip, Cut, FlipAt, Drop, Set, Garbage, Empty, Text };

// `at` is the offset for FlipAt and Set, the number of bytes for Drop (taken off the end).
std::string Damaged(const std::string& good, Damage damage, std::size_t at, char value) {
    std::string d = good;
    switch (damage) {
        case Damage::None:
            break;
        case Damage::Drop:
            d.resize(d.size() - at);
            break;
        case Damage::Set:
            d[at] = value;
            break;
        case Damage::Flip:
            d[d.size() * 3 / 4] ^= 0x55;
            break;
        case Damage::Cut:
            d.resize(d.size() * 2 / 3);
            break;
        case Damage::FlipAt:
            d[at] ^= 0x55;
            break;
        case Damage::Garbage:
            for (std::size_t i = 0; i < d.size(); ++i)
                d[i] = static_cast<char>(i * 7919 % 251);
            break;
        case Damage::Empty:
            d.clear();
            break;
        case Damage::Text:
            d = "Just a text file that was renamed.\n";
            break;
    }
    return d;
}

struct DamageCase {
    int kind;
    const char* fixture;
    Damage damage;
    std::size_t at;  // for FlipAt, Drop and Set
    int caughtAt;    // the first depth whose checkArchive answers 0
    int code;        // what " t " answers
    char value = 0;  // for Set
};

const DamageCase kDamage[] = {
    // LZH: -lh5- data that no longer decodes, or decodes to the wrong CRC.
    {KindLzh, "lzh/lh5_l0.lzh", Damage::Flip, 0, 2, kErrorHuffman},
    {KindLzh, "lzh/lh5_l2.lzh", Damage::Flip, 0, 2, kErrorChecksum},
    {KindLzh, "lzh/lh7_l2.lzh", Damage::Flip, 0, 2, kErrorChecksum},
    {KindLzh, "lzh/lh0_l1.lzh", Damage::Flip, 0, 2, kErrorChecksum},
    {KindLzh, "lzh/lh5_l0.lzh", Damage::Cut, 0, 1, kErrorMissingData},
    {KindLzh, "lzh/lh0_l1.lzh", Damage::Cut, 0, 1, kErrorMissingData},
    {KindLzh, "sfx/lzh_small.exe", Damage::Cut, 0, 1, kErrorMissingData},
    {KindLzh, "lzh/lh5_l0.lzh", Damage::FlipAt, 53, 1, kErrorHeaderChecksum},  // 2nd level-0
    {KindLzh, "lzh/lh5_l2.lzh", Damage::FlipAt, 55, 1, kErrorHeaderChecksum},  // 2nd level-2
    {KindLzh, "lzh/lh5_l1.lzh", Damage::FlipAt, 36, 0, kErrorHeader},     // extended header size
    {KindLzh, "lzh/lh5_l0.lzh", Damage::FlipAt, 3, 0, kErrorNotArchive},  // first header
    {KindLzh, "lzh/lh5_l0.lzh", Damage::Garbage, 0, 0, kErrorNotArchive},
    {KindLzh, "lzh/lh5_l0.lzh", Damage::Empty, 0, 0, kErrorNotArchive},
    {KindLzh, "lzh/lh5_l0.lzh", Damage::Text, 0, 0, kErrorNotArchive},
    // ZIP
    {KindZip, "zip/deflate.zip", Damage::Flip, 0, 2, kErrorChecksum},
    {KindZip, "zip/stored.zip", Damage::Flip, 0, 2, kErrorChecksum},
    {KindZip, "zip/bzip2.zip", Damage::Flip, 0, 2, kErrorChecksum},
    {KindZip, "zip/lzma.zip", Damage::Flip, 0, 2, kErrorChecksum},
    {KindZip, "zip/deflate.zip", Damage::Cut, 0, 0, kErrorMissingData},
    {KindZip, "sfx/zip_small.exe", Damage::Cut, 0, 0, kErrorNotArchive},
    {KindZip, "zip/deflate.zip", Damage::FlipAt, 1, 0, kErrorHeader},          // first local header
    {KindZip, "zip/deflate.zip", Damage::FlipAt, 2733 - 60, 1, kErrorHeader},  // central dir.
    {KindZip, "zip/deflate.zip", Damage::Garbage, 0, 0, kErrorNotArchive},
    {KindZip, "zip/deflate.zip", Damage::Empty, 0, 0, kErrorNotArchive},
    {KindZip, "zip/deflate.zip", Damage::Text, 0, 0, kErrorNotArchive},
    // CAB: the data blocks carry checksums; the header declares the cabinet's size.
    {KindCab, "cab/none.cab", Damage::Flip, 0, 2, kErrorChecksum},
    {KindCab, "cab/mszip.cab", Damage::Flip, 0, 2, kErrorChecksum},
    {KindCab, "cab/none.cab", Damage::Cut, 0, 1, kErrorMissingData},
    {KindCab, "cab/mszip.cab", Damage::Cut, 0, 1, kErrorMissingData},
    {KindCab, "sfx/cab_small.exe", Damage::Drop, 100, 1, kErrorMissingData},
    {KindCab, "cab/mszip.cab", Damage::FlipAt, 30, 0, kErrorHeader},  // flags: a reserve area
    {KindCab, "cab/mszip.cab", Damage::FlipAt, 40, 2, kErrorHeader},  // folder's block count
    {KindCab, "cab/mszip.cab", Damage::Set, 42, 2, kErrorMethod, 2},  // Quantum
    {KindCab, "cab/mszip.cab", Damage::Garbage, 0, 0, kErrorNotArchive},
    {KindCab, "cab/mszip.cab", Damage::Empty, 0, 0, kErrorNotArchive},
    // RAR: libarchive compares no CRC of stored data, and reads a RAR 5 archive that lacks its
    // end block as sound.
    {KindRar, "rar/rar4_stored.rar", Damage::Flip, 0, 2, kErrorChecksum},
    {KindRar, "rar/rar5_stored.rar", Damage::Flip, 0, 2, kErrorChecksum},
    {KindRar, "sfx/rar5_big.exe", Damage::FlipAt, 70001 + 5000, 2, kErrorChecksum},
    {KindRar, "rar/rar4_stored.rar", Damage::Cut, 0, 1, kErrorMissingData},
    {KindRar, "rar/rar5_stored.rar", Damage::Cut, 0, 1, kErrorMissingData},
    {KindRar, "rar/rar5_stored.rar", Damage::Drop, 8, 1, kErrorMissingData},        // the end block
    {KindRar, "rar/rar4_stored.rar", Damage::FlipAt, 10, 0, kErrorHeaderChecksum},  // main
    {KindRar, "rar/rar4_stored.rar", Damage::FlipAt, 30, 0, kErrorHeaderChecksum},  // sizes
    {KindRar, "rar/rar4_stored.rar", Damage::FlipAt, 76, 1, kErrorHeaderChecksum},  // 2nd file
    {KindRar, "rar/rar5_stored.rar", Damage::FlipAt, 25, 0, kErrorHeaderChecksum},
    {KindRar, "rar/rar5_stored.rar", Damage::Garbage, 0, 0, kErrorNotArchive},
    // Not damage, but nothing can be read without the password.
    {KindRar, "rar/rar4_hidden.rar", Damage::None, 0, 0, kErrorPassword},
    {KindRar, "rar/rar5_stored.rar", Damage::Empty, 0, 0, kErrorNotArchive},
    {KindRar, "rar/rar4_stored.rar", Damage::Text, 0, 0, kErrorNotArchive},
};

TEST_F(EnginesTest, DamageIsCaughtAtTheDepthThatSeesItWithItsCode) {
    for (const DamageCase& c : kDamage) {
        SCOPED_TRACE(std::string(c.fixture) + " damage " +
                     std::to_string(static_cast<int>(c.damage)) + " at " + std::to_string(c.at));
        const ArchiverBinding b = Engine(c.kind);
        const fs::path p =
            Put("damaged", Damaged(ReadFile(kFixtures / c.fixture), c.damage, c.at, c.value));
        for (int mode = 0; mode <= 2; ++mode) {
            EXPECT_EQ(b.checkArchive(p.c_str(), mode), mode < c.caughtAt ? 1 : 0) << mode;
        }
        EXPECT_EQ(TestCommand(b, p), c.code);
        const fs::path dest = root_ / "out";
        fs::create_directories(dest);
        EXPECT_EQ(Extract(b, p, dest), c.code);
        fs::remove_all(dest);
        List(b, p);  // whatever it finds, it must not crash
    }
}

TEST_F(EnginesTest, EachEngineTurnsAwayTheOtherKinds) {
    const char* const fixtures[] = {"lzh/lh5_l1.lzh", "zip/deflate.zip", "cab/mszip.cab",
                                    "rar/rar4_stored.rar", "rar/rar5_stored.rar"};
    const int kinds[] = {KindLzh, KindZip, KindCab, KindRar, KindRar};
    for (const int kind : {KindLzh, KindZip, KindCab, KindRar}) {
        const ArchiverBinding b = Engine(kind);
        for (std::size_t i = 0; i < std::size(fixtures); ++i) {
            SCOPED_TRACE(std::string(KindName(kind)) + " on " + fixtures[i]);
            const fs::path p = kFixtures / fixtures[i];
            EXPECT_EQ(b.checkArchive(p.c_str(), 0), kinds[i] == kind ? 1 : 0);
        }
    }
}

// ---- self-extracting archives ----

TEST_F(EnginesTest, FindsTheArchiveBehindStubsOfAnySize) {
    const char* const fixtures[] = {"lzh/lh5_l2.lzh", "zip/deflate.zip", "cab/mszip.cab",
                                    "rar/rar4_stored.rar", "rar/rar5_stored.rar"};
    const int kinds[] = {KindLzh, KindZip, KindCab, KindRar, KindRar};
    // Under and over 64 KiB, on and off 16-byte boundaries.
    for (const std::size_t stub : {std::size_t{2}, std::size_t{3001}, std::size_t{32768},
                                   std::size_t{65536}, std::size_t{70001}, std::size_t{300007}}) {
        for (std::size_t i = 0; i < std::size(fixtures); ++i) {
            SCOPED_TRACE(std::string(fixtures[i]) + " behind " + std::to_string(stub));
            const ArchiverBinding b = Engine(kinds[i]);
            const fs::path p = Put("setup.exe", Stub(stub) + ReadFile(kFixtures / fixtures[i]));
            EXPECT_EQ(b.checkArchive(p.c_str(), 0), 1);
            EXPECT_EQ(b.checkArchive(p.c_str(), 2), 1);
            EXPECT_EQ(TestCommand(b, p), 0);
        }
    }
}

TEST_F(EnginesTest, ABigProgramWithoutAnArchiveIsNoArchive) {
    const fs::path p = Put("program.exe", Stub(3 << 20));
    for (const int kind : {KindLzh, KindZip, KindCab, KindRar}) {
        SCOPED_TRACE(KindName(kind));
        const ArchiverBinding b = Engine(kind);
        EXPECT_EQ(b.checkArchive(p.c_str(), 0), 0);
        EXPECT_EQ(TestCommand(b, p), kErrorNotArchive);
    }
}

// ---- extraction ----

TEST_F(EnginesTest, ExtractionWritesEveryMemberWhole) {
    const char* const fixtures[][2] = {
        {"lzh", "lzh/lh5_l0.lzh"},      {"lzh", "lzh/lh7_l2.lzh"},      {"zip", "zip/deflate.zip"},
        {"zip", "zip/lzma.zip"},        {"cab", "cab/mszip.cab"},       {"cab", "cab/none.cab"},
        {"rar", "rar/rar4_stored.rar"}, {"rar", "rar/rar5_stored.rar"},
    };
    std::string reference;
    for (const auto& f : fixtures) {
        SCOPED_TRACE(f[1]);
        int kind = 0;
        for (int k : {KindLzh, KindZip, KindCab, KindRar}) {
            if (std::string(KindName(k)) == f[0])
                kind = k;
        }
        const fs::path dest = root_ / "out";
        fs::remove_all(dest);
        fs::create_directories(dest);
        ASSERT_EQ(Extract(Engine(kind), kFixtures / f[1], dest), 0);
        EXPECT_EQ(ReadFile(dest / "sub/c.txt"), "c\n");
        const std::string text = ReadFile(dest / "words.txt");
        EXPECT_EQ(text.size(), 16940u);
        if (reference.empty())
            reference = text;
        EXPECT_EQ(text, reference);
    }
}

TEST_F(EnginesTest, ExtractionWithoutADestinationWritesIntoTheCurrentFolder) {
    const fs::path here = fs::current_path();
    fs::current_path(root_);
    const int r =
        Command(Engine(KindZip), "-x \"" + (kFixtures / "zip/stored.zip").string() + "\"");
    fs::current_path(here);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(ReadFile(root_ / "sub/c.txt"), "c\n");
}

TEST_F(EnginesTest, ShiftJisNamesBecomeUtf8FileNames) {
    for (const auto& [kind, fixture] :
         {std::pair{KindLzh, "lzh/sjis.lzh"}, std::pair{KindZip, "zip/sjis.zip"},
          std::pair{KindRar, "rar/rar4_sjis.rar"}}) {
        SCOPED_TRACE(fixture);
        const fs::path dest = root_ / "out";
        fs::remove_all(dest);
        fs::create_directories(dest);
        ASSERT_EQ(Extract(Engine(kind), kFixtures / fixture, dest), 0);
        EXPECT_EQ(ReadFile(dest / "日本語.txt"), "c\n");
        // 表 ends in the byte 0x5C, which must not split the name as a backslash would.
        if (kind != KindRar) {
            EXPECT_EQ(ReadFile(dest / "表示.txt").size(), 100u);
        }
    }
}

TEST_F(EnginesTest, NoMemberLandsOutsideTheDestination) {
    for (const auto& [kind, fixture] :
         {std::pair{KindLzh, "lzh/traversal.lzh"}, std::pair{KindZip, "zip/traversal.zip"},
          std::pair{KindZip, "zip/symlink.zip"}}) {
        SCOPED_TRACE(fixture);
        const fs::path dest = root_ / "a" / "out";
        fs::remove_all(root_ / "a");
        fs::create_directories(dest);
        const bool tmpEvilBefore = fs::exists("/tmp/evil.txt");
        EXPECT_EQ(Extract(Engine(kind), kFixtures / fixture, dest), kErrorAccessDenied);
        EXPECT_EQ(ReadFile(dest / "ok.txt"), "c\n");  // the sound members are still written
        EXPECT_FALSE(fs::exists(root_ / "a" / "evil.txt"));
        EXPECT_FALSE(fs::is_symlink(dest / "link"));
        EXPECT_FALSE(fs::exists(dest / "link"));
        if (!tmpEvilBefore) {
            EXPECT_FALSE(fs::exists("/tmp/evil.txt"));
        }
        // The test alone is not concerned with where members would land.
        EXPECT_EQ(TestCommand(Engine(kind), kFixtures / fixture), 0);
    }
}

TEST_F(EnginesTest, ExtractionIntoAMissingFolderFails) {
    EXPECT_EQ(Extract(Engine(KindZip), kFixtures / "zip/stored.zip", root_ / "missing"),
              kErrorMakeFolder);
}

TEST_F(EnginesTest, CommandErrors) {
    const ArchiverBinding b = Engine(KindLzh);
    EXPECT_EQ(Command(b, "q \"a.lzh\""), kErrorCommand);
    EXPECT_EQ(Command(b, " t a.lzh"), kErrorCommand);
    EXPECT_EQ(TestCommand(b, root_ / "none.lzh"), kErrorCannotOpen);
    EXPECT_EQ(TestCommand(b, root_), kErrorCannotOpen);  // a folder
    EXPECT_EQ(b.checkArchive((root_ / "none.lzh").c_str(), 0), 0);
}

// ---- listing ----

struct ListCase {
    int kind;
    const char* fixture;
    std::vector<DosStamp> stamps;
};

TEST_F(EnginesTest, ListingGivesTheStoredStampsInArchiveOrder) {
    // Level 2 and RAR 5 store a Unix time: its stamp is that moment in local time.
    const DosStamp unixStamp = *DosStampFromTime(kFixtureTime);
    const DosStamp month13{kMonth13, kFixtureStamp.time};
    const ListCase cases[] = {
        {KindLzh, "lzh/lh5_l0.lzh", {kFixtureStamp, kFixtureStamp}},
        {KindLzh, "lzh/lh5_l1.lzh", {kFixtureStamp, kFixtureStamp}},
        {KindLzh, "lzh/lh5_l2.lzh", {unixStamp, unixStamp}},
        {KindLzh, "sfx/lzh_big.exe", {kFixtureStamp, kFixtureStamp}},
        // An invalid stored stamp is given as it is stored, never turned into a valid date.
        {KindLzh, "lzh/badstamp.lzh", {month13, kFixtureStamp}},
        {KindZip, "zip/deflate.zip", {kFixtureStamp, kFixtureStamp}},
        {KindZip, "zip/badstamp.zip", {month13, kFixtureStamp}},
        {KindZip, "sfx/zip_small.exe", {kFixtureStamp, kFixtureStamp}},
        {KindCab, "cab/mszip.cab", {kFixtureStamp, kFixtureStamp}},
        {KindRar, "rar/rar4_stored.rar", {kFixtureStamp, kFixtureStamp}},
        {KindRar, "rar/rar4_badstamp.rar", {month13, kFixtureStamp}},
        {KindRar, "rar/rar5_stored.rar", {unixStamp, unixStamp}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.fixture);
        const auto stamps = List(Engine(c.kind), kFixtures / c.fixture);
        ASSERT_EQ(stamps.size(), c.stamps.size());
        for (std::size_t i = 0; i < stamps.size(); ++i) {
            EXPECT_EQ(stamps[i].Key(), c.stamps[i].Key()) << std::hex << stamps[i].Key();
        }
    }
}

TEST_F(EnginesTest, ListingOfNothingEndsAtOnce) {
    const fs::path text = Put("a.lzh", "no archive");
    for (const int kind : {KindLzh, KindZip, KindCab, KindRar}) {
        SCOPED_TRACE(KindName(kind));
        const ArchiverBinding b = Engine(kind);
        EXPECT_EQ(b.openArchive(nullptr, text.c_str(), 1), nullptr);
        EXPECT_EQ(b.findFirst(nullptr, "*.*", nullptr), -1);
        EXPECT_EQ(b.findNext(nullptr, nullptr), -1);
        b.closeArchive(nullptr);
    }
}

// ---- threads ----

// A ZIP archive of stored members, written here: big enough for its members to be tested on
// two threads.
std::string StoredZip(const std::vector<std::string>& members) {
    std::string local, central;
    const auto le = [](std::string& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string name = "m" + std::to_string(i);
        const std::string& data = members[i];
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<std::uint32_t>(local.size());
        const auto size = static_cast<std::uint32_t>(data.size());
        le(local, 0x04034B50, 4);
        for (const std::uint32_t v : {10u, 0u, 0u, 0u, 0x5264u})
            le(local, v, 2);
        for (const std::uint32_t v : {crc, size, size})
            le(local, v, 4);
        le(local, static_cast<std::uint32_t>(name.size()), 2);
        le(local, 0, 2);
        local += name + data;
        le(central, 0x02014B50, 4);
        for (const std::uint32_t v : {20u, 10u, 0u, 0u, 0u, 0x5264u})
            le(central, v, 2);
        for (const std::uint32_t v : {crc, size, size})
            le(central, v, 4);
        for (const std::uint32_t v : {static_cast<std::uint32_t>(name.size()), 0u, 0u, 0u, 0u}) {
            le(central, v, 2);
        }
        le(central, 0, 4);
        le(central, offset, 4);
        central += name;
    }
    std::string end;
    le(end, 0x06054B50, 4);
    for (const std::uint32_t v : {0u, 0u})
        le(end, v, 2);
    for (int i = 0; i < 2; ++i)
        le(end, static_cast<std::uint32_t>(members.size()), 2);
    le(end, static_cast<std::uint32_t>(central.size()), 4);
    le(end, static_cast<std::uint32_t>(local.size()), 4);
    le(end, 0, 2);
    return local + central + end;
}

TEST_F(EnginesTest, ABigArchiveTestedOnTwoThreadsReportsItsFirstFailure) {
    std::vector<std::string> members;
    for (int m = 0; m < 4; ++m) {
        std::string data(2 << 20, '\0');
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * (m + 3) % 253);
        members.push_back(std::move(data));
    }
    const std::string good = StoredZip(members);
    const std::size_t member = (2u << 20) + 32;  // one member's local header and data
    const ArchiverBinding b = Engine(KindZip);
    EXPECT_EQ(TestCommand(b, Put("good.zip", good)), 0);

    std::string later = good;
    later[3 * member - 100] ^= 1;  // data of member 2 (tested by the second thread)
    EXPECT_EQ(TestCommand(b, Put("later.zip", later)), kErrorChecksum);
    EXPECT_EQ(b.checkArchive((root_ / "later.zip").c_str(), 2), 0);

    // Member 1's data (second thread) and member 2's header (first thread, which reaches it
    // sooner): the failure reported is member 1's.
    std::string both = good;
    both[member + 1000] ^= 1;
    both[2 * member + 1] ^= 1;
    EXPECT_EQ(TestCommand(b, Put("both.zip", both)), kErrorChecksum);
    EXPECT_EQ(TestCommand(b, Put("header.zip", std::string(good).replace(2 * member + 1, 1, "x"))),
              kErrorHeader);
}

TEST_F(EnginesTest, ArchivesAreTestedOnSeveralThreadsAtOnce) {
    std::vector<int> results(8, -1);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&results, i] {
            const bool lzh = i % 2 == 0;
            const ArchiverBinding b = Engine(lzh ? KindLzh : KindZip);
            const fs::path p = kFixtures / (lzh ? "lzh/sjis.lzh" : "zip/deflate.zip");
            int sum = 0;
            for (int n = 0; n < 20; ++n)
                sum += b.checkArchive(p.c_str(), 2);
            results[i] = sum;
        });
    }
    for (auto& t : threads)
        t.join();
    for (const int r : results)
        EXPECT_EQ(r, 20);
}

}  // namespace
}  // namespace pyx
