#pragma once
// Checks one DedeCMS template: tag pairing and nesting, attribute syntax, tag and attribute names
// against the DedeCMS table, and [field:...] placement. Positions are 1-based lines and columns in
// characters (code points), so a GBK file and its UTF-8 copy report the same places. Time and memory
// grow linearly with the text (n log n at worst), whatever its shape: templates come from the web.
#include <string>
#include <string_view>
#include <vector>

#include "dede/template_decode.h"

namespace brindle::dede {

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

// The same for a decoded file, with its undecodable bytes reported where they stand.
std::vector<Diagnostic> check_template(const DecodedTemplate& decoded, const CheckOptions& options = {});

// "error" or "warning".
std::string_view severity_name(Severity severity);

}  // namespace brindle::dede
