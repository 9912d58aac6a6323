#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pyx {

// A member name as stored in an ARJ header, as UTF-8. Archivers on MS-DOS, OS/2 and Windows
// store their code page (CP932 here); other hosts keep UTF-8 when the bytes are UTF-8 and are
// read as CP932 otherwise. A byte that converts to nothing becomes "%XX" (its hex value), so a
// name never fails and never loses where its bytes differ.
std::string ArjNameToUtf8(std::string_view stored, std::uint8_t hostOs);

}  // namespace pyx
