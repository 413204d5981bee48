#pragma once
// Checks one DedeCMS template: tag pairing and nesting, attribute syntax, tag and attribute names
// against the DedeCMS table, and [field:...] placement. Positions are 1-based lines and columns in
// characters (code points), so a GBK file and its UTF-8 copy report the same places.
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brindle::check {

enum class Severity { Error, Warning };

struct Diagnostic {
    int line = 0;
    int column = 0;
    Severity severity = Severity::Error;
    std::string message;
    friend bool operator==(const Diagnostic&, const Diagnostic&) = default;
};

struct CheckOptions {
    // A fragment may be only part of a tag's body: report unknown names only.
    bool names_only = false;
};

// Diagnostics in text order. `text` is UTF-8.
std::vector<Diagnostic> check_template(std::string_view text, const CheckOptions& options = {});

struct DecodedTemplate {
    std::string text;  // UTF-8, a byte-order mark removed
    bool was_gbk = false;
};

// UTF-8 when the bytes are valid UTF-8, else GBK (read as GB18030) when they are valid GBK; otherwise
// an error naming the first byte that is neither.
Result<DecodedTemplate> decode_template(std::string_view bytes);

// "error" or "warning".
std::string_view severity_name(Severity severity);

}  // namespace brindle::check
