#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in RAR engine: every entry point of the archiver contract.
ArchiverBinding RarEngineBinding();

}  // namespace pyx
