// The real desktop's message boxes: the style's icon and buttons, the default title, and the
// button identifiers routines compare against.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include "runtime/qt/qt_desktop.h"

namespace brindle::runtime::qt::testing {
namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QStringList captions;
    QWidget* parent = nullptr;
    bool minimisable = true;
};

// Shows a box and, once it is up, notes what it shows and presses `press` (or closes it with Escape).
int show_and_press(QtDesktop& desktop, const QString& text, int style, std::optional<QString> title,
                   std::optional<QMessageBox::StandardButton> press, SeenBox& seen) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), {}, box->parentWidget(),
                (box->windowFlags() & Qt::WindowMinimizeButtonHint) != 0};
        for (QAbstractButton* b : box->buttons()) seen.captions << b->text();
        seen.captions.sort();
        if (press) box->button(*press)->click();
        else box->reject();
    });
    return desktop.message_box(text, style, title);
}

TEST(QtUiDesktopTest, MessageBoxesShowTheStyleAndAnswerWithButtonIdentifiers) {
    QtDesktop desktop;
    SeenBox seen;
    EXPECT_EQ(show_and_press(desktop, QStringLiteral("复制成功！"), 0x40, std::nullopt, QMessageBox::Ok, seen), 1);
    EXPECT_EQ(seen.title, QStringLiteral("Brindle"));
    EXPECT_EQ(seen.text, QStringLiteral("复制成功！"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.captions, QStringList{QStringLiteral("确定")});
    EXPECT_FALSE(seen.minimisable);
    EXPECT_EQ(seen.parent, nullptr);

    EXPECT_EQ(show_and_press(desktop, QStringLiteral("?"), 0x34, QStringLiteral("标题"), QMessageBox::No, seen), 7);
    EXPECT_EQ(seen.title, QStringLiteral("标题"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.captions, (QStringList{QStringLiteral("否"), QStringLiteral("是")}));

    EXPECT_EQ(show_and_press(desktop, QStringLiteral("x"), 0x11, std::nullopt, std::nullopt, seen), 2);  // closed: Cancel
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(show_and_press(desktop, QStringLiteral("x"), 0, std::nullopt, QMessageBox::Ok, seen), 1);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

    // Over the main window while it is shown, on its own while it is hidden.
    QWidget main;
    desktop.set_main_window(&main);
    main.show();
    show_and_press(desktop, QStringLiteral("复制成功！"), 0x40, std::nullopt, QMessageBox::Ok, seen);
    EXPECT_EQ(seen.parent, &main);
    main.hide();
    show_and_press(desktop, QStringLiteral("复制成功！"), 0x40, std::nullopt, QMessageBox::Ok, seen);
    EXPECT_EQ(seen.parent, nullptr);
}

}  // namespace
}  // namespace brindle::runtime::qt::testing

namespace brindle::runtime::qt::testing {
namespace {

// The desktop gets the platform's LF line ends; what the routine handed over is not changed.
TEST(QtUiDesktopTest, ClipboardGetsPlatformLineEnds) {
    QtDesktop desktop;
    desktop.set_clipboard_text(QStringLiteral("{dede:arclist}\r\n第二行\r\n"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("{dede:arclist}\n第二行\n"));
}

}  // namespace
}  // namespace brindle::runtime::qt::testing
