#include "archivers/arj_name.h"

#include <cstdio>

#include "archivers/arj_format.h"
#include "platform/cp932.h"

namespace pyx {
namespace {

constexpr std::uint8_t kHostOs2 = 5;
constexpr std::uint8_t kHostWin95 = 10;
constexpr std::uint8_t kHostWin32 = 11;

bool IsCodePageHost(std::uint8_t hostOs) {
    return hostOs == kArjHostMsDos || hostOs == kHostOs2 || hostOs == kHostWin95 ||
           hostOs == kHostWin32;
}

// Well-formed lead and continuation bytes; enough to tell UTF-8 from a legacy code page.
bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else if (c >= 0x80) {
            return false;
        }
        if (s.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

// "%XX", the byte's hex value: the name never fails and still shows where its bytes differ.
std::string Escaped(unsigned char byte) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", byte);
    return hex;
}

}  // namespace

std::string ArjNameToUtf8(std::string_view stored, std::uint8_t hostOs) {
    if (!IsCodePageHost(hostOs) && IsUtf8(stored))
        return std::string(stored);
    return Cp932ToUtf8Marking(stored, &Escaped);
}

}  // namespace pyx
