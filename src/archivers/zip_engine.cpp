#include "archivers/zip_engine.h"

namespace pyx {

// Not built yet: an empty record, so the kind counts as missing.
ArchiverBinding ZipEngineBinding() {
    return ArchiverBinding{};
}

}  // namespace pyx
