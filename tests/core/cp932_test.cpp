#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace pyx {
namespace {

TEST(Cp932, CharactersAndTheirRoundTrip) {
    struct Case {
        const char* utf8;
        std::optional<std::string> cp932;  // nullopt: CP932 has no code for it
        bool comesBackIdentical;
    };
    const Case cases[] = {
        {"①", "\x87\x40", true},    // NEC special character
        {"髙", "\xFB\xFC", true},   // IBM extension
        {"表", "\x95\x5C", true},   // trail byte is the code of a backslash
        {"ｱ", "\xB1", true},        // half-width katakana, one byte
        {"～", "\x81\x60", true},   // U+FF5E
        {"〜", "\x81\x60", false},  // U+301C comes back as ～ U+FF5E
        {"−", "\x81\x7C", false},   // U+2212 comes back as － U+FF0D
        {"¥", "\x5C", false},       // comes back as a backslash
        {"😀", std::nullopt, false}, {"\xFF", std::nullopt, false},  // not UTF-8
    };
    for (const auto& c : cases) {
        const auto cp932 = Utf8ToCp932(c.utf8);
        EXPECT_EQ(cp932, c.cp932) << c.utf8;
        if (cp932) {
            EXPECT_EQ(Cp932ToUtf8(*cp932) == std::string(c.utf8), c.comesBackIdentical) << c.utf8;
        }
    }
    EXPECT_EQ(Cp932ToUtf8("\x81"), std::nullopt);  // lead byte without its trail
    EXPECT_EQ(Cp932ToUtf8("a\x80"), std::nullopt);
}

TEST(Cp932, TextFileIsCp932OnlyWhenEveryCharacterComesBack) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"", ""},
        {"a\nb\n", "a\r\nb\r\n"},
        {"①髙\n", "\x87\x40\xFB\xFC\r\n"},
        {"/a/〜b\n", bom + "/a/〜b\r\n"},
        {"ok\n/a/¥\n", bom + "ok\r\n/a/¥\r\n"},
        {"😀\n", bom + "😀\r\n"},
        {"\xFF\xFE\n", bom + "\xFF\xFE\r\n"},  // not UTF-8: kept byte for byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeTextFile(c.text), c.bytes) << c.text;
        EXPECT_EQ(DecodeTextFile(c.bytes), c.text) << c.text;
    }
}

TEST(Cp932, DecodeThenEncodeGivesTheTextBack) {
    for (const std::string text : {"a\r\nb", "lone\rcr\n", "\n\n", "〜\r\n〜", "\xEF\xBB\xBFx"}) {
        EXPECT_EQ(DecodeTextFile(EncodeTextFile(text)), text) << text;
    }
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"a\x80"
         "b",
         "a\uFFFD"
         "b"},
        {"\x82\xA0\r\n\xA0", "あ\n\uFFFD"},
        {"ab\x81", "ab\uFFFD"},        // lead byte cut off at the end
        {"\x81\x20x", "\uFFFD x"},     // lead byte with a trail that is no trail
        {"\xEF\xBB\xBF\xFF", "\xFF"},  // behind the mark the bytes are taken as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeTextFile(c.bytes), c.text);
    }
}

}  // namespace
}  // namespace pyx
