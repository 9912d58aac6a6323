#pragma once

// A binding table of recording fakes: every entry point logs its call, and the answers are set
// per kind by the test.
#include <map>
#include <string>
#include <vector>

#include "archivers/binding_table.h"

namespace pyx::testing {

struct FakeMember {
    std::uint16_t date, time;
};

struct FakeKind {
    int checkAnswer = 1;    // what checkArchive returns at depth 1..3
    int probeAnswer = 0;    // what checkArchive returns at mode 0 for a .exe
    int commandAnswer = 0;  // what command returns
    std::vector<FakeMember> members;
};

struct FakeEngines {
    FakeEngines();
    ~FakeEngines();
    ArchiverTable table{};
    std::map<int, FakeKind> kinds;   // by ArchiveKind
    std::vector<std::string> calls;  // "<kind>:<entry point>:<arguments>"
};

}  // namespace pyx::testing
