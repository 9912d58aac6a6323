#include "archivers/arj_format.h"
#include "platform/read_at.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archivers/crc32.h"

namespace pyx {

namespace {
constexpr std::uint64_t kWholeReadLimit = 256 * 1024;
}  // namespace
namespace {

// Every header starts with these two bytes, then the size of its basic header.
constexpr std::uint8_t kHeaderId0 = 0x60;
constexpr std::uint8_t kHeaderId1 = 0xEA;
constexpr std::size_t kMaxBasicHeader = 2600;
constexpr std::size_t kDataBlock = 128 * 1024;
constexpr std::size_t kScanBlock = 64 * 1024;

// Offsets inside the basic header (after the id and the size).
constexpr std::size_t kFirstHeaderSize = 0;
constexpr std::size_t kVersion = 1;
constexpr std::size_t kHostOs = 3;
constexpr std::size_t kFlags = 4;
constexpr std::size_t kMethod = 5;
constexpr std::size_t kFileType = 6;
constexpr std::size_t kStamp = 8;
constexpr std::size_t kCompressedSize = 12;
constexpr std::size_t kOriginalSize = 16;
constexpr std::size_t kCrc = 20;
constexpr std::size_t kMinFirstHeader = 30;

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// Takes the fields out of a basic header whose CRC has been checked.
ArjStatus ParseBasicHeader(const std::uint8_t* b, std::size_t size, ArjHeader* h) {
    const std::size_t first = b[kFirstHeaderSize];
    if (first < kMinFirstHeader || first > size)
        return ArjStatus::BrokenHeader;
    const auto* end = b + size;
    const auto* nameEnd = std::find(b + first, end, 0);
    if (nameEnd == end)
        return ArjStatus::BrokenHeader;
    if (std::find(nameEnd + 1, end, 0) == end)
        return ArjStatus::BrokenHeader;  // comment
    h->version = b[kVersion];
    h->hostOs = b[kHostOs];
    h->flags = b[kFlags];
    h->method = b[kMethod];
    h->fileType = b[kFileType];
    h->stamp = Le32(b + kStamp);
    h->compressedSize = Le32(b + kCompressedSize);
    h->originalSize = Le32(b + kOriginalSize);
    h->crc = Le32(b + kCrc);
    h->name.assign(reinterpret_cast<const char*>(b + first), nameEnd - (b + first));
    return ArjStatus::Ok;
}

// Reads the header at offset: basic header, its CRC, the extended headers and theirs.
ArjStatus ReadHeaderAt(const ArjFile& file, std::uint64_t offset, ArjHeader* h, bool* end) {
    *end = false;
    std::uint8_t head[4];
    if (auto s = file.ReadAt(offset, head, sizeof head); s != ArjStatus::Ok)
        return s;
    if (head[0] != kHeaderId0 || head[1] != kHeaderId1)
        return ArjStatus::BrokenHeader;
    const std::size_t size = Le16(head + 2);
    if (size == 0) {
        *end = true;
        return ArjStatus::Ok;
    }
    if (size > kMaxBasicHeader)
        return ArjStatus::BrokenHeader;
    std::uint8_t basic[kMaxBasicHeader + 4];
    if (auto s = file.ReadAt(offset + 4, basic, size + 4); s != ArjStatus::Ok)
        return s;
    if (Crc32(0, basic, size) != Le32(basic + size))
        return ArjStatus::HeaderCrc;
    if (auto s = ParseBasicHeader(basic, size, h); s != ArjStatus::Ok)
        return s;

    std::uint64_t pos = offset + 4 + size + 4;
    std::vector<std::uint8_t> extended;
    for (;;) {
        std::uint8_t sizeBytes[2];
        if (auto s = file.ReadAt(pos, sizeBytes, 2); s != ArjStatus::Ok)
            return s;
        pos += 2;
        const std::size_t extSize = Le16(sizeBytes);
        if (extSize == 0)
            break;
        extended.resize(extSize + 4);
        if (auto s = file.ReadAt(pos, extended.data(), extended.size()); s != ArjStatus::Ok) {
            return s;
        }
        if (Crc32(0, extended.data(), extSize) != Le32(extended.data() + extSize)) {
            return ArjStatus::HeaderCrc;
        }
        pos += extended.size();
    }
    h->dataOffset = pos;
    h->nextOffset = pos;
    return ArjStatus::Ok;
}

// Whether the bytes at p (avail of them known) may start a main header; cheap, before the CRC.
bool MayBeMainHeader(const std::uint8_t* p, std::size_t avail) {
    if (avail < 2 || p[0] != kHeaderId0 || p[1] != kHeaderId1)
        return false;
    if (avail < 4 + kFileType + 1)
        return true;  // decide by reading the header itself
    const std::size_t size = Le16(p + 2);
    return size >= kMinFirstHeader + 2 && size <= kMaxBasicHeader &&
           p[4 + kFirstHeaderSize] >= kMinFirstHeader && p[4 + kFileType] == kArjTypeMain;
}

}  // namespace

ArjFile::~ArjFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

ArjStatus ArjFile::Open(const char* path) {
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return ArjStatus::CannotOpen;
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return ArjStatus::ReadError;
    if (!S_ISREG(st.st_mode))
        return ArjStatus::CannotOpen;
    size_ = static_cast<std::uint64_t>(st.st_size);
    // Most archives in a tree are small: one read instead of several per member header.
    if (size_ <= kWholeReadLimit) {
        whole_.resize(static_cast<std::size_t>(size_));
        const ssize_t n = pyx::ReadAt(fd_, whole_.data(), whole_.size(), 0);
        if (n < 0)
            return ArjStatus::ReadError;
        whole_.resize(static_cast<std::size_t>(n));
        size_ = static_cast<std::uint64_t>(n);
    }
    return ArjStatus::Ok;
}

long ArjFile::ReadSome(std::uint64_t offset, void* data, std::size_t size) const {
    if (size_ > kWholeReadLimit)
        return static_cast<long>(pyx::ReadAt(fd_, data, size, offset));
    if (offset >= whole_.size())
        return 0;
    const std::size_t n = std::min<std::uint64_t>(size, whole_.size() - offset);
    std::memcpy(data, whole_.data() + offset, n);
    return static_cast<long>(n);
}

ArjStatus ArjFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
    const long n = ReadSome(offset, data, size);
    if (n < 0)
        return ArjStatus::ReadError;
    return static_cast<std::size_t>(n) == size ? ArjStatus::Ok : ArjStatus::Truncated;
}

ArjStatus FindMainHeader(const ArjFile& file, ArjHeader* main) {
    bool end = false;
    std::uint8_t id[2];
    if (file.ReadAt(0, id, 2) == ArjStatus::Ok && id[0] == kHeaderId0 && id[1] == kHeaderId1) {
        // A plain archive: its first header is the main header, whatever state it is in.
        const ArjStatus s = ReadHeaderAt(file, 0, main, &end);
        return end ? ArjStatus::BrokenHeader : s;
    }
    // Behind a stub: the first spot whose header reads back with a matching CRC.
    std::vector<std::uint8_t> block(kScanBlock + 4 + kFileType + 1);
    const std::uint64_t limit = std::min(file.size(), kArjStubSearchLimit);
    for (std::uint64_t start = 0; start < limit; start += kScanBlock) {
        const long got = file.ReadSome(start, block.data(), block.size());
        if (got < 0)
            return ArjStatus::ReadError;
        const auto avail = static_cast<std::size_t>(got);
        const std::size_t scan = std::min<std::uint64_t>({avail, kScanBlock, limit - start});
        for (std::size_t i = 0; i < scan; ++i) {
            const void* hit = std::memchr(block.data() + i, kHeaderId0, scan - i);
            if (!hit)
                break;
            i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - block.data());
            if (!MayBeMainHeader(block.data() + i, avail - i))
                continue;
            ArjHeader h;
            if (ReadHeaderAt(file, start + i, &h, &end) == ArjStatus::Ok && !end &&
                h.fileType == kArjTypeMain) {
                *main = std::move(h);
                return ArjStatus::Ok;
            }
        }
    }
    return ArjStatus::NotArchive;
}

ArjStatus ReadLocalHeader(const ArjFile& file, std::uint64_t offset, ArjHeader* header, bool* end) {
    if (auto s = ReadHeaderAt(file, offset, header, end); s != ArjStatus::Ok || *end)
        return s;
    // Stored data is the file itself: a size that differs cannot be read back whole.
    if (header->method == 0 && header->compressedSize != header->originalSize) {
        return ArjStatus::BrokenHeader;
    }
    header->nextOffset = header->dataOffset + header->compressedSize;
    if (header->nextOffset > file.size())
        return ArjStatus::Truncated;
    return ArjStatus::Ok;
}

ArjDataReader::ArjDataReader(const ArjFile& file, std::uint64_t offset, std::uint64_t size)
    : file_(file),
      offset_(offset),
      left_(size),
      buffer_(std::min<std::uint64_t>(size, kDataBlock)) {}

ArjStatus ArjDataReader::Next(const std::uint8_t** data, std::size_t* size) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(left_, buffer_.size()));
    *data = buffer_.data();
    *size = 0;
    if (want == 0)
        return ArjStatus::Ok;
    if (auto s = file_.ReadAt(offset_, buffer_.data(), want); s != ArjStatus::Ok)
        return s;
    offset_ += want;
    left_ -= want;
    *size = want;
    return ArjStatus::Ok;
}

}  // namespace pyx
