#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in ZIP engine: every entry point of the archiver contract.
ArchiverBinding ZipEngineBinding();

}  // namespace pyx
