#include "check/extract_mode.h"

#include <sys/stat.h>
#include <unistd.h>

#include "check/check_one.h"
#include "platform/read_only.h"

namespace pyx {

ExtractResult ExtractArchive(const ArchiverBinding& engine, int kind, const std::string& folder,
                             const std::string& fullPath, const std::string& stem, bool makeFolder,
                             bool deleteAfter) {
    ExtractResult result;
    std::string line = CommandPrefix(kind, 'x') + "\"" + fullPath + "\"";
    if (makeFolder) {
        // The folder is named by full path, so a current directory moved meanwhile cannot
        // send the members elsewhere. An existing folder or an empty stem is a failure.
        const std::string destination = JoinPath(folder, stem);
        if (stem.empty() || ::mkdir(destination.c_str(), 0777) != 0) {
            result.extraCode = 1;
            return result;
        }
        line += " \"" + destination + "/\"";
    }
    char output[1] = {0};
    result.resultCode = engine.command(nullptr, line.c_str(), output, 0);
    if (deleteAfter && result.resultCode == 0) {
        // A read-only archive is kept, as a system that refuses to delete such a file would.
        if (IsReadOnlyFile(fullPath) || ::unlink(fullPath.c_str()) != 0) {
            result.extraCode = 2;
        }
    }
    return result;
}

}  // namespace pyx
