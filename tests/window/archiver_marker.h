#pragma once

#include "archivers/binding_table.h"

// Marks the Lzh slot of the binding table, whatever the engines fill in, so a test can see
// whether ReleaseArchivers ran since.
inline void MarkArchiversBound() {
    static const char marker = 0;
    pyx::archiverBindings[pyx::KindLzh].module = &marker;
}

inline bool ArchiversReleased() {
    return pyx::archiverBindings[pyx::KindLzh].module == nullptr;
}
