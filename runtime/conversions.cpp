#include "runtime/conversions.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace brindle::runtime {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips blanks and one sign; returns true when the sign was '-'.
bool skip_blanks_and_sign(std::string_view text, size_t& i) {
    while (i < text.size() && is_blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    return negative;
}

size_t skip_digits(std::string_view text, size_t i) {
    while (i < text.size() && is_digit(text[i])) ++i;
    return i;
}

// For a well-formed numeric prefix: the power of ten of its first significant digit, roughly.
int64_t decimal_magnitude(std::string_view number) {
    size_t exp_at = number.find_first_of("eE");
    std::string_view mantissa = number.substr(0, exp_at);
    int64_t exponent = 0;
    if (exp_at != std::string_view::npos) {
        std::string_view e = number.substr(exp_at + 1);
        bool negative = !e.empty() && e[0] == '-';
        if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
        for (char c : e) exponent = std::min<int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
        if (negative) exponent = -exponent;
    }
    size_t point = mantissa.find('.');
    if (point == std::string_view::npos) point = mantissa.size();
    size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return INT64_MIN / 2;
    int64_t position = first < point ? int64_t(point - first) - 1 : -int64_t(first - point);
    return position + exponent;
}

template <class T>
std::string shortest(T value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buf[400];
    if (value == std::trunc(value)) {
        if (value == 0) return "0";
        auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 0);
        return std::string(buf, r.ptr);
    }
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

}  // namespace

int32_t text_to_integer(std::string_view text) {
    size_t i = 0;
    bool negative = skip_blanks_and_sign(text, i);
    size_t end = skip_digits(text, i);
    int64_t magnitude = 0;
    for (size_t k = i; k < end; ++k) {
        magnitude = magnitude * 10 + (text[k] - '0');
        if (magnitude > int64_t(INT32_MAX) + 1) {
            magnitude = int64_t(INT32_MAX) + 1;
            break;
        }
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

double text_to_number(std::string_view text) {
    size_t i = 0;
    bool negative = skip_blanks_and_sign(text, i);
    size_t start = i;
    size_t int_end = skip_digits(text, i);
    size_t end = int_end;
    bool any_digit = int_end > start;
    if (end < text.size() && text[end] == '.') {
        size_t frac_end = skip_digits(text, end + 1);
        any_digit = any_digit || frac_end > end + 1;
        end = frac_end;
    }
    if (!any_digit) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        size_t exp_end = skip_digits(text, e);
        if (exp_end > e) end = exp_end;
    }
    double value = 0;
#if defined(__cpp_lib_to_chars)
    auto r = std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    const bool out_of_range = r.ec == std::errc::result_out_of_range;
#else
    // libc++ 16 (the fuzz build) has no floating-point from_chars: strtod in the C locale instead,
    // on a copy that ends where the number does.
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string digits(text.substr(start, end - start));
    errno = 0;
    value = strtod_l(digits.c_str(), nullptr, c_locale);
    const bool out_of_range = errno == ERANGE;
#endif
    if (out_of_range) {
        // from_chars leaves value untouched here; a value this far out of range is tiny exactly when
        // its decimal magnitude (position of the first significant digit plus the exponent) is negative.
        value = decimal_magnitude(text.substr(start, end - start)) < 0 ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

std::string number_to_text(double value) { return shortest(value); }
std::string float_to_text(float value) { return shortest(value); }
std::string integer_to_text(int32_t value) { return std::to_string(value); }

int32_t number_to_integer(double value) {
    if (std::isnan(value)) return 0;
    double t = std::trunc(value);
    if (t >= 2147483647.0) return INT32_MAX;
    if (t <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(t);
}

}  // namespace brindle::runtime
