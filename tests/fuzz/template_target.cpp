// Fuzz target for the template reader: any bytes decode, check as a file and as a fragment, and every
// reported place lies inside the text. The line index agrees with a plain count at a few offsets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dede/line_index.h"
#include "dede/template_decode.h"
#include "tools/check/template_check.h"

namespace {

brindle::dede::TextPosition counted(std::string_view text, size_t offset) {
    brindle::dede::TextPosition p;
    for (size_t k = 0; k < offset; ++k) {
        if (text[k] == '\n') {
            ++p.line;
            p.column = 1;
        } else if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            ++p.column;
        }
    }
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brindle;
    auto decoded = dede::decode_template(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string& text = decoded.text;
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    for (const check::Diagnostic& d : check::check_template(decoded))
        if (d.line < 1 || static_cast<size_t>(d.line) > lines || d.column < 1 || d.message.empty()) std::abort();
    (void)check::check_template(text, {.names_only = true});

    dede::LineIndex index(text);
    for (size_t offset : {size_t{0}, text.size() / 3, text.size() / 2, text.size()})
        if (!(index.at(offset) == counted(text, offset))) std::abort();
    return 0;
}
