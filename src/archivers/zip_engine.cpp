#include "archivers/zip_engine.h"

#include <archive.h>

#include <algorithm>
#include <array>
#include <vector>

#include "archivers/archiver_errors.h"
#include "archivers/libarchive_engine.h"

namespace pyx {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kCentralHeader = 0x02014B50;
constexpr std::uint32_t kEndRecord = 0x06054B50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::uint64_t kLongestComment = 0xFFFF;

// The seekable reader finds the central directory from the end of the file, so an executable
// stub in front is no obstacle, and a big program without an archive costs one read of its tail.
void AddFormats(archive* a) {
    archive_read_support_format_zip_seekable(a);
}

std::optional<std::uint64_t> FindStart(int, std::uint64_t) {
    return 0;
}

struct EndRecord {
    std::uint64_t at = 0;
    std::uint32_t centralSize = 0;
    std::uint16_t entries = 0;
};

// The last end-of-central-directory record within reach of the end of the input.
std::optional<EndRecord> FindEndRecord(const ArchiveInput& in) {
    if (in.size < kEndRecordSize)
        return std::nullopt;
    const std::uint64_t tail = std::min<std::uint64_t>(in.size, kLongestComment + kEndRecordSize);
    std::vector<std::byte> buffer(static_cast<std::size_t>(tail));
    if (!in.ReadAt(in.size - tail, buffer))
        return std::nullopt;
    for (std::size_t i = buffer.size() - kEndRecordSize + 1; i-- > 0;) {
        if (Le32(&buffer[i]) == kEndRecord) {
            return EndRecord{in.size - tail + i, Le32(&buffer[i + 12]), Le16(&buffer[i + 10])};
        }
    }
    return std::nullopt;
}

// An archive that begins with a local header but has no end record was cut.
int CheckLayout(const ArchiveInput& in) {
    if (FindEndRecord(in))
        return 0;
    std::array<std::byte, 4> magic{};
    return in.ReadAt(0, magic) && Le32(magic.data()) == kLocalHeader ? kErrorMissingData : 0;
}

// The stamps come from the central directory, read alongside libarchive in the same order
// (libarchive would turn an invalid stored stamp into a valid date). The directory's start is
// found from the end record, so it is right behind a stub too.
MemberFacts Facts(MemberWalk& walk, const ArchiveInput& in, archive*, archive_entry*) {
    if (!walk.started) {
        walk.started = true;
        if (const auto end = FindEndRecord(in); end && end->centralSize <= end->at) {
            walk.next = end->at - end->centralSize;
            walk.remaining = end->entries;
        }
    }
    MemberFacts facts;
    std::array<std::byte, kCentralHeaderSize> h{};
    if (walk.remaining == 0 || !in.ReadAt(walk.next, h) || Le32(h.data()) != kCentralHeader) {
        walk.remaining = 0;
        return facts;
    }
    facts.stamp = DosStamp{Le16(&h[14]), Le16(&h[12])};
    walk.next += kCentralHeaderSize + Le16(&h[28]) + Le16(&h[30]) + Le16(&h[32]);
    --walk.remaining;
    return facts;
}

constexpr FaultRule kFaults[] = {
    {FaultStage::Open, nullptr, kErrorNotArchive},
    {FaultStage::Header, "Pathname cannot be converted", 0},
    {FaultStage::Header, nullptr, kErrorHeader},
    {FaultStage::Skip, nullptr, kErrorHeader},
    {FaultStage::Data, "Unsupported ZIP compression method", kErrorMethod},
    {FaultStage::Data, nullptr, kErrorChecksum},
};

constexpr LibarchiveKind kZip{
    "zip", &AddFormats, "zip:hdrcharset=CP932", &FindStart, &CheckLayout, &Facts, kFaults, true,
};

}  // namespace

ArchiverBinding ZipEngineBinding() {
    return MakeLibarchiveBinding<kZip>();
}

}  // namespace pyx
