// The Qt tests need an application; without a display they run on the offscreen platform, with Qt's
// own texts in Chinese as in the tool.
#include <gtest/gtest.h>

#include <QApplication>

#include "runtime/qt/qt_translations.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    brindle::runtime::qt::load_chinese_qt_texts();  // as the tool does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
