#pragma once
// Text as DedeCMS's PHP treats it: numbers read the way PHP casts strings, PHP's trim(), and the
// small joins and replacements the tag libraries need.
#include <string>
#include <string_view>
#include <vector>

namespace brindle::dede {

// What PHP's trim() takes off: blanks, NUL and vertical tab.
inline constexpr std::string_view kPhpBlanks(" \t\r\n\0\x0B", 6);

// PHP's (int) of a string: leading blanks, a sign and digits; 0 when there are none; held at the
// limits instead of overflowing.
long long php_int(std::string_view text);
// PHP's trim(): blanks, NUL and vertical tab off both ends.
std::string php_trim(std::string_view text);
std::string ascii_lower(std::string_view text);
std::string replace_all(std::string text, std::string_view from, std::string_view to);
// Only the digits and commas of an id list: ids from template attributes go into SQL.
std::string id_list(std::string_view text);
std::string joined(const std::vector<int>& ids);

}  // namespace brindle::dede
