#pragma once
// UTF-8 as it comes from outside: file names and files may hold any bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace brindle {

// Length (1 to 4) of the valid UTF-8 sequence that starts at `at`, or 0 when the bytes there are not
// UTF-8 (overlong forms, surrogates, values past U+10FFFF and cut sequences included).
size_t utf8_sequence_length(std::string_view text, size_t at);

// The text with every byte that is not part of a valid sequence replaced by U+FFFD.
std::string valid_utf8(std::string_view text);

// The text as a terminal may show it: control characters (C0, DEL and the C1 range U+0080 to U+009F)
// and bytes that are not UTF-8 become visible escapes (\n, \r, \t, \x1b, \u009b, \xe9), so no file
// name or template can move the cursor, retitle the window or split a one-line record.
std::string terminal_safe(std::string_view text);

}  // namespace brindle
