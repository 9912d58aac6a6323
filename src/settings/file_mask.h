#pragma once

#include <array>
#include <string>

#include "archivers/archive_kind.h"

namespace pyx {

// The file list's mask for the modes of the five kinds (indexed by ArchiveKind, [0] unused):
// "*.lzh;" "*.zip;" "*.arj;" "*.cab;" "*.rar;" for each kind that is not Off, in that order, then
// "*.exe;" when self-extracting archives are wanted and some kind is on.
std::string BuildFileMask(const std::array<int, kLastArchiverKind + 1>& modes, bool selfExtracting);

}  // namespace pyx
