#include "archivers/arj_engine.h"

namespace pyx {

// Not built yet: an empty record, so the kind counts as missing.
ArchiverBinding ArjEngineBinding() {
    return ArchiverBinding{};
}

}  // namespace pyx
