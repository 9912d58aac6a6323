#include "archivers/rar_engine.h"

namespace pyx {

// Not built yet: an empty record, so the kind counts as missing.
ArchiverBinding RarEngineBinding() {
    return ArchiverBinding{};
}

}  // namespace pyx
