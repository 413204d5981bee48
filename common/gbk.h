#pragma once
// The image holds GBK; tools and Qt speak UTF-8. GB18030 (GBK's superset) decodes everything GBK
// holds and encodes every character a user can type, so nothing typed is lost.
#include <string>
#include <string_view>

#include "common/result.h"

namespace brindle {

// Opens the converters the functions below use (on the calling thread). Without them no text could
// be converted, so a program checks this at start and refuses to run; the functions below end the
// process with a message rather than hand out empty texts.
Result<void> check_text_conversion();

// Decodes GB18030 (and so GBK, code page 936's single-byte euro sign 0x80 included) bytes; a byte
// sequence that is not valid becomes U+FFFD.
std::string gbk_to_utf8(std::string_view gbk);

// Encodes strictly as GBK: literals of the application must be representable in the image's code page.
Result<std::string> utf8_to_gbk(std::string_view utf8);

// Encodes as GB18030: every Unicode character has a form, so user text always converts.
std::string utf8_to_gb18030(std::string_view utf8);

}  // namespace brindle
