// Fuzzes the ARJ engine: the reader at depths 0 to 2, the " t " command and the listing, on
// the input written to a file of this process's own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "archivers/archiver_errors.h"
#include "archivers/arj_engine.h"
#include "archivers/arj_format.h"

namespace {

// Members may declare up to 4 GiB each; decoding that much from a few bytes is legitimate but
// too slow for fuzzing, so depth 2 runs only when the declared sizes are modest.
bool DeclaresLittleData(const char* path) {
    pyx::ArjFile file;
    pyx::ArjHeader h;
    if (file.Open(path) != pyx::ArjStatus::Ok ||
        pyx::FindMainHeader(file, &h) != pyx::ArjStatus::Ok) {
        return true;
    }
    std::uint64_t total = 0;
    std::uint64_t offset = h.nextOffset;
    bool end = false;
    while (pyx::ReadLocalHeader(file, offset, &h, &end) == pyx::ArjStatus::Ok && !end) {
        total += h.originalSize;
        offset = h.nextOffset;
    }
    return total <= (1u << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/fuzz-arj-" + std::to_string(::getpid()) + ".arj";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const pyx::ArchiverBinding arj = pyx::ArjEngineBinding();
    const int depth0 = arj.checkArchive(path.c_str(), 0);
    const int depth1 = arj.checkArchive(path.c_str(), 1);
    if (depth1 && !depth0)
        __builtin_trap();  // a deeper check never passes what a shallow one failed
    if (DeclaresLittleData(path.c_str())) {
        const int depth2 = arj.checkArchive(path.c_str(), 2);
        const int code = arj.command(nullptr, (" t \"" + path + "\"").c_str(), nullptr, 0);
        if (depth2 && !depth1)
            __builtin_trap();
        if ((code == 0) != (depth2 == 1))
            __builtin_trap();
        if (code != 0 && (code < pyx::kFirstArchiverError || code > pyx::kLastArchiverError)) {
            __builtin_trap();
        }
    }
    pyx::ArchiveHandle h = arj.openArchive(nullptr, path.c_str(), 1);
    for (int r = arj.findFirst(h, "*.*", nullptr); r != -1; r = arj.findNext(h, nullptr)) {
        arj.getDate(h);
        arj.getTime(h);
    }
    arj.closeArchive(h);
    return 0;
}
