#include "model/khz_text.h"

#include <algorithm>
#include <charconv>

namespace tarn {
namespace {

constexpr long long kSaturated = 1'000'000'000'000LL;  // far beyond any frequency
constexpr long long kExponentCap = 100'000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// digits * 10^shift, truncated toward zero, saturating.
long long scaled(const std::string& digits, long long shift) {
    if (digits.empty()) return 0;
    const long long length = static_cast<long long>(digits.size());
    const long long kept = length + shift;  // digits left of the point after the shift
    if (kept <= 0) return 0;
    if (kept > 13) return kSaturated;
    long long value = 0;
    for (long long i = 0; i < kept; ++i) value = value * 10 + (i < length ? digits[i] - '0' : 0);
    return std::min(value, kSaturated);
}

}  // namespace

std::optional<KhzValue> KhzValue::parse(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    KhzValue v;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) v.negative_ = text[i++] == '-';

    std::string mantissa;
    long long pointShift = 0;
    bool anyDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) mantissa += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) {
            mantissa += text[i];
            --pointShift;
        }
    }
    if (!anyDigit) return std::nullopt;

    // An exponent counts only when at least one digit follows the 'e' and its sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            long long exponent = 0;
            for (; j < text.size() && isDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentCap);
            pointShift += negativeExponent ? -exponent : exponent;
        }
    }

    const auto first = mantissa.find_first_not_of('0');
    if (first == std::string::npos) {  // zero, whatever its sign
        v.negative_ = false;
        return v;
    }
    const auto last = mantissa.find_last_not_of('0');
    v.digits_ = mantissa.substr(first, last - first + 1);
    v.exponent_ = pointShift + static_cast<long long>(mantissa.size() - 1 - last);
    v.tenths_ = scaled(v.digits_, v.exponent_ + 1) * (v.negative_ ? -1 : 1);
    return v;
}

// Whole tenths in integers: printf's "%.1f" would take the locale's decimal comma.
char* putKhz(char* at, unsigned value) {
    at = std::to_chars(at, at + 10, value / 10).ptr;
    *at++ = '.';
    *at++ = static_cast<char>('0' + value % 10);
    return at;
}

std::string formatKhz(unsigned value) {
    char text[12];
    return std::string(text, putKhz(text, value));
}

}  // namespace tarn
