#include "dede/php_text.h"

#include <climits>

namespace brindle::dede {
long long php_int(std::string_view text) {
    size_t k = text.find_first_not_of(" \t\r\n\v\f");
    if (k == std::string_view::npos) return 0;
    bool negative = text[k] == '-';
    if (text[k] == '-' || text[k] == '+') ++k;
    unsigned long long value = 0;
    const unsigned long long limit = negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX;
    for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) {
        value = value * 10 + static_cast<unsigned>(text[k] - '0');
        if (value >= limit) return negative ? LLONG_MIN : LLONG_MAX;
    }
    return negative ? -static_cast<long long>(value) : static_cast<long long>(value);
}

std::string php_trim(std::string_view text) {
    size_t a = text.find_first_not_of(kPhpBlanks), b = text.find_last_not_of(kPhpBlanks);
    return a == std::string_view::npos ? std::string() : std::string(text.substr(a, b - a + 1));
}

std::string ascii_lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string id_list(std::string_view text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',') out += c;
    return out;
}

std::string joined(const std::vector<int>& ids) {
    std::string out;
    for (int id : ids) out += (out.empty() ? "" : ",") + std::to_string(id);
    return out;
}

}  // namespace brindle::dede
