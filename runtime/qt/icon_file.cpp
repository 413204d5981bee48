#include "runtime/qt/icon_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace brindle::runtime::qt {
namespace {

QByteArray wrap(ByteView bytes) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

Result<LoadedIcon> load_icon(ByteView ico) {
    if (ico.empty()) return fail("the icon is empty");
    QByteArray data = wrap(ico);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    int count = reader.imageCount();
    if (count <= 0) return fail("the icon cannot be read: " + reader.errorString().toStdString());
    LoadedIcon loaded;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i)) return fail("icon image " + std::to_string(i) + " cannot be reached");
        QImage image = reader.read();
        if (image.isNull())
            return fail("icon image " + std::to_string(i) + " cannot be read: " + reader.errorString().toStdString());
        loaded.icon.addPixmap(QPixmap::fromImage(image));
    }
    loaded.image_count = count;
    return loaded;
}

Result<QPixmap> load_picture(ByteView bytes) {
    if (bytes.empty()) return fail("the picture is empty");
    QPixmap pixmap;
    // loadFromData copies what it decodes, so the wrapped bytes need not outlive the call.
    if (!pixmap.loadFromData(wrap(bytes))) return fail("the picture cannot be read");
    return pixmap;
}

}  // namespace brindle::runtime::qt
