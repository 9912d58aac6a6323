#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pyx {

// Everything that can go wrong while reading an ARJ archive. The engine turns each into the
// archiver error code that names it (arj_engine.cpp); nothing else decides a code.
enum class ArjStatus {
    Ok,
    CannotOpen,
    ReadError,
    NotArchive,
    BrokenHeader,
    HeaderCrc,
    Truncated,
    Garbled,  // encrypted with a password: the data cannot be verified
    UnknownMethod,
    BadTable,  // a Huffman code table that no encoder writes
    DataCrc,   // decoded data differs from what the header declares
    Output,    // writing an extracted member failed; the sink holds the code
};

// Header flags and the values the engine looks at.
constexpr std::uint8_t kArjGarbledFlag = 0x01;
constexpr std::uint8_t kArjVolumeFlag = 0x04;   // member continues in the next volume
constexpr std::uint8_t kArjExtFileFlag = 0x08;  // member continues from the previous volume
constexpr std::uint8_t kArjPathSymFlag = 0x10;
constexpr std::uint8_t kArjHostMsDos = 0;
constexpr std::uint8_t kArjHostUnix = 2;
constexpr std::uint8_t kArjHostNext = 8;
constexpr std::uint8_t kArjTypeBinary = 0;
constexpr std::uint8_t kArjTypeText = 1;
constexpr std::uint8_t kArjTypeMain = 2;
constexpr std::uint8_t kArjTypeDirectory = 3;

// The main header sits behind an executable stub at most this far into the file.
constexpr std::uint64_t kArjStubSearchLimit = 1 << 20;

// The fields of a main or local header that the engine uses. Sizes and the CRC are those the
// header declares; `name` holds the stored bytes, not yet converted.
struct ArjHeader {
    std::uint8_t version = 0;
    std::uint8_t hostOs = 0;
    std::uint8_t flags = 0;
    std::uint8_t method = 0;
    std::uint8_t fileType = 0;
    std::uint32_t stamp = 0;  // modified: MS-DOS date << 16 | time, or Unix time (see below)
    std::uint32_t compressedSize = 0;
    std::uint32_t originalSize = 0;
    std::uint32_t crc = 0;
    std::string name;
    std::uint64_t dataOffset = 0;  // the data begins here, after the extended headers
    std::uint64_t nextOffset = 0;  // the next header begins here, after the data

    // Archivers on Unix and NeXT store the time as seconds since 1970, all others as MS-DOS.
    bool StampIsUnixTime() const { return hostOs == kArjHostUnix || hostOs == kArjHostNext; }
};

// An archive file opened for reading; the descriptor closes with the object.
class ArjFile {
  public:
    ArjFile() = default;
    ~ArjFile();
    ArjFile(const ArjFile&) = delete;
    ArjFile& operator=(const ArjFile&) = delete;

    ArjStatus Open(const char* path);
    std::uint64_t size() const { return size_; }
    // Reads exactly size bytes at offset; Truncated when the file ends first.
    ArjStatus ReadAt(std::uint64_t offset, void* data, std::size_t size) const;
    // Reads up to size bytes at offset; the count read, or -1 on a read error.
    long ReadSome(std::uint64_t offset, void* data, std::size_t size) const;

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> whole_;  // a small file, read at once and served from memory
};

// Finds the main header at the start of the file or behind an executable stub (within
// kArjStubSearchLimit bytes) and checks it; on Ok, main->nextOffset is the first local header.
ArjStatus FindMainHeader(const ArjFile& file, ArjHeader* main);

// Reads and checks the local header at offset, with its extended headers. Ok with *end set at
// the end-of-archive marker. The data the header declares must fit in the file (Truncated).
ArjStatus ReadLocalHeader(const ArjFile& file, std::uint64_t offset, ArjHeader* header, bool* end);

// Streams one member's stored bytes in large blocks, so memory stays bounded.
class ArjDataReader {
  public:
    ArjDataReader(const ArjFile& file, std::uint64_t offset, std::uint64_t size);
    // The next block of data in *data / *size; *size is 0 once the member's data is used up.
    ArjStatus Next(const std::uint8_t** data, std::size_t* size);

  private:
    const ArjFile& file_;
    std::uint64_t offset_;
    std::uint64_t left_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace pyx
