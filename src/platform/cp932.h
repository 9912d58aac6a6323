#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pyx {

// CP932 (the Windows flavour of Shift-JIS) and UTF-8, through glibc's iconv. Each call opens its
// own converter, so every function here may run on any thread.

// nullopt when the text is not valid UTF-8 or holds a character CP932 has no code for.
// Some characters map one way only (〜 U+301C becomes the code of ～ U+FF5E); see EncodeTextFile.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// nullopt when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// Gives the text for one byte that is not valid CP932.
using MarkByte = std::string (*)(unsigned char byte);

// CP932 to UTF-8 that never fails: each byte that is not valid CP932 becomes marker(byte).
std::string Cp932ToUtf8Marking(std::string_view cp932, MarkByte marker);

// The bytes of a text file (the settings file, a saved damaged list) holding utf8Text, whose lines
// end with "\n": every "\n" becomes CR LF. The file is CP932 when the whole text converts and
// converting it back gives the identical text; otherwise it is UTF-8 behind a byte-order mark, so
// no character is ever lost or changed.
std::string EncodeTextFile(std::string_view utf8Text);

// The text of a file made by EncodeTextFile, or by hand: a leading byte-order mark means UTF-8
// (the mark is dropped), otherwise CP932, each byte that is not valid CP932 becoming U+FFFD.
// Every CR LF becomes "\n". Always gives a text, whatever the bytes.
std::string DecodeTextFile(std::string_view bytes);

}  // namespace pyx
