// Reading frequencies typed in kHz: exact tenths, exact equality, and what counts as a number.
#include <gtest/gtest.h>

#include "model/khz_text.h"

namespace tarn {
namespace {

long long tenths(std::string_view text) {
    return KhzValue::parse(text)->tenths();
}

TEST(KhzText, OneDecimalIsStoredExactlyAsTyped) {
    EXPECT_EQ(tenths("7000.3"), 70003);   // never 70002
    EXPECT_EQ(tenths("7000.39"), 70003);  // further decimals are dropped, not rounded
    for (unsigned value = 0; value < 300000; value += 7) {
        const std::string text = formatKhz(value);  // "%.1f" of value / 10
        ASSERT_EQ(tenths(text), static_cast<long long>(value)) << text;
    }
}

TEST(KhzText, NumberAtTheStartCountsRestIsIgnored) {
    EXPECT_EQ(tenths("  7000.5 kHz"), 70005);
    EXPECT_EQ(tenths("+3500."), 35000);
    EXPECT_EQ(tenths(".5"), 5);
    EXPECT_EQ(tenths("3.5e3"), 35000);
    EXPECT_EQ(tenths("3500e+x"), 35000);  // an exponent needs digits
    EXPECT_EQ(tenths("-1800"), -18000);
    EXPECT_EQ(tenths("0x1F40"), 0);      // no hexadecimal
    EXPECT_GE(tenths("1e300"), 300000);  // saturates instead of wrapping
    EXPECT_GE(tenths("99999999999999999999999"), 300000);
    EXPECT_EQ(tenths("1e-300"), 0);
    for (const char* text : {"", "   ", "abc", ".", "-", "+.e5", "kHz 7000"})
        EXPECT_FALSE(KhzValue::parse(text)) << text;
}

TEST(KhzText, EqualityIsNumeric) {
    auto same = [](std::string_view a, std::string_view b) {
        return *KhzValue::parse(a) == *KhzValue::parse(b);
    };
    EXPECT_TRUE(same("5000", "5000.0"));
    EXPECT_TRUE(same("05000.00", "5e3"));
    EXPECT_TRUE(same("0", "-0.0"));
    EXPECT_FALSE(same("5000", "5000.1"));
    EXPECT_FALSE(same("5000", "5000.01"));  // same tenths, different numbers
    EXPECT_FALSE(same("5000", "-5000"));
    EXPECT_FALSE(same("5000", "500"));
}

}  // namespace
}  // namespace tarn
