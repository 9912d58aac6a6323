#pragma once

#include <cstddef>
#include <cstdint>

namespace pyx {

// CRC-32 as ZIP, ARJ and zlib use it (reflected polynomial 0xEDB88320). Start with 0 and feed
// the running value back in to continue over the next piece.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);

}  // namespace pyx
