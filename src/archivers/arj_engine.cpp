#include "archivers/arj_engine.h"

#include <cstring>
#include <memory>
#include <optional>

#include "archivers/archiver_command.h"
#include "archivers/archiver_errors.h"
#include "archivers/arj_decoder.h"
#include "archivers/arj_format.h"
#include "archivers/arj_name.h"
#include "archivers/crc32.h"
#include "archivers/dos_time.h"
#include "archivers/extract_target.h"

namespace pyx {
namespace {

constexpr char kEngineName[] = "ARJ";
constexpr std::uint16_t kEngineVersion = 100;
constexpr int kLastMethod = 4;

// The one place where a failure becomes the code the rest of the program sees.
int ErrorCode(ArjStatus status) {
    switch (status) {
        case ArjStatus::Ok:
            return 0;
        case ArjStatus::CannotOpen:
            return kErrorCannotOpen;
        case ArjStatus::ReadError:
            return kErrorRead;
        case ArjStatus::NotArchive:
            return kErrorNotArchive;
        case ArjStatus::BrokenHeader:
            return kErrorHeader;
        case ArjStatus::HeaderCrc:
            return kErrorHeaderChecksum;
        case ArjStatus::Truncated:
            return kErrorMissingData;
        case ArjStatus::Garbled:
            return kErrorPassword;
        case ArjStatus::UnknownMethod:
            return kErrorMethod;
        case ArjStatus::BadTable:
            return kErrorHuffman;
        case ArjStatus::DataCrc:
            return kErrorChecksum;
        case ArjStatus::Output:
            return kErrorWrite;  // the sink's own code is used instead
    }
    return kErrorHeader;
}

enum class Depth { MainHeader, Headers, Data };

// Takes the decoded bytes of one member: their CRC, and the extracted file when there is one.
class MemberSink final : public ArjSink {
  public:
    explicit MemberSink(int fd = -1) : fd_(fd) {}
    ArjStatus Put(const std::uint8_t* data, std::size_t size) override {
        crc_ = Crc32(crc_, data, size);
        if (fd_ >= 0) {
            writeError_ = WriteAll(fd_, data, size);
            if (writeError_)
                return ArjStatus::Output;
        }
        return ArjStatus::Ok;
    }
    std::uint32_t crc() const { return crc_; }
    int writeError() const { return writeError_; }

  private:
    int fd_;
    std::uint32_t crc_ = 0;
    int writeError_ = 0;
};

// Whether this engine can decode the member's data at all; Ok when it can.
ArjStatus CanDecode(const ArjHeader& h) {
    if (h.flags & kArjGarbledFlag)
        return ArjStatus::Garbled;
    if (h.method > kLastMethod)
        return ArjStatus::UnknownMethod;
    return ArjStatus::Ok;
}

// Decodes one member and compares its CRC: the one place where member data is judged.
ArjStatus ReadMemberData(const ArjFile& file, const ArjHeader& h, ArjDecoder& decoder,
                         MemberSink& sink) {
    if (auto s = CanDecode(h); s != ArjStatus::Ok)
        return s;
    ArjDataReader in(file, h.dataOffset, h.compressedSize);
    if (auto s = decoder.Decode(h.method, in, h.originalSize, sink); s != ArjStatus::Ok)
        return s;
    return sink.crc() == h.crc ? ArjStatus::Ok : ArjStatus::DataCrc;
}

std::optional<std::time_t> MemberTime(const ArjHeader& h) {
    if (h.StampIsUnixTime())
        return static_cast<std::time_t>(h.stamp);
    return TimeFromDosStamp(DosStamp{static_cast<std::uint16_t>(h.stamp >> 16),
                                     static_cast<std::uint16_t>(h.stamp & 0xFFFF)});
}

// The stored stamp as MS-DOS date and time; a Unix time is turned into local time. Zero when
// the time has no MS-DOS form.
DosStamp MemberDosStamp(const ArjHeader& h) {
    if (!h.StampIsUnixTime()) {
        return DosStamp{static_cast<std::uint16_t>(h.stamp >> 16),
                        static_cast<std::uint16_t>(h.stamp & 0xFFFF)};
    }
    return DosStampFromTime(static_cast<std::time_t>(h.stamp)).value_or(DosStamp{});
}

// Writes one member below the target; 0 or the archiver code of the failure.
int ExtractMember(const ArjFile& file, const ArjHeader& h, ArjDecoder& decoder,
                  ExtractTarget& target) {
    const std::string name = ArjNameToUtf8(h.name, h.hostOs);
    if (h.fileType == kArjTypeDirectory)
        return target.MakeFolder(name);
    if (h.fileType != kArjTypeBinary && h.fileType != kArjTypeText)
        return 0;  // labels
    if (auto s = CanDecode(h); s != ArjStatus::Ok)
        return ErrorCode(s);
    int error = 0;
    const int fd = target.CreateFile(name, &error);
    if (fd < 0)
        return error;
    MemberSink sink(fd);
    const ArjStatus s = ReadMemberData(file, h, decoder, sink);
    const int finished = target.FinishFile(fd, s == ArjStatus::Ok ? MemberTime(h) : std::nullopt,
                                           s == ArjStatus::Ok);
    if (s == ArjStatus::Output)
        return sink.writeError();
    if (s != ArjStatus::Ok)
        return ErrorCode(s);
    if (finished)
        return finished;
    // A piece of a member split over volumes is not the whole file.
    if (h.flags & (kArjVolumeFlag | kArjExtFileFlag))
        return kErrorMissingData;
    return 0;
}

// Reads the archive to the given depth and, with a target, extracts every member into it.
// 0 when sound (and, extracting, every member written whole), else the code of the first
// failure. Testing stops at the first failure; extraction goes on with the next member as long
// as the headers can be read.
int RunArchive(const char* path, Depth depth, ExtractTarget* target) {
    ArjFile file;
    if (auto s = file.Open(path); s != ArjStatus::Ok)
        return ErrorCode(s);
    ArjHeader main;
    if (auto s = FindMainHeader(file, &main); s != ArjStatus::Ok)
        return ErrorCode(s);
    if (depth == Depth::MainHeader)
        return 0;

    std::unique_ptr<ArjDecoder> decoder;
    if (depth == Depth::Data)
        decoder = std::make_unique<ArjDecoder>();
    int firstError = 0;
    std::uint64_t offset = main.nextOffset;
    for (;;) {
        ArjHeader h;
        bool end = false;
        if (auto s = ReadLocalHeader(file, offset, &h, &end); s != ArjStatus::Ok) {
            return firstError ? firstError : ErrorCode(s);
        }
        if (end)
            return firstError;
        offset = h.nextOffset;
        if (depth != Depth::Data)
            continue;
        if (target) {
            const int error = ExtractMember(file, h, *decoder, *target);
            if (!firstError)
                firstError = error;
        } else {
            MemberSink sink;
            if (auto s = ReadMemberData(file, h, *decoder, sink); s != ArjStatus::Ok) {
                return ErrorCode(s);
            }
        }
    }
}

int CheckArchive(const char* path, int mode) {
    if (!path)
        return 0;
    const Depth depth = mode <= 0 ? Depth::MainHeader : mode == 1 ? Depth::Headers : Depth::Data;
    return RunArchive(path, depth, nullptr) == 0 ? 1 : 0;
}

int Command(void* /*window*/, const char* line, char* output, std::uint32_t size) {
    if (output && size > 0)
        output[0] = '\0';
    const auto cmd = line ? ParseArchiverCommand(line) : std::nullopt;
    if (!cmd)
        return kErrorCommand;
    if (cmd->op == ArchiverCommand::Op::Test) {
        return RunArchive(cmd->archive.c_str(), Depth::Data, nullptr);
    }
    ExtractTarget target(cmd->destination.value_or("."));
    if (target.error())
        return target.error();
    return RunArchive(cmd->archive.c_str(), Depth::Data, &target);
}

std::uint16_t GetVersion() {
    return kEngineVersion;
}

// A listing: the open file, where the next header starts and the member found last.
struct Listing {
    ArjFile file;
    std::uint64_t firstOffset = 0;
    std::uint64_t nextOffset = 0;
    bool onMember = false;
    ArjHeader member;
};

Listing* AsListing(ArchiveHandle handle) {
    return static_cast<Listing*>(handle);
}

ArchiveHandle OpenArchive(void* /*window*/, const char* path, std::uint32_t /*mode*/) {
    if (!path)
        return nullptr;
    auto listing = std::make_unique<Listing>();
    if (listing->file.Open(path) != ArjStatus::Ok)
        return nullptr;
    ArjHeader main;
    if (FindMainHeader(listing->file, &main) != ArjStatus::Ok)
        return nullptr;
    listing->firstOffset = main.nextOffset;
    return listing.release();
}

int CloseArchive(ArchiveHandle handle) {
    delete AsListing(handle);
    return 0;
}

// Moves to the member at the listing's next offset; -1 at the end or on a broken header.
int ReadNextMember(Listing* listing) {
    bool end = false;
    listing->onMember = ReadLocalHeader(listing->file, listing->nextOffset, &listing->member,
                                        &end) == ArjStatus::Ok &&
                        !end;
    if (!listing->onMember)
        return -1;
    listing->nextOffset = listing->member.nextOffset;
    return 0;
}

int FindFirst(ArchiveHandle handle, const char* /*wildName*/, void* /*info*/) {
    Listing* listing = AsListing(handle);
    if (!listing)
        return -1;
    listing->nextOffset = listing->firstOffset;
    return ReadNextMember(listing);
}

int FindNext(ArchiveHandle handle, void* /*info*/) {
    Listing* listing = AsListing(handle);
    if (!listing || !listing->onMember)
        return -1;
    return ReadNextMember(listing);
}

std::uint16_t GetDate(ArchiveHandle handle) {
    const Listing* listing = AsListing(handle);
    return listing && listing->onMember ? MemberDosStamp(listing->member).date : 0;
}

std::uint16_t GetTime(ArchiveHandle handle) {
    const Listing* listing = AsListing(handle);
    return listing && listing->onMember ? MemberDosStamp(listing->member).time : 0;
}

}  // namespace

ArchiverBinding ArjEngineBinding() {
    ArchiverBinding b;
    b.module = kEngineName;
    b.checkArchive = CheckArchive;
    b.command = Command;
    b.getVersion = GetVersion;
    b.openArchive = OpenArchive;
    b.closeArchive = CloseArchive;
    b.findFirst = FindFirst;
    b.findNext = FindNext;
    b.getDate = GetDate;
    b.getTime = GetTime;
    return b;
}

}  // namespace pyx
