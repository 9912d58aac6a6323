#include "archivers/cab_engine.h"

namespace pyx {

// Not built yet: an empty record, so the kind counts as missing.
ArchiverBinding CabEngineBinding() {
    return ArchiverBinding{};
}

}  // namespace pyx
