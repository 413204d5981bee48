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

#include <QFile>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "runtime/qt/single_instance.h"

namespace brindle::runtime::qt::testing {
namespace {

// A later start hands over to the first, which is told once per start; the later one never listens.
TEST(QtUiSingleInstanceTest, ALaterStartHandsOverToTheFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brindle-test"));
    SingleInstance first(path);
    int shown = 0;
    first.on_later_start([&] { ++shown; });
    ASSERT_EQ(first.claim(), SingleInstance::Start::kFirst);
    EXPECT_TRUE(first.listening());
    for (int start = 1; start <= 2; ++start) {
        SingleInstance later(path);
        EXPECT_EQ(later.claim(), SingleInstance::Start::kHandedOver);
        EXPECT_FALSE(later.listening());
        for (int turn = 0; turn < 200 && shown < start; ++turn) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(shown, start);
    }
}

// A socket whose instance died without removing it answers no one: the next start takes its place.
TEST(QtUiSingleInstanceTest, AStaleSocketDoesNotBlockAStart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brindle-test"));
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(static_cast<size_t>(name.size()), sizeof address.sun_path);
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);  // bound, never listening, and the file stays
    ASSERT_TRUE(QFile::exists(path));

    SingleInstance next(path);
    EXPECT_EQ(next.claim(), SingleInstance::Start::kFirst);
    EXPECT_TRUE(next.listening());
    SingleInstance later(path);
    EXPECT_EQ(later.claim(), SingleInstance::Start::kHandedOver);
}

// Without a runtime directory the tool still starts, alone.
TEST(QtUiSingleInstanceTest, NoSocketPathStillStarts) {
    SingleInstance instance{QString()};
    EXPECT_EQ(instance.claim(), SingleInstance::Start::kFirst);
    EXPECT_FALSE(instance.listening());
}

}  // namespace
}  // namespace brindle::runtime::qt::testing
