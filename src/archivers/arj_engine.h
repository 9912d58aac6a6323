#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in ARJ engine: every entry point of the archiver contract.
ArchiverBinding ArjEngineBinding();

}  // namespace pyx
