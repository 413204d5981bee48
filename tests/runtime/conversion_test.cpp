#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/conversions.h"

namespace brindle::runtime {
namespace {

TEST(ConversionTextToInteger, TakesTheLongestDecimalPrefix) {
    EXPECT_EQ(text_to_integer(" -12abc"), -12);
    EXPECT_EQ(text_to_integer("\t+7"), 7);
    EXPECT_EQ(text_to_integer("12.7"), 12);
    EXPECT_EQ(text_to_integer("1e3"), 1);
    EXPECT_EQ(text_to_integer("0010"), 10);
}

TEST(ConversionTextToInteger, GivesZeroForTextWithoutDigits) {
    EXPECT_EQ(text_to_integer(""), 0);
    EXPECT_EQ(text_to_integer("abc"), 0);
    EXPECT_EQ(text_to_integer("-"), 0);
    EXPECT_EQ(text_to_integer("  "), 0);
    EXPECT_EQ(text_to_integer("- 5"), 0);
    EXPECT_EQ(text_to_integer("\xD6\xD0" "5"), 0);  // a GBK character first
}

TEST(ConversionTextToInteger, SaturatesOutsideTheRange) {
    EXPECT_EQ(text_to_integer("2147483647"), 2147483647);
    EXPECT_EQ(text_to_integer("-2147483648"), INT32_MIN);
    EXPECT_EQ(text_to_integer("2147483648"), INT32_MAX);
    EXPECT_EQ(text_to_integer("-99999999999999999999"), INT32_MIN);
}

TEST(ConversionTextToNumber, TakesDigitsFractionAndExponent) {
    EXPECT_EQ(text_to_number("1e3"), 1000.0);
    EXPECT_EQ(text_to_number("  -2.5xyz"), -2.5);
    EXPECT_EQ(text_to_number(".5"), 0.5);
    EXPECT_EQ(text_to_number("5."), 5.0);
    EXPECT_EQ(text_to_number("2e"), 2.0);
    EXPECT_EQ(text_to_number("2e+"), 2.0);
    EXPECT_EQ(text_to_number("+3E-1"), 0.3);
    EXPECT_EQ(text_to_number("0.1"), 0.1);
}

TEST(ConversionTextToNumber, GivesZeroForNonNumericText) {
    EXPECT_EQ(text_to_number(""), 0.0);
    EXPECT_EQ(text_to_number("abc"), 0.0);
    EXPECT_EQ(text_to_number("."), 0.0);
    EXPECT_EQ(text_to_number("-.e5"), 0.0);
    EXPECT_EQ(text_to_number("inf"), 0.0);
    EXPECT_EQ(text_to_number("nan"), 0.0);
}

TEST(ConversionTextToNumber, SaturatesFarOutOfRange) {
    EXPECT_EQ(text_to_number("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(text_to_number("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(text_to_number("1e-999"), 0.0);
    EXPECT_EQ(text_to_number("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(ConversionNumberToText, WholeNumbersArePlainDigits) {
    EXPECT_EQ(number_to_text(30.0), "30");
    EXPECT_EQ(number_to_text(-7.0), "-7");
    EXPECT_EQ(number_to_text(0.0), "0");
    EXPECT_EQ(number_to_text(-0.0), "0");
    EXPECT_EQ(number_to_text(1e20), "100000000000000000000");
    EXPECT_EQ(number_to_text(123456789012.0), "123456789012");
}

TEST(ConversionNumberToText, OtherValuesReadBackExactly) {
    EXPECT_EQ(number_to_text(0.1), "0.1");
    EXPECT_EQ(number_to_text(-2.5), "-2.5");
    EXPECT_EQ(number_to_text(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(number_to_text(1e-7), "1e-07");
    EXPECT_EQ(float_to_text(0.1f), "0.1");
    EXPECT_EQ(float_to_text(3.0f), "3");
    EXPECT_EQ(number_to_text(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(number_to_text(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(number_to_text(std::nan("")), "nan");
    for (double v : {0.1, 2.0 / 3.0, 1e-300, 123.456, 5e-324})
        EXPECT_EQ(text_to_number(number_to_text(v)), v) << number_to_text(v);
}

TEST(ConversionNumberToInteger, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(number_to_integer(-2.7), -2);
    EXPECT_EQ(number_to_integer(2.7), 2);
    EXPECT_EQ(number_to_integer(-0.5), 0);
    EXPECT_EQ(number_to_integer(1e12), INT32_MAX);
    EXPECT_EQ(number_to_integer(-1e12), INT32_MIN);
    EXPECT_EQ(number_to_integer(std::nan("")), 0);
}

}  // namespace
}  // namespace brindle::runtime
