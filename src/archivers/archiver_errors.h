#pragma once

namespace pyx {

// Result codes of the archiver API that the engines return from `command`.
enum ArchiverError : int {
    kErrorDiskFull = 0x8005,
    kErrorMethod = 0x8009,  // stored with a method this engine cannot decode
    kErrorPassword = 0x800A,
    kErrorChecksum = 0x800C,
    kErrorMakeFolder = 0x8012,
    kErrorWrite = 0x8013,
    kErrorHuffman = 0x8014,
    kErrorHeaderChecksum = 0x8016,
    kErrorHeader = 0x8017,  // broken header
    kErrorCannotOpen = 0x8018,
    kErrorNotArchive = 0x8019,
    kErrorRead = 0x801A,
    kErrorCommand = 0x801C,       // bad command line
    kErrorMissingData = 0x802D,   // data missing, archive truncated
    kErrorAccessDenied = 0x8030,  // also: a member name that would land outside the destination
};

constexpr int kFirstArchiverError = 0x8005;
constexpr int kLastArchiverError = 0x8038;

}  // namespace pyx
