#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// A frequency typed in kHz: one decimal number at the start of the text (blanks, a sign,
// digits with an optional point, an optional exponent); whatever follows is ignored.
// The number is kept exactly as typed, so no binary rounding ever moves a tenth.
class KhzValue {
  public:
    // Nothing when the text does not start with a number.
    static std::optional<KhzValue> parse(std::string_view text);

    // Tenths of a kHz (the stored unit of 100 Hz), further decimals dropped; saturates
    // far outside the 20-bit range rather than overflowing.
    long long tenths() const { return tenths_; }

    // Equal as numbers: "5000" equals "5000.0" and "5e3", not "5000.1".
    bool operator==(const KhzValue& other) const = default;

  private:
    bool negative_ = false;
    std::string digits_;      // significant digits, no leading or trailing zeros; empty for 0
    long long exponent_ = 0;  // value = digits_ * 10^exponent_
    long long tenths_ = 0;
};

// The kHz form of a stored value in units of 100 Hz: what "%.1f" of value / 10 gives in
// the C locale, always with a point, whatever locale the process runs in.
std::string formatKhz(unsigned value);
// The same text written at `at` (room for 12 characters); returns the end.
char* putKhz(char* at, unsigned value);

}  // namespace tarn
