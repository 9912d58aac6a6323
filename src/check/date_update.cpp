#include "check/date_update.h"

#include "platform/read_only.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pyx {

std::optional<DosStamp> NewestMemberStamp(const ArchiverBinding& engine, const std::string& path) {
    std::optional<DosStamp> newest;
    const ArchiveHandle handle = engine.openArchive(nullptr, path.c_str(), 1);
    for (int found = engine.findFirst(handle, "*.*", nullptr); found != -1;
         found = engine.findNext(handle, nullptr)) {
        const DosStamp stamp{engine.getDate(handle), engine.getTime(handle)};
        if (!newest || stamp.Key() > newest->Key())
            newest = stamp;
    }
    engine.closeArchive(handle);
    return newest;
}

void UpdateArchiveDate(const std::string& path, int kind, const ArchiverTable& table) {
    const ArchiverBinding* engine = UsableBinding(table, kind);
    if (!engine)
        return;
    const auto newest = NewestMemberStamp(*engine, path);
    if (!newest)
        return;
    const auto when = TimeFromDosStamp(*newest);
    if (!when)
        return;
    // Opened for appending and never created: a file that is gone stays gone, and a file the
    // user may not write keeps its date.
    if (IsReadOnlyFile(path))
        return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    const timespec times[2] = {{0, UTIME_OMIT}, {*when, 0}};
    ::futimens(fd, times);
    ::close(fd);
}

}  // namespace pyx
