#pragma once
// A template file's bytes as UTF-8 text. Templates come as UTF-8 or GBK; each file is decided on its
// own: UTF-8 when it starts with a UTF-8 byte-order mark, otherwise the reading under which fewer
// bytes are undecodable (UTF-8 on a tie). A byte that the chosen reading cannot decode becomes U+FFFD
// and is listed, so the rest of the file is still read and the byte can be reported where it stands.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::dede {

enum class TemplateEncoding { Utf8, Gbk };

struct UndecodableByte {
    size_t at = 0;  // offset of its U+FFFD in the decoded text
    uint8_t value = 0;
    friend bool operator==(const UndecodableByte&, const UndecodableByte&) = default;
};

struct DecodedTemplate {
    std::string text;  // UTF-8, without the byte-order mark
    TemplateEncoding encoding = TemplateEncoding::Utf8;
    std::vector<UndecodableByte> undecodable;
};

DecodedTemplate decode_template(std::string_view bytes);

// "UTF-8" or "GBK".
std::string_view encoding_name(TemplateEncoding encoding);

}  // namespace brindle::dede
