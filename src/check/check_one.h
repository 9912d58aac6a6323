#pragma once

#include <array>
#include <string>
#include <string_view>

#include "archivers/binding_table.h"

namespace pyx {

// The settings one check reads, taken at the moment of the check.
struct CheckSettings {
    std::array<int, kLastArchiverKind + 1> modes{};  // CheckMode per ArchiveKind; [0] unused
    bool updateDate = false;   // give a sound archive its newest member's date
    bool makeFolder = true;    // extract mode: into a new folder named by the stem
    bool deleteAfter = false;  // extract mode: delete the archive after a clean extraction
};

// What the check of one file found.
struct CheckOutcome {
    int kind = KindNone;  // after the self-extracting probe: 1..5, or 6 for an unclaimed .exe
    bool failed = false;  // true: the file goes into the damaged list
    int resultCode = 0;   // the command's result (probe and extract modes)
    int extraCode = 0;    // 1: extraction folder not made; 2: archive not deleted
};

// The kind of a file by its extension, letters folded to lower case; KindNone for others.
int ArchiveKindOf(std::string_view fileName);

// The file name cut before its first ".": a.b.lzh gives "a".
std::string ArchiveStem(std::string_view fileName);

// The folder and the file name joined with one separator ("/" + "a.lzh" is "/a.lzh").
std::string JoinPath(std::string_view folder, std::string_view fileName);

// The three characters that start a command line for the kind: " t " / " x " for Lzh and Arj,
// "-t " / "-x " for Zip, Cab and Rar.
std::string CommandPrefix(int kind, char command);

// Tests one file at the depth of its kind: probes a self-extracting ".exe" with every enabled
// kind, calls checkArchive (modes 1-3), the test command (4) or extracts (5), and after a pass
// updates the archive's date when asked. A kind whose engine is not complete counts as Off.
CheckOutcome CheckArchiveFile(std::string_view folder, std::string_view fileName,
                              const ArchiverTable& table, const CheckSettings& settings);

}  // namespace pyx
