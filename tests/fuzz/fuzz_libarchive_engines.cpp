// Fuzzes the LZH, ZIP, CAB and RAR engines: every depth of checkArchive, the test command and the
// member listing, on the input written to a file of this process.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "archivers/archiver_contract.h"
#include "archivers/cab_engine.h"
#include "archivers/lzh_engine.h"
#include "archivers/rar_engine.h"
#include "archivers/zip_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/pyx-fuzz-engines-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    static const pyx::ArchiverBinding engines[] = {pyx::LzhEngineBinding(), pyx::ZipEngineBinding(),
                                                   pyx::CabEngineBinding(),
                                                   pyx::RarEngineBinding()};
    const std::string line = " t \"" + path + "\"";
    for (const auto& b : engines) {
        for (int mode = 0; mode <= 2; ++mode) {
            const int r = b.checkArchive(path.c_str(), mode);
            if (r != 0 && r != 1)
                __builtin_trap();
        }
        char out[1] = {};
        const int code = b.command(nullptr, line.c_str(), out, 0);
        if (code != 0 && (code < 0x8005 || code > 0x8038))
            __builtin_trap();
        pyx::ArchiveHandle h = b.openArchive(nullptr, path.c_str(), 1);
        for (int r = b.findFirst(h, "*.*", nullptr); r != -1; r = b.findNext(h, nullptr)) {
            b.getDate(h);
            b.getTime(h);
        }
        b.closeArchive(h);
    }
    return 0;
}
