#include "archivers/crc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace pyx {

// zlib's CRC-32 is the same code and about 2.5 times faster than a table per 8 bytes.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    const auto* p = static_cast<const Bytef*>(data);
    uLong c = crc;
    while (size > 0) {
        const auto step = std::min<std::size_t>(size, std::numeric_limits<uInt>::max());
        c = crc32(c, p, static_cast<uInt>(step));
        p += step;
        size -= step;
    }
    return static_cast<std::uint32_t>(c);
}

}  // namespace pyx
