#include "archivers/lzh_engine.h"

#include <archive.h>

#include <algorithm>
#include <array>

#include "archivers/archiver_errors.h"
#include "archivers/libarchive_engine.h"

namespace pyx {
namespace {

// Header offsets shared by levels 0 to 2.
constexpr std::size_t kMethod = 2;  // "-lh5-"
constexpr std::size_t kStamp = 15;  // levels 0 and 1: MS-DOS time, then date
constexpr std::size_t kLevel = 20;
constexpr std::size_t kFixedHeader = 22;
constexpr std::size_t kLookahead = 260;  // a level 0 or 1 header is at most 257 bytes

void AddFormats(archive* a) {
    archive_read_support_format_lha(a);
}

bool IsHeader(std::span<const std::byte> p) {
    if (p.size() < kFixedHeader)
        return false;
    const auto c = [&](std::size_t i) { return std::to_integer<char>(p[i]); };
    if (c(kMethod) != '-' || c(kMethod + 1) != 'l' ||
        (c(kMethod + 2) != 'h' && c(kMethod + 2) != 'z') || c(kMethod + 4) != '-') {
        return false;
    }
    switch (std::to_integer<int>(p[kLevel])) {
        case 0:
        case 1: {
            // One byte of header size, one of checksum over the header.
            const auto size = std::to_integer<std::size_t>(p[0]);
            if (size < kFixedHeader - 2 || p.size() < size + 2)
                return false;
            unsigned sum = 0;
            for (std::size_t i = 2; i < size + 2; ++i)
                sum += std::to_integer<unsigned>(p[i]);
            return (sum & 0xFF) == std::to_integer<unsigned>(p[1]);
        }
        case 2:
            return Le16(p.data()) >= 26;
        default:
            return false;
    }
}

// libarchive looks for an archive behind an executable stub only within about 64 KiB.
std::optional<std::uint64_t> FindStart(int fd, std::uint64_t fileSize) {
    return SearchArchiveStart(fd, fileSize, kLookahead, &IsHeader);
}

// Levels 0 and 1 store an MS-DOS stamp, which libarchive would turn into a valid date even when
// it is not one; level 2 stores a Unix time, which libarchive keeps exactly.
MemberFacts Facts(MemberWalk&, const ArchiveInput& in, archive* a, archive_entry* entry) {
    MemberFacts facts;
    std::array<std::byte, kFixedHeader> h{};
    const la_int64_t at = archive_read_header_position(a);
    if (at < 0 || !in.ReadAt(static_cast<std::uint64_t>(at), h))
        return facts;
    const int level = std::to_integer<int>(h[kLevel]);
    if (level <= 1) {
        facts.stamp = DosStamp{Le16(&h[kStamp + 2]), Le16(&h[kStamp])};
    } else {
        facts.stamp = StampFromEntry(entry);
    }
    return facts;
}

// Walks the headers: each header and the packed data it declares must lie inside the file.
// A header this walk does not recognise ends it; libarchive judges that one.
int CheckLayout(const ArchiveInput& in) {
    std::uint64_t pos = 0;
    while (pos < in.size) {
        std::array<std::byte, kLookahead> h{};
        const auto have =
            static_cast<std::size_t>(std::min<std::uint64_t>(in.size - pos, h.size()));
        if (!in.ReadAt(pos, std::span(h).first(have)) || h[0] == std::byte{0})
            return 0;  // end
        if (have < kFixedHeader)
            return kErrorMissingData;
        std::uint64_t headerSize = 0;
        switch (std::to_integer<int>(h[kLevel])) {
            case 0:
            case 1:
                headerSize = std::to_integer<std::uint64_t>(h[0]) + 2;
                break;
            case 2:
                headerSize = Le16(h.data());
                break;
            default:
                return 0;
        }
        if (headerSize > in.size - pos)
            return kErrorMissingData;
        if (!IsHeader(std::span(h).first(have)))
            return 0;
        const std::uint64_t packed = Le32(&h[7]);
        if (packed > in.size - pos - headerSize)
            return kErrorMissingData;
        pos += headerSize + packed;
    }
    return 0;
}

constexpr FaultRule kFaults[] = {
    {FaultStage::Open, nullptr, kErrorNotArchive},
    {FaultStage::Header, "Pathname cannot be converted", 0},
    {FaultStage::Header, "LHa header CRC error", kErrorHeaderChecksum},
    {FaultStage::Header, "LHa header sum error", kErrorHeaderChecksum},
    {FaultStage::Header, nullptr, kErrorHeader},
    {FaultStage::Skip, nullptr, kErrorHeader},
    {FaultStage::Data, "Unsupported lzh compression method", kErrorMethod},
    {FaultStage::Data, "LHa data CRC error", kErrorChecksum},
    {FaultStage::Data, "Bad lzh data", kErrorHuffman},
    {FaultStage::Data, nullptr, kErrorChecksum},
};

constexpr LibarchiveKind kLzh{
    "lzh", &AddFormats, "lha:hdrcharset=CP932", &FindStart, &CheckLayout, &Facts, kFaults, true,
};

}  // namespace

ArchiverBinding LzhEngineBinding() {
    return MakeLibarchiveBinding<kLzh>();
}

}  // namespace pyx
