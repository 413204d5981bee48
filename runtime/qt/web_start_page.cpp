#include "runtime/qt/web_start_page.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>
#include <optional>

namespace brindle::runtime::qt {
namespace {

constexpr qint64 kLargestLocalPage = 1 << 20;

StartPage link_to(const QString& address) {
    QString shown = address.toHtmlEscaped();
    return {QStringLiteral("<a href=\"%1\">%2</a>").arg(shown, shown), true};
}

// data:[<media type>][;base64],<data>
std::optional<QString> decode_data_address(const QString& address) {
    qsizetype comma = address.indexOf(u',');
    if (comma < 0) return std::nullopt;
    QString head = address.mid(5, comma - 5);
    QByteArray body = QByteArray::fromPercentEncoding(address.mid(comma + 1).toUtf8());
    if (head.endsWith(QStringLiteral(";base64"), Qt::CaseInsensitive)) {
        auto decoded = QByteArray::fromBase64Encoding(body, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) return std::nullopt;
        body = *decoded;
    }
    return QString::fromUtf8(body);
}

}  // namespace

StartPage start_page_for(const QString& address) {
    QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) return {};
    if (trimmed.startsWith(QStringLiteral("data:"), Qt::CaseInsensitive)) {
        if (auto html = decode_data_address(trimmed)) return {*html, false};
        return {};
    }
    QUrl url(trimmed);
    if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (file.open(QIODevice::ReadOnly) && file.size() <= kLargestLocalPage)
            return {QString::fromUtf8(file.readAll()), false};
    }
    return link_to(trimmed);
}

}  // namespace brindle::runtime::qt
