#pragma once
// A JSON string literal for UTF-8 text: quotes, backslashes and control characters escaped,
// everything else kept as it is.
#include <string>
#include <string_view>

namespace brindle {

std::string json_string(std::string_view utf8);

}  // namespace brindle
