// Windows-1252 and UTF-8, and the case of the letters 1252 holds.
#include "model/text_codec.h"

#include <algorithm>

namespace tarn {
namespace {

// Bytes 0x80..0x9F; the rest of the code page is Latin-1. The undefined five are their
// own control characters.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

std::optional<unsigned char> ansiByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    const auto* at = std::find(std::begin(kHighControls), std::end(kHighControls), c);
    if (at == std::end(kHighControls)) return std::nullopt;
    return static_cast<unsigned char>(0x80 + (at - std::begin(kHighControls)));
}

// The bounds of the first continuation byte after a lead byte (excluding overlong forms,
// surrogates and characters above U+10FFFF), and how many continuation bytes follow.
struct Lead {
    int following;
    unsigned char low, high;
};
std::optional<Lead> leadOf(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return Lead{1, 0x80, 0xBF};
    if (byte == 0xE0) return Lead{2, 0xA0, 0xBF};
    if (byte == 0xED) return Lead{2, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return Lead{2, 0x80, 0xBF};
    if (byte == 0xF0) return Lead{3, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return Lead{3, 0x80, 0xBF};
    if (byte == 0xF4) return Lead{3, 0x80, 0x8F};
    return std::nullopt;
}

}  // namespace

char32_t ansiCharacter(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::string ansiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi) appendUtf8(out, ansiCharacter(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> utf8ToAnsi(std::string_view utf8, std::string* refused) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> c = nextUtf8(utf8, at);
        const std::optional<unsigned char> byte = c ? ansiByte(*c) : std::nullopt;
        if (!byte) {
            if (refused) {
                refused->clear();
                appendUtf8(*refused, c.value_or(kReplacement));
            }
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

char foldAnsiCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<char>(byte + 0x20);
    switch (byte) {
        case 0x8A:  // Š
        case 0x8C:  // Œ
        case 0x8E:  // Ž
            return static_cast<char>(byte + 0x10);
        case 0x9F:  // Ÿ
            return static_cast<char>(0xFF);
        default:
            return c;
    }
}

std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at) {
    const auto first = static_cast<unsigned char>(text[at++]);
    if (first < 0x80) return first;
    const std::optional<Lead> lead = leadOf(first);
    if (!lead || text.size() - at < static_cast<std::size_t>(lead->following)) return std::nullopt;
    char32_t c = first & (0x3F >> lead->following);
    for (int i = 0; i < lead->following; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        const unsigned char low = i == 0 ? lead->low : 0x80, high = i == 0 ? lead->high : 0xBF;
        if (next < low || next > high) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(lead->following);
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void Utf8Check::feed(std::string_view bytes) {
    for (char ch : bytes) {
        if (!valid_) return;
        const auto byte = static_cast<unsigned char>(ch);
        if (pending_ > 0) {
            valid_ = byte >= low_ && byte <= high_;
            low_ = 0x80, high_ = 0xBF;
            --pending_;
        } else if (byte >= 0x80) {
            nonAscii_ = true;
            const std::optional<Lead> lead = leadOf(byte);
            valid_ = lead.has_value();
            if (lead) pending_ = lead->following, low_ = lead->low, high_ = lead->high;
        }
    }
}

}  // namespace tarn
