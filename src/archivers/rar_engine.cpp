#include "archivers/rar_engine.h"

#include <archive.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "archivers/archiver_errors.h"
#include "archivers/libarchive_engine.h"

namespace pyx {
namespace {

constexpr char kSignature4[] = "Rar!\x1a\x07\x00";      // 7 bytes
constexpr char kSignature5[] = "Rar!\x1a\x07\x01\x00";  // 8 bytes
constexpr std::size_t kSignature4Size = 7;
constexpr std::size_t kSignature5Size = 8;

// RAR 4 blocks: CRC16, type, flags, header size; then the type's fields.
constexpr int kMain4 = 0x73;
constexpr unsigned kHeadersEncrypted4 = 0x0080;  // in the main header
constexpr int kFile4 = 0x74;
constexpr int kEnd4 = 0x7B;
constexpr unsigned kLongBlock4 = 0x8000;  // a data size follows the header
constexpr unsigned kSplit4 = 0x0003;      // continued from / in the previous or next volume
constexpr unsigned kEncrypted4 = 0x0004;
constexpr unsigned kLargeFile4 = 0x0100;  // 64-bit sizes
constexpr unsigned kDirectory4 = 0x00E0;
constexpr std::size_t kFileCrc4 = 16;
constexpr std::size_t kStamp4 = 20;  // MS-DOS time, then date
constexpr std::size_t kVersion4 = 24;
constexpr std::size_t kMethod4 = 25;
constexpr std::size_t kHighPackSize4 = 32;
constexpr int kStored4 = 0x30;
constexpr int kFirstVersion29 = 29;  // older members need the RAR 1.5 / 2.x decoder

// RAR 5 blocks: CRC32, header size, type, flags, [extra size], [data size], type's fields.
constexpr int kFile5 = 2;
constexpr int kEnd5 = 5;
constexpr std::uint64_t kHasExtra5 = 0x01;
constexpr std::uint64_t kHasData5 = 0x02;
constexpr std::uint64_t kSplit5 = 0x18;
constexpr std::uint64_t kDirectory5 = 0x01;
constexpr std::uint64_t kHasTime5 = 0x02;
constexpr std::uint64_t kHasCrc5 = 0x04;

constexpr std::uint64_t kLongestHeader5 = 2 * 1024 * 1024;  // the format's limit

void AddFormats(archive* a) {
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
}

int Variant(std::span<const std::byte> p) {
    if (p.size() >= kSignature5Size && std::memcmp(p.data(), kSignature5, kSignature5Size) == 0) {
        return 5;
    }
    if (p.size() >= kSignature4Size && std::memcmp(p.data(), kSignature4, kSignature4Size) == 0) {
        return 4;
    }
    return 0;
}

bool IsSignature(std::span<const std::byte> p) {
    return Variant(p) != 0;
}

// libarchive misses stubs under 64 KiB and stubs off a 16-byte boundary.
std::optional<std::uint64_t> FindStart(int fd, std::uint64_t fileSize) {
    return SearchArchiveStart(fd, fileSize, kSignature5Size, &IsSignature);
}

struct Cursor {
    std::span<const std::byte> p;
    std::size_t at = 0;
    bool ok = true;

    std::uint64_t Vint() {
        std::uint64_t v = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            if (at >= p.size())
                break;
            const auto b = std::to_integer<std::uint64_t>(p[at++]);
            v |= (b & 0x7F) << shift;
            if (!(b & 0x80))
                return v;
        }
        ok = false;
        return 0;
    }
    std::uint32_t U32() {
        if (p.size() - std::min(at, p.size()) < 4) {
            ok = false;
            return 0;
        }
        at += 4;
        return Le32(&p[at - 4]);
    }
};

// One block of either variant, as far as the engine needs it.
struct Block {
    int type = 0;
    std::uint64_t end = 0;  // where the next block begins
    bool file = false;
    bool last = false;  // the end-of-archive block
    MemberFacts facts;
};

enum class BlockRead { Ok, Missing, Unknown };

// Reads `size` header bytes at `pos` into `h` and compares their CRC-32 (RAR 4 keeps its low
// 16 bits) with `expected`; a header that fails is left for libarchive to judge.
BlockRead ReadHeader(const ArchiveInput& in, std::uint64_t pos, std::uint64_t size,
                     std::uint32_t expected, std::uint32_t mask, std::vector<std::byte>& h) {
    if (size > in.size - pos)
        return BlockRead::Missing;
    h.resize(static_cast<std::size_t>(size));
    if (!in.ReadAt(pos, h))
        return BlockRead::Unknown;
    const auto crc = static_cast<std::uint32_t>(
        crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(h.data()), h.size()));
    return (crc & mask) == expected ? BlockRead::Ok : BlockRead::Unknown;
}

BlockRead ReadBlock4(const ArchiveInput& in, std::uint64_t pos, Block* b) {
    std::array<std::byte, 7> fixed{};
    if (in.size - pos < fixed.size())
        return BlockRead::Missing;
    if (!in.ReadAt(pos, fixed))
        return BlockRead::Unknown;
    const std::uint64_t headerSize = Le16(&fixed[5]);
    if (headerSize < fixed.size())
        return BlockRead::Unknown;
    std::vector<std::byte> h;
    const BlockRead read = ReadHeader(in, pos + 2, headerSize - 2, Le16(fixed.data()), 0xFFFF, h);
    if (read != BlockRead::Ok)
        return read;
    // h begins at the type byte: offsets below are those of the block minus 2.
    const auto at = [&](std::size_t offset) { return &h[offset - 2]; };
    b->type = std::to_integer<int>(*at(2));
    const unsigned flags = Le16(at(3));
    std::uint64_t dataSize = 0;
    if (flags & kLongBlock4) {
        if (headerSize < 11)
            return BlockRead::Unknown;
        dataSize = Le32(at(7));
    }
    // Encrypted headers follow: the walk cannot go on.
    if (b->type == kMain4 && (flags & kHeadersEncrypted4))
        return BlockRead::Unknown;
    b->file = b->type == kFile4;
    b->last = b->type == kEnd4;
    if (b->file) {
        if (headerSize < kHighPackSize4 + ((flags & kLargeFile4) ? 4 : 0))
            return BlockRead::Unknown;
        if (flags & kLargeFile4)
            dataSize |= static_cast<std::uint64_t>(Le32(at(kHighPackSize4))) << 32;
        b->facts.stamp = DosStamp{Le16(at(kStamp4 + 2)), Le16(at(kStamp4))};
        const bool plain =
            (flags & kDirectory4) != kDirectory4 && !(flags & (kSplit4 | kEncrypted4));
        const int method = std::to_integer<int>(*at(kMethod4));
        if (plain && method == kStored4)
            b->facts.crc32 = Le32(at(kFileCrc4));
        b->facts.undecodable =
            plain && method != kStored4 && std::to_integer<int>(*at(kVersion4)) < kFirstVersion29;
    }
    b->end = pos + headerSize + dataSize;
    return BlockRead::Ok;
}

BlockRead ReadBlock5(const ArchiveInput& in, std::uint64_t pos, Block* b) {
    std::array<std::byte, 7> fixed{};  // CRC-32 and the header size (at most 3 bytes)
    const auto have =
        static_cast<std::size_t>(std::min<std::uint64_t>(fixed.size(), in.size - pos));
    if (have < 6)
        return BlockRead::Missing;
    if (!in.ReadAt(pos, std::span(fixed).first(have)))
        return BlockRead::Unknown;
    Cursor size{std::span<const std::byte>(fixed).first(have), 4};
    const std::uint64_t headerSize = size.Vint();
    if (!size.ok || headerSize == 0 || headerSize > kLongestHeader5)
        return BlockRead::Unknown;
    std::vector<std::byte> h;
    const BlockRead read =
        ReadHeader(in, pos + 4, size.at - 4 + headerSize, Le32(fixed.data()), 0xFFFFFFFF, h);
    if (read != BlockRead::Ok)
        return read;
    Cursor c{h, size.at - 4};
    b->type = static_cast<int>(c.Vint());
    const std::uint64_t flags = c.Vint();
    if (flags & kHasExtra5)
        c.Vint();
    const std::uint64_t dataSize = flags & kHasData5 ? c.Vint() : 0;
    if (!c.ok || dataSize > UINT64_MAX / 2)
        return BlockRead::Unknown;
    b->file = b->type == kFile5;
    b->last = b->type == kEnd5;
    if (b->file) {
        const std::uint64_t fileFlags = c.Vint();
        c.Vint();  // unpacked size
        c.Vint();  // attributes
        if (fileFlags & kHasTime5)
            c.U32();
        const std::uint32_t crc = fileFlags & kHasCrc5 ? c.U32() : 0;
        const std::uint64_t compression = c.Vint();
        const bool stored = (compression >> 7 & 7) == 0;
        if (c.ok && stored && (fileFlags & kHasCrc5) && !(fileFlags & kDirectory5) &&
            !(flags & kSplit5)) {
            b->facts.crc32 = crc;
        }
    }
    b->end = pos + 4 + h.size() + dataSize;
    return BlockRead::Ok;
}

BlockRead ReadBlock(const ArchiveInput& in, int variant, std::uint64_t pos, Block* b) {
    return variant == 5 ? ReadBlock5(in, pos, b) : ReadBlock4(in, pos, b);
}

int InputVariant(const ArchiveInput& in) {
    std::array<std::byte, kSignature5Size> s{};
    const auto have = static_cast<std::size_t>(std::min<std::uint64_t>(s.size(), in.size));
    return in.ReadAt(0, std::span(s).first(have)) ? Variant(std::span(s).first(have)) : 0;
}

// Walks every block: each must lie inside the file, and a RAR 5 archive must end with its
// end-of-archive block (libarchive reads a RAR 5 archive cut at a block boundary as sound).
// Old RAR 4 archives may lack the end block.
int CheckLayout(const ArchiveInput& in) {
    const int variant = InputVariant(in);
    if (variant == 0)
        return 0;
    std::uint64_t pos = variant == 5 ? kSignature5Size : kSignature4Size;
    while (pos < in.size) {
        Block b;
        const BlockRead r = ReadBlock(in, variant, pos, &b);
        if (r == BlockRead::Missing)
            return kErrorMissingData;
        if (r == BlockRead::Unknown)
            return 0;
        if (b.end > in.size)
            return kErrorMissingData;
        if (b.last)
            return 0;
        pos = b.end;
    }
    return variant == 5 ? kErrorMissingData : 0;
}

// The file blocks in archive order, as libarchive lists them. RAR 4 stores an MS-DOS stamp
// (taken as stored), RAR 5 a Unix time (which libarchive keeps exactly).
MemberFacts Facts(MemberWalk& walk, const ArchiveInput& in, archive*, archive_entry* entry) {
    if (!walk.started) {
        walk.started = true;
        walk.variant = InputVariant(in);
        walk.next = walk.variant == 5 ? kSignature5Size : kSignature4Size;
        walk.remaining = walk.variant != 0;
    }
    while (walk.remaining && walk.next < in.size) {
        Block b;
        if (ReadBlock(in, walk.variant, walk.next, &b) != BlockRead::Ok || b.last ||
            b.end <= walk.next) {
            break;
        }
        walk.next = b.end;
        if (b.file) {
            if (walk.variant == 5)
                b.facts.stamp = StampFromEntry(entry);
            return b.facts;
        }
    }
    walk.remaining = 0;
    return MemberFacts{};
}

constexpr FaultRule kFaults[] = {
    {FaultStage::Open, nullptr, kErrorNotArchive},
    {FaultStage::Header, "Pathname cannot be converted", 0},
    {FaultStage::Header, "Header CRC error", kErrorHeaderChecksum},
    {FaultStage::Header, "RAR encryption support unavailable", kErrorPassword},  // headers too
    {FaultStage::Header, nullptr, kErrorHeader},
    {FaultStage::Skip, nullptr, kErrorHeader},
    {FaultStage::Data, "Invalid location to Huffman", kErrorHuffman},
    {FaultStage::Data, nullptr, kErrorChecksum},
};

constexpr LibarchiveKind kRar{
    "rar", &AddFormats, "rar:hdrcharset=CP932", &FindStart, &CheckLayout, &Facts, kFaults,
};

}  // namespace

ArchiverBinding RarEngineBinding() {
    return MakeLibarchiveBinding<kRar>();
}

}  // namespace pyx
