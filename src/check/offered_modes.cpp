#include "check/offered_modes.h"

namespace pyx {

std::array<int, kLastArchiverKind + 1> DropUnofferedModes(
    std::array<int, kLastArchiverKind + 1> modes, const ArchiverTable& table) {
    const ArchiverBinding* zip = UsableBinding(table, KindZip);
    if ((modes[KindZip] == 3 || modes[KindZip] == 4) && zip && zip->getVersion() < 100) {
        modes[KindZip] = 0;
    }
    if (modes[KindCab] == 4)
        modes[KindCab] = 0;
    if (modes[KindRar] == 4)
        modes[KindRar] = 0;
    return modes;
}

}  // namespace pyx
