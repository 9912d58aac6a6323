#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pyx {

// The command line of pyxidane-check.
struct CliOptions {
    int mode = 2;                 // CheckMode for every kind: 1 simple, 2 normal, 3 strict, 4 probe
    bool selfExtracting = false;  // --sfx: also test .exe files that hold an archive
    bool recurse = true;          // --no-recurse: only the named folders themselves
    bool updateDates = false;     // --update-dates: give sound archives their newest member's date
    int jobs = 0;                 // --jobs N; 0: one per core
    bool progress = true;         // --no-progress: never draw the progress line
    bool help = false;
    std::vector<std::string> paths;
};

// nullopt with *error set when the command line is not understood.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string* error);

extern const char* const kCliUsage;

}  // namespace pyx
