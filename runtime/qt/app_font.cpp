#include "runtime/qt/app_font.h"

#include <QApplication>
#include <QFont>

#include <fontconfig/fontconfig.h>

namespace brindle::runtime::qt {

std::jthread read_font_configuration_meanwhile() {
    return std::jthread([] { FcInit(); });
}

void apply_application_font() {
    // Given as a list, Qt takes the first installed family when text is first laid out; asking which
    // families are installed here would load the whole font database before the window is built.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei"), font.family()});
    font.setPointSize(9);
    QApplication::setFont(font);
}

}  // namespace brindle::runtime::qt
