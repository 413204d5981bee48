#pragma once
// The value conversions of the kernel's commands (to integer, to number, to text).
//
// Reading a number from text (both directions tolerate anything a user may type):
//  - leading blanks (space, tab, CR, LF) are skipped, then one optional sign '+' or '-';
//  - the longest numeric prefix is taken and the rest ignored: " -12abc" is -12;
//  - text without such a prefix (empty, "abc", "-", ".") gives 0.
// text_to_integer's prefix is decimal digits only ("12.7" is 12, "1e3" is 1); a value beyond the
// 32-bit range saturates at INT32_MIN / INT32_MAX rather than wrapping.
// text_to_number's prefix is digits with an optional fraction and an optional exponent ("1e3" is
// 1000, ".5" is 0.5, "5." is 5, "2e" is 2); a value beyond the double range saturates at the largest
// finite double of its sign, and one too small for it becomes 0.
//
// Writing a number as text:
//  - a whole number is plain decimal digits: no exponent, no ".0" (30.0 is "30", 1e20 is
//    "100000000000000000000", -0.0 is "0");
//  - any other finite value takes the shortest form that reads back as the same value ("0.1",
//    "-2.5", "1e-07"); a float argument is shortest as a float (0.1f is "0.1");
//  - non-finite values are "inf", "-inf" and "nan".
#include <cstdint>
#include <string>
#include <string_view>

namespace brindle::runtime {

int32_t text_to_integer(std::string_view text);
double text_to_number(std::string_view text);
std::string number_to_text(double value);
std::string float_to_text(float value);
std::string integer_to_text(int32_t value);

// Truncates toward zero, saturating outside the 32-bit range; NaN gives 0.
int32_t number_to_integer(double value);

}  // namespace brindle::runtime
