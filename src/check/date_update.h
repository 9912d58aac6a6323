#pragma once

#include <optional>
#include <string>

#include "archivers/binding_table.h"
#include "archivers/dos_time.h"

namespace pyx {

// The newest member stamp (by date * 65536 + time) of an archive, listed through the kind's
// engine; nullopt when it lists no member.
std::optional<DosStamp> NewestMemberStamp(const ArchiverBinding& engine, const std::string& path);

// Gives an archive of kind 1..5 the newest date stored for its members as its last-write time.
// Never creates a file; silent on every failure (no member, missing or read-only file, a stamp
// that names no valid time).
void UpdateArchiveDate(const std::string& path, int kind, const ArchiverTable& table);

}  // namespace pyx
