#pragma once

#include <string>

#include "archivers/archiver_contract.h"

namespace pyx {

struct ExtractResult {
    int resultCode = 0;  // the extract command's result; 0 when it did not run
    int extraCode = 0;   // 1: the folder could not be made; 2: the archive could not be deleted
};

// Extraction as the test of an archive. With makeFolder, a new folder named by the stem is made
// beside the archive and the members go there; otherwise into the current directory. With
// deleteAfter, the archive is deleted only when the engine reported every member written.
ExtractResult ExtractArchive(const ArchiverBinding& engine, int kind, const std::string& folder,
                             const std::string& fullPath, const std::string& stem, bool makeFolder,
                             bool deleteAfter);

}  // namespace pyx
