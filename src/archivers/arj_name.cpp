#include "archivers/arj_name.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "archivers/arj_format.h"

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

void AppendEscaped(std::string& out, unsigned char byte) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", byte);
    out += hex;
}

std::string FromCp932(std::string_view stored) {
    std::string out;
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (const char c : stored) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                out += c;
            } else {
                AppendEscaped(out, byte);
            }
        }
        return out;
    }
    char* in = const_cast<char*>(stored.data());
    std::size_t inLeft = stored.size();
    char buffer[256];
    while (inLeft > 0) {
        char* dest = buffer;
        std::size_t destLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &dest, &destLeft);
        const int e = errno;
        out.append(buffer, static_cast<std::size_t>(dest - buffer));
        if (r == static_cast<std::size_t>(-1) && e != E2BIG) {
            AppendEscaped(out, static_cast<unsigned char>(*in));  // EILSEQ or EINVAL
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string ArjNameToUtf8(std::string_view stored, std::uint8_t hostOs) {
    if (!IsCodePageHost(hostOs) && IsUtf8(stored))
        return std::string(stored);
    return FromCp932(stored);
}

}  // namespace pyx
