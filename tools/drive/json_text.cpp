#include "tools/drive/json_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace brindle::drive {

std::optional<QString> parse_json_string(std::string_view text) {
    // Qt parses documents, not lone values: wrap the literal in an array.
    QByteArray wrapped = "[" + QByteArray(text.data(), static_cast<qsizetype>(text.size())) + "]";
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray()) return std::nullopt;
    QJsonArray array = doc.array();
    if (array.size() != 1 || !array.at(0).isString()) return std::nullopt;
    return array.at(0).toString();
}

std::string json_string(const QString& text) {
    QByteArray compact = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // ["..."] -> "..."
    return std::string(compact.constData() + 1, static_cast<size_t>(compact.size() - 2));
}

}  // namespace brindle::drive
