#include "archivers/libarchive_engine.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "archivers/archiver_command.h"
#include "archivers/archiver_errors.h"
#include "archivers/extract_target.h"
#include "platform/read_at.h"

namespace pyx {
namespace {

// libarchive reads through at most this many bytes at a time: memory stays bounded whatever the
// archive's size. Reads start small after every jump (a header-only pass over many members
// reads little) and double while reading goes on in order (few calls for the data).
constexpr std::size_t kBlockSize = 1024 * 1024;
constexpr std::size_t kFirstRead = 4 * 1024;
// An archive up to this size is read with one call and served from memory: most archives in a
// tree are small, and many small reads of the same file cost more than the test itself.
constexpr std::uint64_t kWholeReadLimit = 256 * 1024;
// Real executable stubs are well under this; a big program without an archive is turned away
// after reading this much.
constexpr std::uint64_t kStubSearchLimit = 1024 * 1024;

// libarchive converts header names (hdrcharset) to the locale's character set, and fails in the
// C locale: every engine call runs in a UTF-8 locale of this thread, whatever LANG says.
class ScopedUtf8Locale {
  public:
    ScopedUtf8Locale() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        if (utf8)
            previous_ = uselocale(utf8);
    }
    ~ScopedUtf8Locale() {
        if (previous_)
            uselocale(previous_);
    }
    ScopedUtf8Locale(const ScopedUtf8Locale&) = delete;
    ScopedUtf8Locale& operator=(const ScopedUtf8Locale&) = delete;

  private:
    locale_t previous_{};
};

// The input as libarchive sees it: a stream that begins where the archive begins. Skips and
// seeks never pass the end of the file, so data that a header declares but the file lacks is
// noticed (libarchive's own file reader seeks past the end without complaint).
struct Stream {
    ArchiveInput in;
    std::uint64_t pos = 0;
    std::size_t chunk = kFirstRead;
    std::unique_ptr<std::byte[]> buffer{new std::byte[kBlockSize]};
    std::vector<std::byte> whole;  // the file, when it is small enough
    bool pastEnd = false;          // a skip or seek asked for bytes beyond the end: data missing
    bool readFailed = false;
};

la_ssize_t ReadInput(archive* a, void* data, const void** block) {
    Stream& s = *static_cast<Stream*>(data);
    *block = s.buffer.get();
    const std::uint64_t left = s.in.size - std::min(s.pos, s.in.size);
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, s.chunk));
    if (want == 0)
        return 0;
    if (s.in.memory) {
        *block = s.in.memory + s.pos;
        s.pos += left;
        return static_cast<la_ssize_t>(left);
    }
    s.chunk = std::min(s.chunk * 2, kBlockSize);
    const ssize_t n = pyx::ReadAt(s.in.fd, s.buffer.get(), want, s.in.start + s.pos);
    if (n < 0) {
        s.readFailed = true;
        archive_set_error(a, errno, "read error");
        return ARCHIVE_FATAL;
    }
    s.pos += static_cast<std::uint64_t>(n);
    return n;
}

la_int64_t SkipInput(archive*, void* data, la_int64_t request) {
    Stream& s = *static_cast<Stream*>(data);
    if (request <= 0)
        return 0;
    const std::uint64_t left = s.in.size - std::min(s.pos, s.in.size);
    const std::uint64_t step = std::min<std::uint64_t>(static_cast<std::uint64_t>(request), left);
    if (step < static_cast<std::uint64_t>(request))
        s.pastEnd = true;
    s.pos += step;
    return static_cast<la_int64_t>(step);
}

la_int64_t SeekInput(archive*, void* data, la_int64_t offset, int whence) {
    Stream& s = *static_cast<Stream*>(data);
    la_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<la_int64_t>(s.pos);
    if (whence == SEEK_END)
        base = static_cast<la_int64_t>(s.in.size);
    if (offset > 0 && base > INT64_MAX - offset)
        return ARCHIVE_FATAL;
    const la_int64_t target = base + offset;
    if (target < 0)
        return ARCHIVE_FATAL;
    if (static_cast<std::uint64_t>(target) > s.in.size) {
        s.pastEnd = true;
        return ARCHIVE_FATAL;
    }
    if (static_cast<std::uint64_t>(target) != s.pos)
        s.chunk = kFirstRead;
    s.pos = static_cast<std::uint64_t>(target);
    return target;
}

// One archive opened through libarchive with the kind's formats; error() tells why not.
class Reader {
  public:
    Reader(const LibarchiveKind& kind, const char* path) : kind_(kind) { error_ = Open(path); }
    ~Reader() {
        if (a_)
            archive_read_free(a_);
        if (stream_.in.fd >= 0)
            ::close(stream_.in.fd);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    int error() const { return error_; }
    archive* handle() const { return a_; }
    const LibarchiveKind& kind() const { return kind_; }
    const ArchiveInput& input() const { return stream_.in; }

    // The archiver error code for libarchive's last failure, seen at `stage`; 0 when the kind's
    // table says it is no failure.
    int Classify(FaultStage stage) const {
        if (stream_.readFailed)
            return kErrorRead;
        if (stream_.pastEnd)
            return kErrorMissingData;
        if (kind_.checkLayout) {
            if (const int code = kind_.checkLayout(stream_.in))
                return code;
        }
        const char* message = archive_error_string(a_);
        if (!message)
            message = "";
        for (const FaultRule& rule : kind_.faults) {
            if (rule.stage != stage)
                continue;
            if (rule.messageStart &&
                std::strncmp(message, rule.messageStart, std::strlen(rule.messageStart)) != 0) {
                continue;
            }
            return rule.code;
        }
        return stage == FaultStage::Open ? kErrorNotArchive : kErrorHeader;
    }

    // The next member: 0 on one, 1 at the end, else an archiver error code.
    int Next(archive_entry** entry) {
        const int status = archive_read_next_header(a_, entry);
        if (status == ARCHIVE_EOF)
            return 1;
        if (status == ARCHIVE_OK)
            return 0;
        const int code = Classify(FaultStage::Header);
        if (code == 0 && status >= ARCHIVE_WARN)
            return 0;
        return code ? code : kErrorHeader;
    }

  private:
    int Open(const char* path) {
        ArchiveInput& in = stream_.in;
        in.fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (in.fd < 0)
            return kErrorCannotOpen;
        struct stat st {};
        if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
            return kErrorCannotOpen;
        auto fileSize = static_cast<std::uint64_t>(st.st_size);
        if (fileSize <= kWholeReadLimit) {
            stream_.whole.resize(static_cast<std::size_t>(fileSize));
            const ssize_t n = pyx::ReadAt(in.fd, stream_.whole.data(), stream_.whole.size(), 0);
            if (n < 0)
                return kErrorRead;
            fileSize = static_cast<std::uint64_t>(n);  // a file cut meanwhile ends where it ends
            stream_.whole.resize(static_cast<std::size_t>(n));
        }
        const auto start = kind_.findStart(in.fd, fileSize);
        if (!start)
            return kErrorNotArchive;
        in.start = *start;
        in.size = fileSize - *start;
        if (!stream_.whole.empty() || fileSize == 0)
            in.memory = stream_.whole.data() + *start;

        a_ = archive_read_new();
        if (!a_)
            return kErrorRead;
        kind_.addFormats(a_);
        if (kind_.options)
            archive_read_set_options(a_, kind_.options);
        archive_read_set_callback_data(a_, &stream_);
        archive_read_set_read_callback(a_, &ReadInput);
        archive_read_set_skip_callback(a_, &SkipInput);
        archive_read_set_seek_callback(a_, &SeekInput);
        if (archive_read_open1(a_) != ARCHIVE_OK)
            return Classify(FaultStage::Open);
        return 0;
    }

    const LibarchiveKind& kind_;
    Stream stream_;
    archive* a_ = nullptr;
    int error_ = 0;
};

enum class Depth { FirstHeader, Headers, Data };

// A member's file in the making: dropped when the member is left early, so a file of its name
// already in the destination stays as it was.
class OpenFile {
  public:
    OpenFile(ExtractTarget* target, int fd) : target_(target), fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0)
            target_->FinishFile(fd_, std::nullopt, false);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int get() const { return fd_; }
    int Finish(std::optional<std::time_t> modified) {
        const int fd = fd_;
        fd_ = -1;
        return target_->FinishFile(fd, modified, true);
    }

  private:
    ExtractTarget* target_;
    int fd_;
};

std::string MemberName(archive_entry* entry) {
    if (const char* name = archive_entry_pathname(entry))
        return name;
    if (const char* name = archive_entry_pathname_utf8(entry))
        return name;
    return {};
}

// A symbolic link member is never made as a link: one that points out of the destination is
// refused, any other is written as a small file holding its target.
bool LinkStaysInside(const std::string& name, const char* target) {
    if (!target || !*target)
        return false;
    const std::string t(target);
    if (t.front() == '/' || t.front() == '\\')
        return false;
    const std::size_t slash = name.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    return ExtractTarget::SafeComponents(folder + t).has_value();
}

// Opens where the member's data goes; -1 when nothing is written (a folder, or a refusal, whose
// code lands in *refusal). The member's data is still read and checked either way.
int PrepareMember(ExtractTarget& target, archive_entry* entry, int* refusal) {
    const std::string name = MemberName(entry);
    int code = 0;
    int fd = -1;
    const auto type = archive_entry_filetype(entry);
    if (name.empty()) {
        code = kErrorHeader;
    } else if (type == AE_IFDIR) {
        code = target.MakeFolder(name);
    } else if (type == AE_IFLNK && !LinkStaysInside(name, archive_entry_symlink(entry))) {
        code = kErrorAccessDenied;
    } else {
        fd = target.CreateFile(name, &code);
        if (fd >= 0 && type == AE_IFLNK) {
            const char* link = archive_entry_symlink(entry);
            code = WriteAll(fd, link, std::strlen(link));
        }
    }
    if (code && !*refusal)
        *refusal = code;
    return code ? -1 : fd;
}

// Reads every byte of the current member (never skips: checksums are compared only while data
// is read), writing it to `target` when given. 0 or an archiver error code.
int TestMember(Reader& r, archive_entry* entry, const MemberFacts& facts, ExtractTarget* target,
               int* refusal) {
    if (archive_entry_is_data_encrypted(entry))
        return kErrorPassword;
    if (facts.undecodable)
        return kErrorMethod;
    OpenFile out(target, target ? PrepareMember(*target, entry, refusal) : -1);
    uLong crc = crc32(0, nullptr, 0);
    std::uint64_t written = 0;
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(r.handle(), &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK) {
            const int code = r.Classify(FaultStage::Data);
            return code ? code : kErrorChecksum;
        }
        if (facts.crc32)
            crc = crc32_z(crc, static_cast<const Bytef*>(block), size);
        if (out.get() >= 0) {
            if (offset >= 0 && static_cast<std::uint64_t>(offset) != written) {
                if (::lseek(out.get(), offset, SEEK_SET) < 0)
                    return kErrorWrite;
                written = static_cast<std::uint64_t>(offset);
            }
            if (const int code = WriteAll(out.get(), block, size))
                return code;
            written += size;
        }
    }
    if (facts.crc32 && crc != *facts.crc32)
        return kErrorChecksum;
    if (out.get() >= 0) {
        if (::ftruncate(out.get(), static_cast<off_t>(written)) != 0)
            return kErrorWrite;
        std::optional<std::time_t> modified;
        if (archive_entry_mtime_is_set(entry))
            modified = archive_entry_mtime(entry);
        return out.Finish(modified);
    }
    return 0;
}

// How a pass over an archive ended: the member it failed at (kAfterMembers when the members
// were sound and the failure is in the layout), its code (0: sound), and whether that member's
// data was read by this pass rather than passed over.
constexpr std::uint64_t kAfterMembers = UINT64_MAX - 1;
struct Outcome {
    std::uint64_t member = UINT64_MAX;
    int code = 0;
    bool tested = false;
};

// One pass over the archive to `depth`. At Depth::Data it reads the data of the members whose
// index modulo `stride` is `share` and passes over the others (their headers are still read).
Outcome Pass(const LibarchiveKind& kind, const char* path, Depth depth, ExtractTarget* target,
             std::uint64_t share, std::uint64_t stride) {
    Reader r(kind, path);
    if (r.error())
        return {0, r.error(), true};
    MemberWalk walk;
    int refusal = 0;
    for (std::uint64_t member = 0;; ++member) {
        archive_entry* entry = nullptr;
        const int next = r.Next(&entry);
        if (next == 1)
            break;
        if (next != 0)
            return {member, next, true};
        if (depth == Depth::FirstHeader)
            return {};
        if (depth == Depth::Headers) {
            if (archive_read_data_skip(r.handle()) != ARCHIVE_OK) {
                const int code = r.Classify(FaultStage::Skip);
                return {member, code ? code : kErrorHeader, true};
            }
            continue;
        }
        // The kind's facts matter only for reading data; its cursor still visits every member.
        const MemberFacts facts =
            kind.memberFacts ? kind.memberFacts(walk, r.input(), r.handle(), entry) : MemberFacts{};
        if (member % stride != share) {
            if (archive_read_data_skip(r.handle()) != ARCHIVE_OK) {
                const int code = r.Classify(FaultStage::Skip);
                return {member, code ? code : kErrorHeader, false};
            }
            continue;
        }
        if (const int code = TestMember(r, entry, facts, target, &refusal)) {
            return {member, code, true};
        }
    }
    if (depth != Depth::FirstHeader && kind.checkLayout) {
        if (const int code = kind.checkLayout(r.input()))
            return {kAfterMembers, code, true};
    }
    return {kAfterMembers, refusal, true};
}

// Members that decode independently of each other are tested on two threads when the archive
// is big enough to repay it; the failure reported is still the first in archive order.
constexpr std::uint64_t kSharedTestSize = 4 * 1024 * 1024;

bool WorthSharing(const LibarchiveKind& kind, const char* path) {
    struct stat st {};
    return kind.independentMembers && std::thread::hardware_concurrency() >= 2 &&
           ::stat(path, &st) == 0 && static_cast<std::uint64_t>(st.st_size) >= kSharedTestSize;
}

int Run(const LibarchiveKind& kind, const char* path, Depth depth, ExtractTarget* target) {
    if (depth != Depth::Data || target || !WorthSharing(kind, path)) {
        return Pass(kind, path, depth, target, 0, 1).code;
    }
    Outcome other;
    std::thread helper([&] {
        ScopedUtf8Locale locale;
        other = Pass(kind, path, depth, nullptr, 1, 2);
    });
    const Outcome mine = Pass(kind, path, depth, nullptr, 0, 2);
    helper.join();
    const auto first = [](const Outcome& a, const Outcome& b) {
        if (!a.code)
            return b;
        if (!b.code)
            return a;
        if (a.member != b.member)
            return a.member < b.member ? a : b;
        return a.tested ? a : b;
    };
    return first(mine, other).code;
}

// A member listing: the archive, the kind's header cursor and the current member's stamp.
struct Listing {
    Listing(const LibarchiveKind& kind, const char* path) : reader(kind, path) {}
    Reader reader;
    MemberWalk walk;
    DosStamp current;
    bool ended = false;
};

}  // namespace

bool ArchiveInput::ReadAt(std::uint64_t offset, std::span<std::byte> data) const {
    if (offset > size || data.size() > size - offset)
        return false;
    if (memory) {
        std::memcpy(data.data(), memory + offset, data.size());
        return true;
    }
    return pyx::ReadAt(fd, data.data(), data.size(), start + offset) ==
           static_cast<ssize_t>(data.size());
}

int LibarchiveCheckArchive(const LibarchiveKind& kind, const char* path, int mode) {
    if (!path || mode < 0 || mode > 2)
        return 0;
    ScopedUtf8Locale locale;
    const Depth depth = mode == 0 ? Depth::FirstHeader : mode == 1 ? Depth::Headers : Depth::Data;
    return Run(kind, path, depth, nullptr) == 0 ? 1 : 0;
}

int LibarchiveCommand(const LibarchiveKind& kind, const char* line) {
    const auto command = line ? ParseArchiverCommand(line) : std::nullopt;
    if (!command)
        return kErrorCommand;
    ScopedUtf8Locale locale;
    if (command->op == ArchiverCommand::Op::Test) {
        return Run(kind, command->archive.c_str(), Depth::Data, nullptr);
    }
    ExtractTarget target(command->destination ? std::filesystem::path(*command->destination)
                                              : std::filesystem::path("."));
    if (target.error())
        return target.error();
    return Run(kind, command->archive.c_str(), Depth::Data, &target);
}

std::uint16_t LibarchiveVersion() {
    // libarchive's major.minor: 3006002 (3.6.2) gives 306.
    const int number = archive_version_number();
    return static_cast<std::uint16_t>(number / 1000000 * 100 + number / 1000 % 1000);
}

ArchiveHandle LibarchiveOpenArchive(const LibarchiveKind& kind, const char* path) {
    if (!path)
        return nullptr;
    ScopedUtf8Locale locale;
    auto listing = std::make_unique<Listing>(kind, path);
    if (listing->reader.error())
        return nullptr;
    return listing.release();
}

int LibarchiveCloseArchive(ArchiveHandle handle) {
    delete static_cast<Listing*>(handle);
    return 0;
}

int LibarchiveFindNext(ArchiveHandle handle) {
    auto* listing = static_cast<Listing*>(handle);
    if (!listing || listing->ended)
        return -1;
    ScopedUtf8Locale locale;
    Reader& r = listing->reader;
    archive_entry* entry = nullptr;
    if (r.Next(&entry) != 0) {
        listing->ended = true;
        return -1;
    }
    const LibarchiveKind& kind = r.kind();
    listing->current = kind.memberFacts
                           ? kind.memberFacts(listing->walk, r.input(), r.handle(), entry).stamp
                           : DosStamp{};
    return 0;
}

std::uint16_t LibarchiveGetDate(ArchiveHandle handle) {
    const auto* listing = static_cast<const Listing*>(handle);
    return listing ? listing->current.date : 0;
}

std::uint16_t LibarchiveGetTime(ArchiveHandle handle) {
    const auto* listing = static_cast<const Listing*>(handle);
    return listing ? listing->current.time : 0;
}

std::optional<std::uint64_t> SearchArchiveStart(int fd, std::uint64_t fileSize,
                                                std::size_t lookahead,
                                                bool (*accept)(std::span<const std::byte> at)) {
    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::byte> window(kChunk + lookahead);
    const std::uint64_t limit = std::min(fileSize, kStubSearchLimit);
    for (std::uint64_t base = 0; base < limit; base += kChunk) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(window.size(), fileSize - base));
        const ssize_t got = pyx::ReadAt(fd, window.data(), want, base);
        if (got <= 0)
            break;
        const auto have = static_cast<std::size_t>(got);
        if (base == 0) {
            if (accept(std::span<const std::byte>(window.data(), have)))
                return 0;
            // Only an executable has a stub in front: in any other file a damaged first
            // header must not be passed over for a later one.
            if (have < 2 || window[0] != std::byte{'M'} || window[1] != std::byte{'Z'})
                break;
        }
        const std::size_t scan =
            std::min<std::size_t>({kChunk, have, static_cast<std::size_t>(limit - base)});
        for (std::size_t i = 0; i < scan; ++i) {
            if (accept(std::span<const std::byte>(window.data() + i, have - i)))
                return base + i;
        }
    }
    return std::nullopt;
}

DosStamp StampFromEntry(archive_entry* entry) {
    if (!archive_entry_mtime_is_set(entry))
        return {};
    return DosStampFromTime(archive_entry_mtime(entry)).value_or(DosStamp{});
}

std::uint16_t Le16(const std::byte* p) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) |
                                      std::to_integer<unsigned>(p[1]) << 8);
}

std::uint32_t Le32(const std::byte* p) {
    return static_cast<std::uint32_t>(Le16(p)) | static_cast<std::uint32_t>(Le16(p + 2)) << 16;
}

std::uint64_t Le64(const std::byte* p) {
    return static_cast<std::uint64_t>(Le32(p)) | static_cast<std::uint64_t>(Le32(p + 4)) << 32;
}

}  // namespace pyx
