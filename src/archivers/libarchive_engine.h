#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "archivers/archiver_contract.h"
#include "archivers/dos_time.h"

struct archive;
struct archive_entry;

namespace pyx {

// The archive inside its file: everything the engine reads is relative to `start`, the offset
// where the archive begins (after an executable stub, when there is one).
struct ArchiveInput {
    int fd = -1;
    std::uint64_t start = 0;
    std::uint64_t size = 0;  // bytes from start to the end of the file
    // The archive's bytes from start, when the whole file was read at once (a small archive);
    // null when reads go to fd.
    const std::byte* memory = nullptr;

    // Reads exactly data.size() bytes at offset (relative to start); false when they are not
    // all there or the read fails.
    bool ReadAt(std::uint64_t offset, std::span<std::byte> data) const;
};

// Where libarchive reported a failure.
enum class FaultStage { Open, Header, Skip, Data };

// One row of a kind's table from failures to archiver error codes. Rows are tried in order; a
// row matches when the stage is the same and libarchive's message begins with `messageStart`
// (null: any message). Code 0 means "not a failure" (a name that could not be converted, say).
// Before the table is asked, a failed read gives kErrorRead, and data missing from the file
// (a skip or seek past its end, or the kind's checkLayout) gives kErrorMissingData.
struct FaultRule {
    FaultStage stage;
    const char* messageStart;
    int code;
};

// What a kind's own reading of its raw headers tells about the current member.
struct MemberFacts {
    // The member's MS-DOS stamp as the archive stores it; {0, 0} (no valid date) when the
    // format's stamp could not be read.
    DosStamp stamp;
    // CRC-32 of the member's data that the engine compares itself, where libarchive does not.
    std::optional<std::uint32_t> crc32;
    // Stored with a method libarchive would decode wrongly: reported, never decoded.
    bool undecodable = false;
};

// A kind's cursor over its raw headers, kept alongside libarchive's; its meaning is the kind's.
struct MemberWalk {
    std::uint64_t next = 0;
    std::uint64_t remaining = 0;
    int variant = 0;
    bool started = false;
};

// Everything that makes one archive kind: which libarchive formats read it, how to find it
// behind an executable stub, what its headers declare, and its one table of failures.
struct LibarchiveKind {
    const char* name;
    // Registers the kind's format readers on a new archive object.
    void (*addFormats)(archive* a);
    // Options for archive_read_set_options (header charset), or null.
    const char* options;
    // Offset of the archive in the file (0 when it starts there), or nullopt when there is
    // none within the bounded stub search.
    std::optional<std::uint64_t> (*findStart)(int fd, std::uint64_t fileSize);
    // 0 when the data the headers declare fits in the input, else an archiver error code
    // (kErrorMissingData). Called after every header was read, and on every failure.
    int (*checkLayout)(const ArchiveInput& in);
    // The current member's facts; called once per member, in archive order.
    MemberFacts (*memberFacts)(MemberWalk& walk, const ArchiveInput& in, archive* a,
                               archive_entry* entry);
    std::span<const FaultRule> faults;
    // Each member decodes on its own (no solid blocks): a big archive's members may be tested
    // on two threads at once.
    bool independentMembers = false;
};

// The contract's entry points, shared by every libarchive kind.
int LibarchiveCheckArchive(const LibarchiveKind& kind, const char* path, int mode);
int LibarchiveCommand(const LibarchiveKind& kind, const char* line);
std::uint16_t LibarchiveVersion();
ArchiveHandle LibarchiveOpenArchive(const LibarchiveKind& kind, const char* path);
int LibarchiveCloseArchive(ArchiveHandle handle);
int LibarchiveFindNext(ArchiveHandle handle);
std::uint16_t LibarchiveGetDate(ArchiveHandle handle);
std::uint16_t LibarchiveGetTime(ArchiveHandle handle);

// The binding of one kind; `kind` must be an object with static storage.
template <const LibarchiveKind& kind>
ArchiverBinding MakeLibarchiveBinding() {
    ArchiverBinding b;
    b.module = kind.name;
    b.checkArchive = [](const char* path, int mode) {
        return LibarchiveCheckArchive(kind, path, mode);
    };
    b.command = [](void*, const char* line, char*, std::uint32_t) {
        return LibarchiveCommand(kind, line);
    };
    b.getVersion = &LibarchiveVersion;
    b.openArchive = [](void*, const char* path, std::uint32_t) {
        return LibarchiveOpenArchive(kind, path);
    };
    b.closeArchive = &LibarchiveCloseArchive;
    b.findFirst = [](ArchiveHandle h, const char*, void*) { return LibarchiveFindNext(h); };
    b.findNext = [](ArchiveHandle h, void*) { return LibarchiveFindNext(h); };
    b.getDate = &LibarchiveGetDate;
    b.getTime = &LibarchiveGetTime;
    return b;
}

// Helpers the kinds share.

// Where the kind's archive begins: 0 when `accept` takes the file's first bytes; else, in an
// executable (a file that begins with "MZ"), the first offset below a bounded limit (real stubs
// are well under 1 MiB) at which `accept` takes the bytes that follow. The window passed to
// `accept` holds at least `lookahead` bytes when the file has them.
std::optional<std::uint64_t> SearchArchiveStart(int fd, std::uint64_t fileSize,
                                                std::size_t lookahead,
                                                bool (*accept)(std::span<const std::byte> at));

// The entry's modification time (which libarchive holds exactly where the format stores a Unix
// time) as an MS-DOS stamp; {0, 0} when there is none.
DosStamp StampFromEntry(archive_entry* entry);

std::uint16_t Le16(const std::byte* p);
std::uint32_t Le32(const std::byte* p);
std::uint64_t Le64(const std::byte* p);

}  // namespace pyx
