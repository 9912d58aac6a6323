#pragma once

#include <array>

#include "archivers/archive_kind.h"
#include "archivers/archiver_contract.h"

namespace pyx {

// One record per kind, indexed by ArchiveKind (Lzh 1 .. Rar 5; slot 0 stays empty).
using ArchiverTable = std::array<ArchiverBinding, kLastArchiverKind + 1>;

extern ArchiverTable archiverBindings;

// Fills archiverBindings with the built-in engines. Runs once, before the form exists.
void BindArchivers();
// Empties the table; nothing calls an engine afterwards.
void ReleaseArchivers();

// The DLL file name that names each kind's slot ("UNLHA32.DLL" for Lzh ...); "" for others.
const char* ArchiverDllName(int kind);

// The kind's record when it is complete, else nullptr: callers never see a null entry point.
const ArchiverBinding* UsableBinding(const ArchiverTable& table, int kind);

}  // namespace pyx
