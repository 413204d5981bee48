// Fuzz target for the template readers: any bytes decode, check as a file and as a fragment, and every
// reported place lies inside the text; tags are read in order, each inside the text. The line index
// agrees with a plain count at a few offsets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dede/line_index.h"
#include "dede/tag_parser.h"
#include "dede/template_check.h"
#include "dede/template_decode.h"

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
    for (const dede::Diagnostic& d : dede::check_template(decoded))
        if (d.line < 1 || static_cast<size_t>(d.line) > lines || d.column < 1 || d.message.empty()) std::abort();
    (void)dede::check_template(text, {.names_only = true});

    for (const dede::TagSyntax& syntax : {dede::kTemplateTags, dede::kItemTags}) {
        auto parsed = dede::parse_tags(text, syntax);
        size_t previous_end = 0;
        for (const dede::ParsedTag& tag : parsed.tags) {
            if (tag.begin < previous_end || tag.end <= tag.begin || tag.end > text.size()) std::abort();
            previous_end = tag.end;
        }
        std::vector<std::string> values(parsed.tags.size(), "v");
        (void)dede::replace_tags(text, parsed, values);
    }

    dede::LineIndex index(text);
    for (size_t offset : {size_t{0}, text.size() / 3, text.size() / 2, text.size()})
        if (!(index.at(offset) == counted(text, offset))) std::abort();
    return 0;
}
