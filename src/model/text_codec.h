#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// The records hold their texts (names, serials, labels, the dealer text) as 8-bit
// characters of Windows-1252, the system's ANSI code page. Every front end decodes and
// encodes them here. The five bytes 1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) stand
// for the control characters of the same number, as Windows decodes them, so every byte
// decodes to a character of its own and encodes back to itself.

// The character of one byte.
char32_t ansiCharacter(unsigned char byte);
// The record's text as UTF-8.
std::string ansiToUtf8(std::string_view ansi);

// UTF-8 text in the records' form; nothing when a character has no 8-bit form, and then
// `refused` (when given) is that first character as UTF-8 (a byte that is not UTF-8 counts
// as the replacement character U+FFFD). Never a "?" in its place.
std::optional<std::string> utf8ToAnsi(std::string_view utf8, std::string* refused = nullptr);

// The small form of a letter the code page holds in both forms (A-Z, À-Þ but ×, Š Œ Ž
// Ÿ); any other byte is returned as it is.
char foldAnsiCase(char c);

// UTF-8, one character at a time: the character starting at `at` (which moves past it),
// or nothing for a byte that does not start a well-formed character (`at` moves by one).
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at);
void appendUtf8(std::string& out, char32_t c);

// Whether every byte sequence of the text is well-formed UTF-8, fed piece by piece (a
// character may be split between pieces).
class Utf8Check {
  public:
    void feed(std::string_view bytes);
    // Well-formed so far and not ending inside a character.
    bool valid() const { return valid_ && pending_ == 0; }
    bool sawNonAscii() const { return nonAscii_; }

  private:
    bool valid_ = true;
    bool nonAscii_ = false;
    int pending_ = 0;  // continuation bytes still to come
    unsigned char low_ = 0x80, high_ = 0xBF;
};

}  // namespace tarn
