// Runs the ARJ engine from the command line, for benchmarks and by hand:
//   arj_driver t ARCHIVE          test every member (" t "), prints the result code
//   arj_driver x ARCHIVE DEST/    extract into DEST
//   arj_driver c0|c1|c2 ARCHIVE   checkArchive at depth 0, 1 or 2, prints its answer
//   arj_driver l ARCHIVE          lists the members' MS-DOS date and time
// Exits 0 when the engine answered "sound".
#include <cstdio>
#include <cstring>
#include <string>

#include "archivers/arj_engine.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s t|x|c0|c1|c2|l ARCHIVE [DEST/]\n", argv[0]);
        return 2;
    }
    const pyx::ArchiverBinding arj = pyx::ArjEngineBinding();
    const std::string op = argv[1];
    const std::string archive = argv[2];
    if (op == "t" || op == "x") {
        std::string line = " " + op + " \"" + archive + "\"";
        if (op == "x" && argc > 3)
            line += std::string(" \"") + argv[3] + "\"";
        char out[1];
        const int code = arj.command(nullptr, line.c_str(), out, 0);
        std::printf("%#x\n", static_cast<unsigned>(code));
        return code == 0 ? 0 : 1;
    }
    if (op.size() == 2 && op[0] == 'c' && op[1] >= '0' && op[1] <= '2') {
        const int answer = arj.checkArchive(archive.c_str(), op[1] - '0');
        std::printf("%d\n", answer);
        return answer == 1 ? 0 : 1;
    }
    if (op == "l") {
        pyx::ArchiveHandle h = arj.openArchive(nullptr, archive.c_str(), 1);
        for (int r = arj.findFirst(h, "*.*", nullptr); r != -1; r = arj.findNext(h, nullptr)) {
            std::printf("%04x %04x\n", arj.getDate(h), arj.getTime(h));
        }
        arj.closeArchive(h);
        return h ? 0 : 1;
    }
    std::fprintf(stderr, "unknown operation %s\n", op.c_str());
    return 2;
}
