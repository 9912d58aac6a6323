#include "archivers/lzh_engine.h"

namespace pyx {

// Not built yet: an empty record, so the kind counts as missing.
ArchiverBinding LzhEngineBinding() {
    return ArchiverBinding{};
}

}  // namespace pyx
