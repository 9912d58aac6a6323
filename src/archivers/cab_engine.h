#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in CAB engine: every entry point of the archiver contract.
ArchiverBinding CabEngineBinding();

}  // namespace pyx
