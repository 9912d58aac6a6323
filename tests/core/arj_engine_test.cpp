// The ARJ engine on the fixtures of tests/fixtures/arj (made by make-arj-fixtures.sh) and on
// damaged copies of them made here.
#include "archivers/arj_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "archivers/archiver_errors.h"
#include "archivers/crc32.h"
#include "archivers/dos_time.h"

namespace fs = std::filesystem;

namespace pyx {
namespace {

using Bytes = std::vector<std::uint8_t>;

const fs::path kFixtures = fs::path(PYX_FIXTURES_DIR) / "arj";
const char* const kSourceFiles[] = {"src/text.txt", "src/random.bin", "src/empty.txt",
                                    "src/sub/inner.txt"};
// Every file of src/ was stamped 2021-03-04 05:06:08 UTC.
constexpr std::time_t kSourceTime = 1614834368;

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t Le(const Bytes& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
}

// Where the headers of a good archive lie, found by walking it here, independently of the engine.
struct HeaderPlace {
    std::size_t header;  // offset of the 0x60 0xEA id
    std::size_t data;    // first byte after the extended headers
    std::string name;
};

std::vector<HeaderPlace> WalkHeaders(const Bytes& b) {
    std::vector<HeaderPlace> places;
    std::size_t off = 0;
    while (off + 4 <= b.size() && b[off] == 0x60 && b[off + 1] == 0xEA) {
        const std::size_t size = Le(b, off + 2, 2);
        if (size == 0)
            break;
        std::size_t pos = off + 4 + size + 4;
        while (const std::size_t ext = Le(b, pos, 2))
            pos += 2 + ext + 4;
        pos += 2;
        const char* name = reinterpret_cast<const char*>(&b[off + 4 + b[off + 4]]);
        places.push_back({off, pos, name});
        off = places.size() == 1 ? pos : pos + Le(b, off + 4 + 12, 4);
    }
    return places;
}

HeaderPlace Member(const Bytes& b, const std::string& name) {
    for (const auto& p : WalkHeaders(b)) {
        if (p.name == name)
            return p;
    }
    ADD_FAILURE() << "no member " << name;
    return {};
}

// Recomputes the basic header CRC of the header at offset, after a patch.
void FixHeaderCrc(Bytes& b, std::size_t header) {
    const std::size_t size = Le(b, header + 2, 2);
    PutLe(b, header + 4 + size, Crc32(0, &b[header + 4], size), 4);
}

class ArjEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyx-arj-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        ASSERT_TRUE(IsComplete(arj_));
    }
    void TearDown() override { fs::remove_all(root_); }

    int Command(const std::string& line) {
        char out[1] = {'?'};
        return arj_.command(nullptr, line.c_str(), out, 0);
    }
    int Test(const fs::path& archive) { return Command(" t \"" + archive.string() + "\""); }
    int Extract(const fs::path& archive, const fs::path& dest) {
        return Command(" x \"" + archive.string() + "\" \"" + dest.string() + "/\"");
    }
    // checkArchive at depths 0, 1, 2.
    std::vector<int> Depths(const fs::path& archive) {
        std::vector<int> answers;
        for (int mode = 0; mode <= 2; ++mode)
            answers.push_back(arj_.checkArchive(archive.c_str(), mode));
        return answers;
    }
    fs::path Write(const std::string& name, const Bytes& bytes) {
        WriteBytes(root_ / name, bytes);
        return root_ / name;
    }

    ArchiverBinding arj_ = ArjEngineBinding();
    fs::path root_;
};

TEST_F(ArjEngineTest, BindingIsCompleteWithAVersion) {
    EXPECT_GE(arj_.getVersion(), 100);
    EXPECT_NE(arj_.module, nullptr);
}

TEST_F(ArjEngineTest, GoodArchivesPassAtEveryDepth) {
    for (const char* name :
         {"m0.arj", "m1.arj", "m2.arj", "m3.arj", "m4.arj", "sjis.arj", "sfx.exe", "sfx-odd.exe"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Depths(kFixtures / name), (std::vector<int>{1, 1, 1}));
        EXPECT_EQ(Test(kFixtures / name), 0);
    }
}

TEST_F(ArjEngineTest, GarbledMemberPassesHeadersButCannotBeVerified) {
    EXPECT_EQ(Depths(kFixtures / "garbled.arj"), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(Test(kFixtures / "garbled.arj"), kErrorPassword);
    EXPECT_EQ(Extract(kFixtures / "garbled.arj", root_), kErrorPassword);
    EXPECT_FALSE(fs::exists(root_ / "src" / "text.txt"));
}

TEST_F(ArjEngineTest, EachDamageIsCaughtAtTheDepthThatSeesIt) {
    struct Case {
        const char* what;
        const char* fixture;
        std::function<void(Bytes&)> damage;
        std::vector<int> depths;
        int code;
    };
    const auto flipData = [](const char* member, std::size_t at) {
        return [=](Bytes& b) { b.at(Member(b, member).data + at) ^= 0x55; };
    };
    // Near the end of the member's data, past its code tables.
    const auto flipLate = [](const char* member, std::size_t fromEnd) {
        return [=](Bytes& b) {
            const auto m = Member(b, member);
            b.at(m.data + Le(b, m.header + 4 + 12, 4) - fromEnd) ^= 0x55;
        };
    };
    const auto patchHeader = [](const char* member, std::size_t field, std::uint8_t value) {
        return [=](Bytes& b) {
            const auto h = Member(b, member).header;
            b.at(h + 4 + field) = value;
            FixHeaderCrc(b, h);
        };
    };
    const Case cases[] = {
        {"stored byte flipped", "m0.arj", flipData("src/text.txt", 100), {1, 1, 0}, kErrorChecksum},
        {"method 1 byte flipped",
         "m1.arj",
         flipLate("src/text.txt", 20),
         {1, 1, 0},
         kErrorChecksum},
        {"method 4 byte flipped",
         "m4.arj",
         flipLate("src/random.bin", 20),
         {1, 1, 0},
         kErrorChecksum},
        {"impossible code table",
         "m1.arj",
         [](Bytes& b) {
             const auto d = Member(b, "src/text.txt").data;
             for (std::size_t i = 2; i < 6; ++i)
                 b.at(d + i) = 0xFF;
         },
         {1, 1, 0},
         kErrorHuffman},
        {"unknown method", "m1.arj", patchHeader("src/text.txt", 5, 7), {1, 1, 0}, kErrorMethod},
        {"stored sizes differ",
         "m0.arj",
         [](Bytes& b) {
             const auto h = Member(b, "src/text.txt").header;
             PutLe(b, h + 4 + 16, 5, 4);
             FixHeaderCrc(b, h);
         },
         {1, 0, 0},
         kErrorHeader},
        {"first header size too small",
         "m1.arj",
         patchHeader("src/text.txt", 0, 20),
         {1, 0, 0},
         kErrorHeader},
        {"local header byte flipped",
         "m1.arj",
         [](Bytes& b) { b.at(Member(b, "src/text.txt").header + 20) ^= 1; },
         {1, 0, 0},
         kErrorHeaderChecksum},
        {"main header byte flipped",
         "m1.arj",
         [](Bytes& b) { b.at(12) ^= 1; },
         {0, 0, 0},
         kErrorHeaderChecksum},
        {"local header id lost",
         "m1.arj",
         [](Bytes& b) { b.at(Member(b, "src/text.txt").header) = 0; },
         {1, 0, 0},
         kErrorHeader},
        {"tail cut",
         "m1.arj",
         [](Bytes& b) { b.resize(b.size() - 100); },
         {1, 0, 0},
         kErrorMissingData},
        {"end marker cut",
         "m4.arj",
         [](Bytes& b) { b.resize(b.size() - 4); },
         {1, 0, 0},
         kErrorMissingData},
        {"cut inside the main header",
         "m1.arj",
         [](Bytes& b) { b.resize(20); },
         {0, 0, 0},
         kErrorMissingData},
        {"empty file", "m1.arj", [](Bytes& b) { b.clear(); }, {0, 0, 0}, kErrorNotArchive},
        {"garbage",
         "m1.arj",
         [](Bytes& b) {
             for (std::size_t i = 0; i < b.size(); ++i)
                 b[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
         },
         {0, 0, 0},
         kErrorNotArchive},
        {"a text file named .arj", "src/text.txt", [](Bytes&) {}, {0, 0, 0}, kErrorNotArchive},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = ReadBytes(kFixtures / c.fixture);
        c.damage(b);
        const fs::path path = Write("damaged.arj", b);
        EXPECT_EQ(Depths(path), c.depths);
        EXPECT_EQ(Test(path), c.code);
    }
}

TEST_F(ArjEngineTest, MissingFileAndBadCommandLines) {
    EXPECT_EQ(Test(root_ / "none.arj"), kErrorCannotOpen);
    EXPECT_EQ(Depths(root_ / "none.arj"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(arj_.checkArchive(nullptr, 2), 0);
    for (const char* line : {"", " q \"a.arj\"", " t a.arj", " t \"a.arj\" \"dest/\""}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Command(line), kErrorCommand);
    }
    EXPECT_EQ(arj_.command(nullptr, nullptr, nullptr, 0), kErrorCommand);
}

TEST_F(ArjEngineTest, ArchiveIsFoundOnlyWithinTheStubSearchLimit) {
    const Bytes arc = ReadBytes(kFixtures / "m1.arj");
    for (const auto& [stub, found] : {std::pair{900'000u, 1}, std::pair{1'100'000u, 0}}) {
        SCOPED_TRACE(stub);
        Bytes b(stub, 0x90);
        b[0] = 'M';
        b[1] = 'Z';
        b.insert(b.end(), arc.begin(), arc.end());
        const fs::path path = Write("big.exe", b);
        EXPECT_EQ(arj_.checkArchive(path.c_str(), 0), found);
        EXPECT_EQ(Test(path), found ? 0 : kErrorNotArchive);
    }
}

TEST_F(ArjEngineTest, ExtractionGivesTheSourceFilesWithTheirTimes) {
    for (const char* name : {"m0.arj", "m1.arj", "m2.arj", "m3.arj", "m4.arj", "sfx-odd.exe"}) {
        SCOPED_TRACE(name);
        const fs::path dest = root_ / name;
        fs::create_directories(dest);
        ASSERT_EQ(Extract(kFixtures / name, dest), 0);
        for (const char* file : kSourceFiles) {
            SCOPED_TRACE(file);
            EXPECT_EQ(ReadBytes(dest / file), ReadBytes(kFixtures / file));
            struct stat st {};
            ASSERT_EQ(::stat((dest / file).c_str(), &st), 0);
            EXPECT_EQ(st.st_mtime, kSourceTime);
        }
        EXPECT_TRUE(fs::is_directory(dest / "src" / "sub"));
    }
}

TEST_F(ArjEngineTest, ExtractionWithoutDestinationUsesTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(root_);
    const int code = Command(" x \"" + (kFixtures / "m4.arj").string() + "\"");
    fs::current_path(before);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(root_ / "src/text.txt"), ReadBytes(kFixtures / "src/text.txt"));
}

TEST_F(ArjEngineTest, ShiftJisNamesBecomeUtf8AndStampsAreMsDos) {
    ASSERT_EQ(Extract(kFixtures / "sjis.arj", root_), 0);
    const fs::path sjis = root_ / "dir" / "\xE8\xA1\xA8\xE7\xA4\xBA.txt";  // 表示.txt
    EXPECT_EQ(ReadBytes(sjis), (Bytes{'s', 'h', 'i', 'f', 't', '-', 'j', 'i', 's', '\n'}));
    EXPECT_TRUE(fs::exists(root_ / "x%FFy.txt"));  // no CP932: the byte is kept as its hex value
    struct stat st {};
    ASSERT_EQ(::stat(sjis.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, *TimeFromDosStamp(DosStamp{0x5264, 0x28C4}));
}

TEST_F(ArjEngineTest, ExtractionRefusesANameThatLeavesTheDestination) {
    Bytes b = ReadBytes(kFixtures / "m0.arj");
    const auto h = Member(b, "src/text.txt").header;
    const std::size_t name = h + 4 + b[h + 4];
    const std::string evil = "../.text.txt";  // as long as "src/text.txt"
    std::copy(evil.begin(), evil.end(), b.begin() + static_cast<std::ptrdiff_t>(name));
    FixHeaderCrc(b, h);
    const fs::path dest = root_ / "dest";
    fs::create_directories(dest);
    EXPECT_EQ(Extract(Write("evil.arj", b), dest), kErrorAccessDenied);
    EXPECT_FALSE(fs::exists(root_ / ".text.txt"));
    EXPECT_EQ(ReadBytes(dest / "src/random.bin"), ReadBytes(kFixtures / "src/random.bin"));
}

// The members' stamps in the order of the archive, as getDate << 16 | getTime.
std::vector<std::uint32_t> ListStamps(const ArchiverBinding& arj, const fs::path& path) {
    std::vector<std::uint32_t> stamps;
    ArchiveHandle h = arj.openArchive(nullptr, path.c_str(), 1);
    for (int r = arj.findFirst(h, "*.*", nullptr); r != -1; r = arj.findNext(h, nullptr)) {
        stamps.push_back(static_cast<std::uint32_t>(arj.getDate(h)) << 16 | arj.getTime(h));
    }
    EXPECT_EQ(arj.findNext(h, nullptr), -1);
    arj.closeArchive(h);
    return stamps;
}

TEST_F(ArjEngineTest, ListingGivesTheStoredStampsInArchiveOrder) {
    // Unix-host members store seconds since 1970: the listing gives them as local MS-DOS time.
    const DosStamp local = *DosStampFromTime(kSourceTime);
    const std::vector<std::uint32_t> five(5, local.Key());  // 4 files and a folder
    EXPECT_EQ(ListStamps(arj_, kFixtures / "m1.arj"), five);
    EXPECT_EQ(ListStamps(arj_, kFixtures / "sfx.exe"), five);
    EXPECT_EQ(ListStamps(arj_, kFixtures / "sjis.arj"),
              (std::vector<std::uint32_t>{0x526428C4, 0x526428C4}));

    // An MS-DOS stamp that names no moment is given back as stored, never mended.
    Bytes b = ReadBytes(kFixtures / "sjis.arj");
    const auto h = WalkHeaders(b).at(1).header;
    PutLe(b, h + 4 + 8, 0x0000FFFF, 4);
    FixHeaderCrc(b, h);
    EXPECT_EQ(ListStamps(arj_, Write("stamp.arj", b)),
              (std::vector<std::uint32_t>{0x0000FFFF, 0x526428C4}));
}

TEST_F(ArjEngineTest, ListingOfNothingEndsAtOnce) {
    EXPECT_EQ(arj_.findFirst(nullptr, "*.*", nullptr), -1);
    EXPECT_EQ(arj_.findNext(nullptr, nullptr), -1);
    EXPECT_EQ(arj_.getDate(nullptr), 0);
    EXPECT_EQ(arj_.closeArchive(nullptr), 0);
    EXPECT_EQ(arj_.openArchive(nullptr, (kFixtures / "src/text.txt").c_str(), 1), nullptr);
    // A cut archive lists the members before the cut, then ends.
    Bytes b = ReadBytes(kFixtures / "m0.arj");
    b.resize(Member(b, "src/random.bin").data + 10);
    const auto stamps = ListStamps(arj_, Write("cut.arj", b));
    EXPECT_LT(stamps.size(), 5u);
}

// Every single flipped byte of these archives gives an answer, never a crash or a hang.
TEST_F(ArjEngineTest, EveryFlippedByteGivesAnAnswer) {
    for (const char* name : {"m1.arj", "m4.arj", "sjis.arj"}) {
        SCOPED_TRACE(name);
        const Bytes good = ReadBytes(kFixtures / name);
        const fs::path path = Write("flip.arj", good);
        // The byte is flipped in place: rewriting the file each time is slow on some disks.
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        const auto put = [&](std::size_t i, std::uint8_t value) {
            file.seekp(static_cast<std::streamoff>(i));
            file.put(static_cast<char>(value));
            file.flush();
        };
        int caught = 0;
        for (std::size_t i = 0; i < good.size(); ++i) {
            put(i, good[i] ^ 0xA5);
            const int code = Test(path);
            EXPECT_TRUE(code == 0 || (code >= kFirstArchiverError && code <= kLastArchiverError));
            caught += code != 0;
            if (code != 0) {
                EXPECT_EQ(arj_.checkArchive(path.c_str(), 2), 0) << i;
            }
            put(i, good[i]);
        }
        EXPECT_GT(caught, static_cast<int>(good.size()) * 9 / 10);
    }
}

}  // namespace
}  // namespace pyx
