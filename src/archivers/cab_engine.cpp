#include "archivers/cab_engine.h"

#include <archive.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "archivers/archiver_errors.h"
#include "archivers/libarchive_engine.h"

namespace pyx {
namespace {

// CFHEADER offsets.
constexpr std::size_t kCabinetSize = 8;
constexpr std::size_t kFirstFile = 16;
constexpr std::size_t kVersion = 24;  // minor 3, major 1
constexpr std::size_t kFileCount = 28;
constexpr std::size_t kHeaderSize = 36;
// CFFILE: 16 fixed bytes, then the name ending in a zero byte.
constexpr std::size_t kFileDate = 10;
constexpr std::size_t kFileTime = 12;
constexpr std::size_t kFileFixed = 16;
constexpr std::size_t kLongestName = 256;

void AddFormats(archive* a) {
    archive_read_support_format_cab(a);
}

bool IsHeader(std::span<const std::byte> p) {
    if (p.size() < kHeaderSize || std::memcmp(p.data(), "MSCF\0\0\0\0", 8) != 0)
        return false;
    const std::uint32_t size = Le32(&p[kCabinetSize]);
    return p[kVersion] == std::byte{3} && p[kVersion + 1] == std::byte{1} && size >= kHeaderSize &&
           Le32(&p[kFirstFile]) < size;
}

std::optional<std::uint64_t> FindStart(int fd, std::uint64_t fileSize) {
    return SearchArchiveStart(fd, fileSize, kHeaderSize, &IsHeader);
}

// The header declares the cabinet's whole size; libarchive reads a cut cabinet's headers
// without noticing that its data is gone.
int CheckLayout(const ArchiveInput& in) {
    std::array<std::byte, kHeaderSize> h{};
    if (!in.ReadAt(0, h) || !IsHeader(h))
        return 0;
    return Le32(&h[kCabinetSize]) > in.size ? kErrorMissingData : 0;
}

// The stamps come straight from the CFFILE entries, which libarchive lists in the same order.
MemberFacts Facts(MemberWalk& walk, const ArchiveInput& in, archive*, archive_entry*) {
    if (!walk.started) {
        walk.started = true;
        std::array<std::byte, kHeaderSize> h{};
        if (in.ReadAt(0, h)) {
            walk.next = Le32(&h[kFirstFile]);
            walk.remaining = Le16(&h[kFileCount]);
        }
    }
    MemberFacts facts;
    std::array<std::byte, kFileFixed + kLongestName> f{};
    const auto have = static_cast<std::size_t>(
        std::min<std::uint64_t>(f.size(), in.size - std::min(walk.next, in.size)));
    if (walk.remaining == 0 || have < kFileFixed ||
        !in.ReadAt(walk.next, std::span(f).first(have))) {
        walk.remaining = 0;
        return facts;
    }
    facts.stamp = DosStamp{Le16(&f[kFileDate]), Le16(&f[kFileTime])};
    const auto end = std::find(f.begin() + kFileFixed,
                               f.begin() + static_cast<std::ptrdiff_t>(have), std::byte{0});
    walk.next += static_cast<std::uint64_t>(end - f.begin()) + 1;
    --walk.remaining;
    return facts;
}

constexpr FaultRule kFaults[] = {
    {FaultStage::Open, nullptr, kErrorNotArchive},
    {FaultStage::Header, "Pathname cannot be converted", 0},
    {FaultStage::Header, nullptr, kErrorHeader},
    {FaultStage::Skip, nullptr, kErrorHeader},
    {FaultStage::Data, "Checksum error", kErrorChecksum},
    {FaultStage::Data, "Invalid CFDATA", kErrorHeader},
    {FaultStage::Data, "Truncated CAB header", kErrorHeader},
    {FaultStage::Data, "Unsupported CAB compression", kErrorMethod},
    {FaultStage::Data, nullptr, kErrorChecksum},
};

constexpr LibarchiveKind kCab{
    "cab", &AddFormats, "cab:hdrcharset=CP932", &FindStart, &CheckLayout, &Facts, kFaults,
};

}  // namespace

ArchiverBinding CabEngineBinding() {
    return MakeLibarchiveBinding<kCab>();
}

}  // namespace pyx
