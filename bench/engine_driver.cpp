// Runs one built-in engine entry point on one archive, for the benchmark and by hand:
//   engine_driver KIND check PATH MODE     prints checkArchive's result
//   engine_driver KIND test PATH           prints command(" t ")'s result (hex)
//   engine_driver KIND extract PATH DEST/  prints command(" x ")'s result (hex)
//   engine_driver KIND list PATH           prints each member's MS-DOS date and time (hex)
// KIND is lzh, zip, arj, cab or rar. The exit status is 0 when the engine said "sound".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archivers/archive_kind.h"
#include "archivers/binding_table.h"
#include "platform/time_zone.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: engine_driver KIND check|test|extract|list PATH [ARG]\n");
        return 2;
    }
    const char* names[] = {"", "lzh", "zip", "arj", "cab", "rar"};
    int kind = 0;
    for (int k = pyx::kFirstArchiverKind; k <= pyx::kLastArchiverKind; ++k) {
        if (std::strcmp(argv[1], names[k]) == 0)
            kind = k;
    }
    pyx::CacheLocalTimeZone();
    pyx::BindArchivers();
    const pyx::ArchiverBinding* b = pyx::UsableBinding(pyx::archiverBindings, kind);
    if (!b) {
        std::fprintf(stderr, "no engine for %s\n", argv[1]);
        return 2;
    }
    const std::string op = argv[2];
    const char* path = argv[3];
    if (op == "check" && argc > 4) {
        const int r = b->checkArchive(path, std::atoi(argv[4]));
        std::printf("%d\n", r);
        return r ? 0 : 1;
    }
    if (op == "test" || op == "extract") {
        std::string line = op == "test" ? " t \"" : " x \"";
        line += path;
        line += '"';
        if (op == "extract" && argc > 4)
            line += std::string(" \"") + argv[4] + '"';
        char out[1] = {};
        const int r = b->command(nullptr, line.c_str(), out, 0);
        std::printf("0x%X\n", static_cast<unsigned>(r));
        return r ? 1 : 0;
    }
    if (op == "list") {
        pyx::ArchiveHandle h = b->openArchive(nullptr, path, 1);
        for (int r = b->findFirst(h, "*.*", nullptr); r != -1; r = b->findNext(h, nullptr)) {
            std::printf("%04X %04X\n", b->getDate(h), b->getTime(h));
        }
        b->closeArchive(h);
        return 0;
    }
    std::fprintf(stderr, "unknown operation %s\n", op.c_str());
    return 2;
}
