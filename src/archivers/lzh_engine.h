#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in LZH engine: every entry point of the archiver contract.
ArchiverBinding LzhEngineBinding();

}  // namespace pyx
