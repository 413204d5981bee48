#pragma once
// The few JSON forms the driver speaks: a string argument in, strings, booleans, numbers and arrays out.
#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace brindle::drive {

// A JSON string literal ("...", escapes allowed) and nothing else but blanks around it.
std::optional<QString> parse_json_string(std::string_view text);

// A JSON string literal for text, in UTF-8, non-ASCII characters kept as they are.
std::string json_string(const QString& text);

}  // namespace brindle::drive
