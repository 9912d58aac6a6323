#include "platform/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace pyx {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string ReplacementCharacter(unsigned char) {
    return "\xEF\xBF\xBD";  // U+FFFD
}

// Converts the whole input. An invalid or incomplete sequence fails the conversion, or, with a
// marker, costs one input byte and adds the marker's text for that byte in its place.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   MarkByte marker) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer;
    // glibc's iconv takes a non-const input pointer but never writes through it.
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    bool ok = true;
    for (;;) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const bool flushing = inLeft == 0;
        const std::size_t result = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                            : iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer.data(), outPtr);
        if (result != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (error == E2BIG)
            continue;
        if (!marker) {
            ok = false;
            break;
        }
        if (flushing) {
            out += marker(0);
            break;
        }
        out += marker(static_cast<unsigned char>(*inPtr));
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

std::string Replace(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0;;) {
        const std::size_t next = text.find(what, at);
        out += text.substr(at, next - at);
        if (next == std::string_view::npos)
            return out;
        out += with;
        at = next + what.size();
    }
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return Convert("CP932", "UTF-8", utf8, nullptr);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932, nullptr);
}

std::string EncodeTextFile(std::string_view utf8Text) {
    const std::string text = Replace(utf8Text, "\n", "\r\n");
    // No CP932 text begins with the bytes of the mark (EF is no lead byte there), so the two
    // kinds of file never look alike.
    if (const auto cp932 = Utf8ToCp932(text); cp932 && Cp932ToUtf8(*cp932) == text)
        return *cp932;
    return std::string(kByteOrderMark) + text;
}

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark))
        return Replace(bytes.substr(kByteOrderMark.size()), "\r\n", "\n");
    // Without a converter (no gconv modules) the bytes are the best text there is.
    return Replace(
        Convert("UTF-8", "CP932", bytes, &ReplacementCharacter).value_or(std::string(bytes)),
        "\r\n", "\n");
}

std::string Cp932ToUtf8Marking(std::string_view cp932, MarkByte marker) {
    if (auto text = Convert("UTF-8", "CP932", cp932, marker))
        return *std::move(text);
    // Without a converter, only ASCII is known for sure.
    std::string out;
    for (const char c : cp932) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x80 ? std::string(1, c) : marker(byte);
    }
    return out;
}

}  // namespace pyx
