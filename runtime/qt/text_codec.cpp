#include "runtime/qt/text_codec.h"

#include "common/gbk.h"

namespace brindle::runtime::qt {

QString from_image_text(std::string_view gbk) {
    std::string utf8 = gbk_to_utf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string to_image_text(const QString& text) {
    // A routine's text ends at its first NUL: a typed or pasted U+0000 is dropped so the rest survives.
    QByteArray utf8 = (text.contains(QChar(u'\0')) ? QString(text).remove(QChar(u'\0')) : text).toUtf8();
    return utf8_to_gb18030(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString crlf_to_lf(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

QString lf_to_crlf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
        out += text[i];
    }
    return out;
}

}  // namespace brindle::runtime::qt
