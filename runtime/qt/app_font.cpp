#include "runtime/qt/app_font.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace brindle::runtime::qt {

void apply_application_font() {
    static const char* const kFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "WenQuanYi Zen Hei"};
    const QStringList installed = QFontDatabase::families();
    for (const char* family : kFamilies) {
        if (installed.contains(QString::fromUtf8(family))) {
            QApplication::setFont(QFont(QString::fromUtf8(family), 9));
            return;
        }
    }
}

}  // namespace brindle::runtime::qt
