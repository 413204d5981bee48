// brindle-icon-png DIR NAME SIZE...: writes the logo as DIR/<SIZE>x<SIZE>/apps/NAME.png for each SIZE,
// the layout of a hicolor icon theme, drawn at each size rather than scaled from one.
#include <QDir>
#include <QImage>

#include <charconv>
#include <iostream>
#include <string_view>

#include "app/pictures/logo.h"

namespace {

int refuse(const std::string& message) {
    std::cerr << "brindle-icon-png: " << message << std::endl;
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return refuse("usage: brindle-icon-png DIR NAME SIZE...");
    const QString dir = QString::fromLocal8Bit(argv[1]), name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        std::string_view arg = argv[i];
        int size = 0;
        auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), size);
        if (ec != std::errc() || end != arg.data() + arg.size() || size < 1 || size > 1024)
            return refuse("not an icon size: " + std::string(arg));

        brindle::app::Picture pic = brindle::app::logo_picture(size);
        QImage image(size, size, QImage::Format_RGBA8888);
        for (int y = 0; y < size; ++y) {
            auto* row = image.scanLine(y);
            for (int x = 0; x < size; ++x) {
                const auto& p = pic.pixels[size_t(y) * size + x];
                row[4 * x] = p.r, row[4 * x + 1] = p.g, row[4 * x + 2] = p.b, row[4 * x + 3] = p.a;
            }
        }
        const QString folder = dir + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG"))
            return refuse("cannot write " + file.toStdString());
    }
    return 0;
}
