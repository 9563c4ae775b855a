// Reading frequencies typed in kHz: exact tenths, exact equality, and what counts as a number.
#include <gtest/gtest.h>

#include "shell/khz_text.h"

namespace tarn {
namespace {

long long tenths(std::string_view text) {
    return KhzValue::parse(text)->tenths();
}

TEST(KhzText, OneDecimalIsStoredExactlyAsTyped) {
    EXPECT_EQ(tenths("7000.3"), 70003);   // never 70002
    EXPECT_EQ(tenths("7000.35"), 70003);  // further decimals are dropped, not rounded
    EXPECT_EQ(tenths("7000.39999"), 70003);
    EXPECT_EQ(tenths("29999.9"), 299999);
    EXPECT_EQ(tenths("0.1"), 1);
    for (int value = 5000; value < 300000; value += 7) {
        const std::string text = formatKhz(static_cast<unsigned>(value));
        ASSERT_EQ(tenths(text), value) << text;
    }
}

TEST(KhzText, NumberAtTheStartCountsRestIsIgnored) {
    EXPECT_EQ(tenths("  7000.5 kHz"), 70005);
    EXPECT_EQ(tenths("+3500"), 35000);
    EXPECT_EQ(tenths("3500."), 35000);
    EXPECT_EQ(tenths(".5"), 5);
    EXPECT_EQ(tenths("3.5e3"), 35000);
    EXPECT_EQ(tenths("35000E-1"), 35000);
    EXPECT_EQ(tenths("3500e"), 35000);  // an exponent needs digits
    EXPECT_EQ(tenths("3500e+x"), 35000);
    EXPECT_EQ(tenths("-1800"), -18000);
    EXPECT_EQ(tenths("0x1F40"), 0);  // no hexadecimal
    for (const char* text : {"", "   ", "abc", ".", "-", "+.e5", "kHz 7000"})
        EXPECT_FALSE(KhzValue::parse(text)) << text;
}

TEST(KhzText, HugeValuesSaturateInsteadOfWrapping) {
    EXPECT_GE(tenths("1e300"), 300000);
    EXPECT_GE(tenths("99999999999999999999999"), 300000);
    EXPECT_EQ(tenths("1e-300"), 0);
    EXPECT_EQ(tenths("-0"), 0);
}

TEST(KhzText, EqualityIsNumeric) {
    auto same = [](std::string_view a, std::string_view b) {
        return *KhzValue::parse(a) == *KhzValue::parse(b);
    };
    EXPECT_TRUE(same("5000", "5000.0"));
    EXPECT_TRUE(same("5000", "5e3"));
    EXPECT_TRUE(same("05000.00", " 5000"));
    EXPECT_TRUE(same("0", "-0.0"));
    EXPECT_FALSE(same("5000", "5000.1"));
    EXPECT_FALSE(same("5000", "5000.01"));  // same tenths, different numbers
    EXPECT_FALSE(same("5000", "-5000"));
    EXPECT_FALSE(same("5000", "500"));
}

TEST(KhzText, FormatIsOneDecimalWithAPoint) {
    EXPECT_EQ(formatKhz(37400), "3740.0");
    EXPECT_EQ(formatKhz(70003), "7000.3");
    EXPECT_EQ(formatKhz(0), "0.0");
    EXPECT_EQ(formatKhz(299999), "29999.9");
}

}  // namespace
}  // namespace tarn
