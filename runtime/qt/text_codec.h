#pragma once
// Texts between the image (GBK bytes, CR LF line ends) and Qt. What a user types is encoded as
// GB18030, which holds every character, so nothing typed is lost.
#include <string>
#include <string_view>

#include <QString>

namespace brindle::runtime::qt {

QString from_image_text(std::string_view gbk);
// Drops U+0000, which would end the text early in the image's NUL-terminated form.
std::string to_image_text(const QString& text);

// Multi-line editors hold LF; the image and the routines speak CR LF.
QString crlf_to_lf(const QString& text);
QString lf_to_crlf(const QString& text);

}  // namespace brindle::runtime::qt
