// The one 8-bit codec of the records: Windows-1252 both ways, refusals, case folding.
#include <gtest/gtest.h>

#include <string>

#include "model/text_codec.h"

namespace tarn {
namespace {

// Every byte decodes to a character of its own and encodes back to itself; the five bytes
// 1252 leaves undefined are the control characters of their number, as on Windows.
TEST(TextCodec, EveryByteRoundTripsAsWindows1252) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = ansiToUtf8(all);
    EXPECT_EQ(utf8ToAnsi(utf8), all);
    EXPECT_EQ(ansiToUtf8("\x80\x8A\x9F\xE9\xFF"), "€ŠŸéÿ");
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(ansiCharacter(static_cast<unsigned char>(undefined)), char32_t(undefined));
    EXPECT_EQ(ansiCharacter(0x9C), U'œ');
}

TEST(TextCodec, RefusesNamingTheFirstCharacterItCannotHold) {
    std::string refused;
    EXPECT_FALSE(utf8ToAnsi("Łódź Marine", &refused));
    EXPECT_EQ(refused, "Ł");
    EXPECT_FALSE(utf8ToAnsi("ok \xC2\x80 ok", &refused)) << "U+0080 is no 1252 character";
    EXPECT_EQ(refused, "\xC2\x80");
    EXPECT_FALSE(utf8ToAnsi("\xE0\xA0\x80", &refused));  // U+0800, the first of three bytes
    EXPECT_EQ(refused, "\xE0\xA0\x80");
    for (const char* broken :
         {"a\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        EXPECT_FALSE(utf8ToAnsi(broken, &refused)) << broken;
        EXPECT_EQ(refused, "\uFFFD") << "a byte that is not UTF-8: " << broken;
    }
    EXPECT_EQ(utf8ToAnsi("€ Müller"), "\x80 M\xFCller");
}

// Small and capital forms of every letter 1252 holds in both; × ÷ ß µ ÿ have no pair.
TEST(TextCodec, FoldsEveryLetterPairOfTheCodePage) {
    std::string folded;
    for (int b = 0; b < 256; ++b) folded += foldAnsiCase(static_cast<char>(b));
    std::string expected;
    for (int b = 0; b < 256; ++b) {
        const bool capital = (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7);
        expected += static_cast<char>(capital ? b + 0x20 : b);
    }
    for (auto [capital, small] : {std::pair{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}})
        expected[std::size_t(capital)] = static_cast<char>(small);
    EXPECT_EQ(folded, expected);
}

// A character split between the pieces of a file still counts as one.
TEST(TextCodec, Utf8CheckAcrossPieces) {
    Utf8Check split, latin;
    for (const char* piece : {"abc\xE2", "\x82", "\xAC!"}) split.feed(piece);
    latin.feed("caf\xE9!");
    EXPECT_TRUE(split.valid() && split.sawNonAscii() && !latin.valid());
}

}  // namespace
}  // namespace tarn
