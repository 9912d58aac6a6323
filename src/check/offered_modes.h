#pragma once

#include <array>

#include "archivers/binding_table.h"

namespace pyx {

// The modes a check run does not offer, turned Off: ZIP at Strict or Probe with an engine older
// than version 1.00, and CAB or RAR at Probe. Returns the modes as a run uses them.
std::array<int, kLastArchiverKind + 1> DropUnofferedModes(
    std::array<int, kLastArchiverKind + 1> modes, const ArchiverTable& table);

}  // namespace pyx
