#pragma once

#include "archivers/archiver_contract.h"

namespace pyx {

// The built-in ARJ engine: every entry point of the archiver contract, on our own reader.
//
// Garbled (password-encrypted) members: their headers are sound, so depths 0 and 1 pass; their
// data cannot be verified without the password, so depth 2 answers 0 and " t " / " x " answer
// kErrorPassword, as an encrypted member fails when libarchive is asked for its data.
ArchiverBinding ArjEngineBinding();

}  // namespace pyx
