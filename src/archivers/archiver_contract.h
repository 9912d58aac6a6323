#pragma once

#include <cstdint>

namespace pyx {

// The archiver contract: what every engine exports and what the rest of the program relies on.
// Paths and command lines are UTF-8. Every entry point is reentrant: engines keep no global state,
// so several archives may be tested at once on different threads.
using ArchiveHandle = void*;

// Nonzero: sound; 0: damaged. Exactly 1 means "an archive of this kind" (the self-extracting
// probe relies on that). mode 0 reads the first headers, 1 every header, 2 decompresses every
// member and verifies its checksum.
using CheckArchiveFn = int (*)(const char* path, int mode);

// Runs " t "/"-t " (test every member) or " x "/"-x " (extract) followed by the quoted archive
// path and, for an extraction, an optional quoted destination ending in a separator.
// Returns 0 on success, else an archiver error code 0x8005..0x8038 (archiver_errors.h).
using CommandFn = int (*)(void* window, const char* line, char* output, std::uint32_t size);

// Version times 100 (123 means 1.23).
using GetVersionFn = std::uint16_t (*)();

// Member listing: open, findFirst, findNext until -1, close (also when findFirst gave -1).
using OpenArchiveFn = ArchiveHandle (*)(void* window, const char* path, std::uint32_t mode);
using CloseArchiveFn = int (*)(ArchiveHandle handle);
using FindFirstFn = int (*)(ArchiveHandle handle, const char* wildName, void* info);
using FindNextFn = int (*)(ArchiveHandle handle, void* info);
// MS-DOS date and time of the current member, local time.
using GetDateFn = std::uint16_t (*)(ArchiveHandle handle);
using GetTimeFn = std::uint16_t (*)(ArchiveHandle handle);

// One kind's engine. `module` names the engine that filled the record (null when none did).
struct ArchiverBinding {
    const void* module = nullptr;
    CheckArchiveFn checkArchive = nullptr;
    CommandFn command = nullptr;
    GetVersionFn getVersion = nullptr;
    OpenArchiveFn openArchive = nullptr;
    CloseArchiveFn closeArchive = nullptr;
    FindFirstFn findFirst = nullptr;
    FindNextFn findNext = nullptr;
    GetDateFn getDate = nullptr;
    GetTimeFn getTime = nullptr;
};

// True when every entry point is resolved; a kind that is not complete counts as missing,
// so no caller ever reaches a null entry point.
inline bool IsComplete(const ArchiverBinding& b) {
    return b.module && b.checkArchive && b.command && b.getVersion && b.openArchive &&
           b.closeArchive && b.findFirst && b.findNext && b.getDate && b.getTime;
}

}  // namespace pyx
