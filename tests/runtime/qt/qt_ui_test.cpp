#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "app/pictures/icons.h"
#include "common/gbk.h"
#include "image/form_writer.h"
#include "runtime/headless/recording_desktop.h"
#include "runtime/headless/ui_player.h"
#include "runtime/qt/control_properties.h"
#include "runtime/qt/control_widgets.h"
#include "runtime/qt/qt_ui.h"
#include "runtime/qt/text_codec.h"
#include "tests/runtime/qt/test_form.h"

namespace brindle::runtime::qt::testing {
namespace {

using headless::RecordingDesktop;

constexpr Bindings kBindings{.created = 0x10, .tray = 0x20, .radio_b = 0x30, .write = 0x40, .hide = 0x50,
                             .image_button = 0x60, .menu_show = 0x70, .menu_hide = 0x80, .menu_close = 0x90};

struct RecordingSink : EventSink {
    void deliver(const Event& event) override {
        events.push_back(event);
        if (on_event) on_event(event);
    }
    std::vector<Event> events;
    std::function<void(const Event&)> on_event;
};

class QtUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        image::FormModel form = test_form(kBindings);
        form.windows[0].elements[0].properties.picture = app::window_icon_file();
        ui = std::make_unique<QtUi>(std::move(form), desktop);
        ui->set_event_sink(&sink);
        player = std::make_unique<headless::UiPlayer>(*ui, desktop);
        auto created = ui->create_window(ids::kWindow);
        ASSERT_TRUE(created.has_value()) << created.error().describe();
    }

    template <typename W>
    W* widget(uint32_t id) {
        return qobject_cast<W*>(ui->window(ids::kWindow)->find(id)->widget);
    }
    QWidget* window() { return ui->window(ids::kWindow)->window.get(); }
    PropertyValue read(uint32_t id, uint32_t property) {
        auto r = ui->read_property(ids::kWindow, id, property);
        EXPECT_TRUE(r.has_value()) << r.error().describe();
        return r ? *r : PropertyValue();
    }
    void write(uint32_t id, uint32_t property, PropertyValue value) {
        auto r = ui->write_property(ids::kWindow, id, property, value);
        EXPECT_TRUE(r.has_value()) << r.error().describe();
    }
    std::string read_error(uint32_t id, uint32_t property) {
        auto r = ui->read_property(ids::kWindow, id, property);
        return r ? "<no error>" : r.error().message;
    }
    std::string write_error(uint32_t id, uint32_t property, PropertyValue value) {
        auto r = ui->write_property(ids::kWindow, id, property, value);
        return r ? "<no error>" : r.error().message;
    }

    RecordingDesktop desktop;
    RecordingSink sink;
    std::unique_ptr<QtUi> ui;
    std::unique_ptr<headless::UiPlayer> player;
};

PropertyValue text(const char* utf8) { return PropertyValue(gbk(utf8)); }

void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
}

TEST_F(QtUiTest, BuildsTheWindowPagesAndControlsAtTheirGeometry) {
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("测试窗口"));
    EXPECT_EQ(window()->pos(), QPoint(50, 50));
    // The outer size less the frame, but never narrower than the tab control (the offscreen platform's
    // frame is 2 pixels all round).
    const QMargins frame = window()->windowHandle()->frameMargins();
    EXPECT_EQ(window()->size(), QSize(std::max(627 - frame.left() - frame.right(), 624), 571 - frame.top() - frame.bottom()));
    EXPECT_EQ(window()->minimumSize(), window()->maximumSize());  // a fixed layout: no resizing
    EXPECT_FALSE(window()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window()->windowIcon().availableSizes().contains(QSize(128, 128)));
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x10, {}}}));  // the window-created event

    auto* tabs = widget<QTabWidget>(ids::kTab);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->geometry(), QRect(0, 4, 624, 524));
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("首页"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("空页"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral(" 末页"));
    EXPECT_TRUE(page_widget(*tabs, 1)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());

    auto* group = widget<QGroupBox>(ids::kGroup);
    EXPECT_EQ(group->parentWidget(), page_widget(*tabs, 0));
    EXPECT_EQ(group->title(), QStringLiteral("分组"));
    // Page positions count from the tab control's own corner, strip included.
    EXPECT_EQ(group->mapTo(window(), QPoint(0, 0)), QPoint(6, 34));
    EXPECT_EQ(widget<QRadioButton>(ids::kRadioB)->parentWidget(), group);
    EXPECT_EQ(widget<QRadioButton>(ids::kRadioB)->geometry(), QRect(94, 24, 80, 16));
    EXPECT_TRUE(widget<QRadioButton>(ids::kRadioA)->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(ids::kRadioB)->isChecked());
    EXPECT_EQ(widget<QPushButton>(ids::kWrite)->parentWidget(), page_widget(*tabs, 2));

    EXPECT_NE(widget<QLineEdit>(ids::kSingle), nullptr);
    EXPECT_NE(widget<QPlainTextEdit>(ids::kMulti), nullptr);
    auto* store = widget<QPlainTextEdit>(ids::kStore);
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(store->isHidden());
    EXPECT_EQ(store->geometry(), QRect(-72, 194, 88, 32));
    EXPECT_FALSE(widget<QPlainTextEdit>(ids::kMulti)->isHidden());

    auto* combo = widget<QComboBox>(ids::kCombo);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("丙"));
    EXPECT_EQ(combo->currentIndex(), 0);

    auto* label = widget<QLabel>(ids::kLabel);
    EXPECT_EQ(label->text(), QStringLiteral("红字"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // 按钮1 sits on the window, stacked over the tab control whose corner it shares.
    auto* hide = widget<QPushButton>(ids::kHide);
    EXPECT_EQ(hide->parentWidget(), window());
    auto siblings = window()->children();
    EXPECT_GT(siblings.indexOf(hide), siblings.indexOf(tabs));
}

// A page the user has not opened is built once the first frame is painted, without being asked for.
TEST_F(QtUiTest, WaitingPagesAreBuiltAfterTheFirstFrame) {
    QWidget* last_page = page_widget(*widget<QTabWidget>(ids::kTab), 2);
    EXPECT_TRUE(last_page->findChildren<QPushButton*>().isEmpty());
    for (int turns = 0; turns < 200 && last_page->findChildren<QPushButton*>().isEmpty(); ++turns)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(last_page->findChildren<QPushButton*>().size(), 1);
}

// Building a page the user is not looking at paints nothing of the one in view.
TEST(WindowBuilderTest, BuildingAWaitingPageRepaintsNothing) {
    image::FormModel form = test_form(kBindings);
    auto built = build_window(form.windows[0], BuilderCallbacks{});
    ASSERT_TRUE(built.has_value()) << built.error().describe();
    (*built)->window->show();
    for (int turn = 0; turn < 5; ++turn) QCoreApplication::processEvents();
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    qApp->installEventFilter(&counter);
    ASSERT_NE((*built)->find(ids::kWrite), nullptr);  // on page 2, which waited until now
    for (int turn = 0; turn < 5; ++turn) QCoreApplication::processEvents();
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(counter.paints, 0);
}

// A page built later is put in reading order too, whatever order the form lists its controls in.
TEST(WindowBuilderTest, APageBuiltLaterTabsInReadingOrder) {
    constexpr uint32_t kLower = 0x16010010, kUpper = 0x16010011;
    image::FormBuilder f;
    f.add_window(ids::kWindow, ids::kWindowElement, ids::kUnit, {50, 50, 400, 300});
    auto tab = f.add_control(ids::kWindow, ids::kTab, abi::kind::kTabControl, gbk("选择夹1"), {0, 4, 390, 290});
    ASSERT_TRUE(tab.has_value());
    (*tab)->properties.items = {gbk("首页"), gbk("次页")};
    ASSERT_TRUE(f.add_control(ids::kWindow, ids::kSingle, abi::kind::kEditBox, gbk("编辑框_首"), {10, 30, 120, 20}, ids::kTab));
    ASSERT_TRUE(f.next_page(ids::kWindow, ids::kTab));
    ASSERT_TRUE(f.add_control(ids::kWindow, kLower, abi::kind::kEditBox, gbk("编辑框_下"), {10, 90, 120, 20}, ids::kTab));
    ASSERT_TRUE(f.add_control(ids::kWindow, kUpper, abi::kind::kEditBox, gbk("编辑框_上"), {10, 40, 120, 20}, ids::kTab));
    auto form = f.finish();
    ASSERT_TRUE(form.has_value()) << form.error().describe();
    auto built = build_window(form->windows[0], BuilderCallbacks{});
    ASSERT_TRUE(built.has_value()) << built.error().describe();

    ASSERT_NE((*built)->find(kLower), nullptr);  // builds page 1
    std::vector<std::string> boxes;
    QWidget* window = (*built)->window.get();
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->objectName().startsWith(QStringLiteral("编辑框_"))) boxes.push_back(w->objectName().toStdString());
    EXPECT_EQ(boxes, (std::vector<std::string>{"编辑框_首", "编辑框_上", "编辑框_下"}));
}

TEST_F(QtUiTest, PropertiesByNumberCarryImageTextsExactly) {
    EXPECT_EQ(read(ids::kMulti, 8), text("一\r\n二"));
    EXPECT_EQ(read(ids::kStore, 8), text("\t存\r\n文 \r\n"));
    EXPECT_EQ(read(ids::kSingle, 8), text(""));

    write(ids::kMulti, 8, text("第一行\r\n\r\n第三行\r\n"));
    EXPECT_EQ(read(ids::kMulti, 8), text("第一行\r\n\r\n第三行\r\n"));
    EXPECT_EQ(widget<QPlainTextEdit>(ids::kMulti)->toPlainText(), QStringLiteral("第一行\n\n第三行\n"));
    write(ids::kSingle, 8, text("{dede:field name='title'/}"));
    EXPECT_EQ(read(ids::kSingle, 8), text("{dede:field name='title'/}"));
    write(ids::kLabel, 8, text("新字"));
    EXPECT_EQ(read(ids::kLabel, 8), text("新字"));
    EXPECT_EQ(read(ids::kHide, 8), text("隐藏我"));
    EXPECT_EQ(read(ids::kRadioB, 8), text("乙"));
    EXPECT_EQ(read(ids::kWindowElement, 8), text("测试窗口"));
}

// A new text in a multi-line box is shown from its start, as the user's edits and scrolling of the
// old one no longer apply; they cannot be undone into the new text either.
TEST_F(QtUiTest, AMultiLineBoxShowsANewTextFromItsStart) {
    auto* multi = widget<QPlainTextEdit>(ids::kMulti);
    QString lines;
    for (int i = 0; i < 40; ++i) lines += QStringLiteral("第%1行\r\n").arg(i);
    write(ids::kMulti, 8, PropertyValue(to_image_text(lines)));
    multi->moveCursor(QTextCursor::End);
    multi->insertPlainText(QStringLiteral("手写"));
    ASSERT_GT(multi->verticalScrollBar()->value(), 0);
    write(ids::kMulti, 8, PropertyValue(to_image_text(lines)));
    EXPECT_EQ(multi->verticalScrollBar()->value(), 0);
    EXPECT_EQ(multi->textCursor().position(), 0);
    EXPECT_FALSE(multi->textCursor().hasSelection());
    EXPECT_FALSE(multi->document()->isUndoAvailable());
    EXPECT_EQ(read(ids::kMulti, 8), PropertyValue(to_image_text(lines)));
}

TEST_F(QtUiTest, SelectionCheckedAndVisibleProperties) {
    write(ids::kCombo, 19, 2);
    EXPECT_EQ(read(ids::kCombo, 19), PropertyValue(2));
    write(ids::kCombo, 19, 3);  // past the end: nothing selected
    EXPECT_EQ(read(ids::kCombo, 19), PropertyValue(-1));
    write(ids::kCombo, 19, 0);
    write(ids::kCombo, 19, -1);
    EXPECT_EQ(read(ids::kCombo, 19), PropertyValue(-1));

    write(ids::kRadioB, 18, 1);
    EXPECT_EQ(read(ids::kRadioB, 18), PropertyValue(1));
    EXPECT_EQ(read(ids::kRadioA, 18), PropertyValue(0));
    write(ids::kRadioB, 18, 0);  // an exclusive radio box can still be cleared by a routine
    EXPECT_EQ(read(ids::kRadioB, 18), PropertyValue(0));
    EXPECT_EQ(read(ids::kRadioA, 18), PropertyValue(0));

    // Without a tray icon to bring it back, hiding leaves the window shown.
    write(ids::kWindowElement, 5, 0);
    EXPECT_FALSE(window()->isHidden());
    EXPECT_FALSE(window()->isMinimized());
    EXPECT_EQ(read(ids::kWindowElement, 5), PropertyValue(1));

    ui->place_tray_icon(ids::kWindow, app::tray_icon_file(), gbk("Brindle"));
    write(ids::kWindowElement, 5, 0);
    EXPECT_TRUE(window()->isHidden());
    EXPECT_EQ(read(ids::kWindowElement, 5), PropertyValue(0));
    write(ids::kWindowElement, 5, 0);  // hiding a hidden window changes nothing
    write(ids::kWindowElement, 5, 1);
    EXPECT_FALSE(window()->isHidden());
    write(ids::kWindowElement, 5, 0);
    ui->show_main_window();  // what a second start asks for
    EXPECT_FALSE(window()->isHidden());
    EXPECT_EQ(read(ids::kStore, 5), PropertyValue(0));
    sink.events.clear();
    write(ids::kCombo, 19, 1);
    EXPECT_TRUE(sink.events.empty());  // writes raise no events
}

TEST_F(QtUiTest, BadPropertyRequestsAreErrors) {
    EXPECT_EQ(read_error(ids::kMulti, 18), "property 18 is not a property of an edit box");
    EXPECT_EQ(read_error(ids::kLabel, 19), "property 19 is not a property of a label");
    EXPECT_EQ(read_error(ids::kTab, 8), "property 8 is not a property of a tab control");
    EXPECT_EQ(write_error(ids::kLabel, 5, text("1")), "property 5 takes an integer, not a text");
    EXPECT_EQ(write_error(ids::kLabel, 8, 1), "property 8 takes a text, not an integer");
    EXPECT_EQ(read_error(0x16999999, 8), "window 0x52010001 has no control 0x16999999");
    auto other = ui->read_property(0x52010099, ids::kWindowElement, 5);
    ASSERT_FALSE(other.has_value());
    EXPECT_EQ(other.error().message, "window 0x52010099 is not open");
    EXPECT_FALSE(ui->create_window(0x52010099).has_value());
}

TEST(QtUiBuildTest, MalformedNestingIsRefusedNotFollowed) {
    RecordingDesktop desktop;
    image::FormModel cycle = test_form({});
    for (auto& e : cycle.windows[0].elements)
        if (e.id == ids::kGroup) e.parent_id = ids::kRadioA;  // the group box inside its own radio box
    QtUi ui(std::move(cycle), desktop);
    auto refused = ui.create_window(ids::kWindow);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().message, "the parents of control 0x16010004 form a cycle");
    EXPECT_EQ(ui.window(ids::kWindow), nullptr);

    image::FormModel stray = test_form({});
    for (auto& e : stray.windows[0].elements)
        if (e.id == ids::kLabel) e.parent_id = 0x16777777;
    QtUi stray_ui(std::move(stray), desktop);
    refused = stray_ui.create_window(ids::kWindow);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().message, "control 0x1601000B is nested in 0x16777777, which the window does not hold");
}

TEST_F(QtUiTest, TypedTextKeepsEveryCharacterThroughGb18030) {
    const char* typed = "价格€ 😀 ñ\r\n第二";
    ASSERT_TRUE(player->type_text({ids::kWindow, ids::kMulti}, QString::fromUtf8(typed)).has_value());
    auto value = read(ids::kMulti, 8);
    ASSERT_TRUE(std::holds_alternative<std::string>(value));
    EXPECT_EQ(std::get<std::string>(value), utf8_to_gb18030(typed));
    EXPECT_EQ(from_image_text(std::get<std::string>(value)), QString::fromUtf8(typed));
    // A text written back by a routine comes out as it went in.
    write(ids::kSingle, 8, value);
    EXPECT_EQ(read(ids::kSingle, 8), value);

    auto refused = player->type_text({ids::kWindow, ids::kLabel}, QStringLiteral("x"));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().message, "a label takes no typing");
}

TEST(QtUiBuildTest, GeometryNoScreenCanShowNeverReachesQt) {
    RecordingDesktop desktop;
    image::FormModel huge = test_form({});
    huge.windows[0].elements[0].width = 100000;
    huge.windows[0].elements[0].height = 100000;
    QtUi ui(std::move(huge), desktop);
    auto refused = ui.create_window(ids::kWindow);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().message, "element 0x06010000 lies at 50,50 with size 100000x100000, which no screen can show");
    EXPECT_EQ(ui.window(ids::kWindow), nullptr);
}

TEST_F(QtUiTest, ATypedNulIsDroppedAndTheRestReachesTheRoutines) {
    const QString typed = QStringLiteral("前") + QChar(u'\0') + QStringLiteral("后\r\n") + QChar(u'\0');
    ASSERT_TRUE(player->type_text({ids::kWindow, ids::kSingle}, typed).has_value());
    EXPECT_EQ(read(ids::kSingle, 8), text("前后\r\n"));
    ASSERT_TRUE(player->type_text({ids::kWindow, ids::kMulti}, typed).has_value());
    EXPECT_EQ(read(ids::kMulti, 8), text("前后\r\n"));
}

TEST_F(QtUiTest, AVeryLongLineIsShownFoldedAndReadBackWhole) {
    QString line;
    for (int i = 0; i < 250000; ++i) line += QStringLiteral("标签{dede}");
    line.insert(kFoldAt - 1, QString::fromUtf8("\xF0\x9F\x98\x80"));  // a surrogate pair astride the first fold
    const QString all = QStringLiteral("first\r\n") + line + QStringLiteral("\r\nlast");
    write(ids::kMulti, 8, PropertyValue(to_image_text(all)));
    auto* edit = widget<QPlainTextEdit>(ids::kMulti);
    int longest = 0;
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) longest = std::max(longest, b.length() - 1);
    EXPECT_LE(longest, kFoldAt);
    EXPECT_EQ(edit->document()->findBlockByNumber(1).length() - 1, kFoldAt - 1);
    EXPECT_TRUE(read(ids::kMulti, 8) == PropertyValue(to_image_text(all)));

    // A line break the user types is a line break; the folds stay out of the text.
    QTextCursor cursor(edit->document());
    cursor.setPosition(edit->document()->findBlockByNumber(2).position() + 3);
    cursor.insertBlock();
    QString edited = all;
    edited.insert(QStringLiteral("first\r\n").size() + kFoldAt - 1 + 3, QStringLiteral("\r\n"));
    EXPECT_TRUE(read(ids::kMulti, 8) == PropertyValue(to_image_text(edited)));

    // A short text written afterwards is shown as it is.
    write(ids::kMulti, 8, text("一\r\n二"));
    EXPECT_EQ(edit->blockCount(), 2);
    EXPECT_EQ(read(ids::kMulti, 8), text("一\r\n二"));
}

// Tab moves on from every box, multi-line ones included, in reading order; nothing lands in the text.
TEST_F(QtUiTest, TabFollowsReadingOrderAndLeavesMultiLineBoxes) {
    auto* single = widget<QLineEdit>(ids::kSingle);
    auto* multi = widget<QPlainTextEdit>(ids::kMulti);
    single->setFocus();
    press(single, Qt::Key_Tab);
    EXPECT_EQ(window()->focusWidget(), widget<QComboBox>(ids::kCombo));
    press(window()->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(window()->focusWidget(), multi);
    multi->selectAll();
    press(multi, Qt::Key_Tab);  // the hidden page's button and the hidden store are passed over
    EXPECT_EQ(window()->focusWidget(), widget<QPushButton>(ids::kHide));
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("一\n二"));
    press(window()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window()->focusWidget(), multi);
    press(multi, Qt::Key_Backtab, Qt::ShiftModifier);
    press(window()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window()->focusWidget(), single);
    EXPECT_EQ(widget<QPlainTextEdit>(ids::kStore)->focusPolicy(), Qt::NoFocus);
}

// Ctrl+Tab and Ctrl+PgDown forward, Ctrl+Shift+Tab and Ctrl+PgUp back, round the pages from any
// control, in or beside the tab control; focus lands on the page's first control in reading order.
TEST_F(QtUiTest, PageKeysTurnThePagesFromAnyControl) {
    auto* tabs = widget<QTabWidget>(ids::kTab);
    auto* multi = widget<QPlainTextEdit>(ids::kMulti);
    multi->setFocus();
    press(multi, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("一\n二"));
    EXPECT_EQ(window()->focusWidget(), tabs->tabBar());  // page 1 holds nothing to focus
    press(window()->focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(window()->focusWidget(), widget<QPushButton>(ids::kWrite));
    press(window()->focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(window()->focusWidget(), widget<QRadioButton>(ids::kRadioA));

    widget<QPushButton>(ids::kHide)->setFocus();
    press(widget<QPushButton>(ids::kHide), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), 2);
    press(window()->focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    press(window()->focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    press(window()->focusWidget(), Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier);  // not a page key
    EXPECT_EQ(tabs->currentIndex(), 0);
}

// Enter presses a focused button or image button once per press, as Space does; elsewhere it is the
// box's own. A link Tab reaches opens with Enter.
TEST_F(QtUiTest, EnterPressesTheFocusedButtonAndOpensTheFocusedLink) {
    window()->activateWindow();  // focus events, which the link answers, go to the active window only
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), window());
    widget<QTabWidget>(ids::kTab)->setCurrentIndex(2);
    sink.events.clear();
    auto* write_button = widget<QPushButton>(ids::kWrite);
    write_button->setFocus();
    press(write_button, Qt::Key_Return);
    press(write_button, Qt::Key_Enter, Qt::KeypadModifier);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);  // autorepeat
    QApplication::sendEvent(write_button, &held);
    press(write_button, Qt::Key_Return, Qt::ControlModifier);
    auto* image_button = widget<QToolButton>(ids::kImageButton);
    image_button->setFocus();
    press(image_button, Qt::Key_Return);
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x40, {}}, {0x40, {}}, {0x60, {}}}));

    press(image_button, Qt::Key_Tab);
    auto* link = widget<QLabel>(ids::kLink);
    ASSERT_EQ(window()->focusWidget(), link);
    press(link, Qt::Key_Return);
    EXPECT_EQ(desktop.opened, (std::vector<QString>{QString::fromUtf8(kForumAddress)}));

    widget<QTabWidget>(ids::kTab)->setCurrentIndex(0);
    auto* single = widget<QLineEdit>(ids::kSingle);
    single->setFocus();
    press(single, Qt::Key_Return);
    EXPECT_EQ(sink.events.size(), 3u);
}

// Qt's own menu in Chinese, 全部复制 right after Copy handing the whole text over as the copy routines
// do (CR LF; the desktop makes it LF for the clipboard); none to copy in an empty box.
TEST_F(QtUiTest, MultiLineBoxesOfferCopyAllInTheirChineseMenu) {
    auto* multi = widget<QPlainTextEdit>(ids::kMulti);
    QString copied;
    BuilderCallbacks callbacks;
    callbacks.copy_text = [&](const QString& text) { copied = text; };
    std::unique_ptr<QMenu> menu(multiline_box_menu(*multi, QPoint(), callbacks));
    QStringList items;
    for (QAction* action : menu->actions()) items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("撤销(&U)\tCtrl+Z"), QStringLiteral("重做(&R)\tCtrl+Y"), QStringLiteral("-"),
                                  QStringLiteral("剪切(&T)\tCtrl+X"), QStringLiteral("复制(&C)\tCtrl+C"), QStringLiteral("全部复制"),
                                  QStringLiteral("粘贴(&P)\tCtrl+V"), QStringLiteral("删除"), QStringLiteral("-"),
                                  QStringLiteral("全选\tCtrl+A")}));
    menu->actions()[5]->trigger();
    EXPECT_EQ(copied, QStringLiteral("一\r\n二"));

    write(ids::kMulti, 8, text(""));
    menu.reset(multiline_box_menu(*multi, QPoint(), callbacks));
    EXPECT_FALSE(menu->actions()[5]->isEnabled());
}

// The closed combo box tells its whole choice as a tooltip; its list opens as wide as the longest item.
TEST_F(QtUiTest, ComboBoxesShowTheirWholeTexts) {
    auto* combo = widget<QComboBox>(ids::kCombo);
    EXPECT_EQ(combo->toolTip(), QStringLiteral("甲"));
    const QString longest = QStringLiteral("2009年03月30日 11点17分36秒 ");
    combo->addItem(longest);
    write(ids::kCombo, 19, 3);
    EXPECT_EQ(combo->toolTip(), longest);
    combo->showPopup();
    EXPECT_GE(combo->view()->width(), combo->view()->fontMetrics().horizontalAdvance(longest));
    EXPECT_GT(combo->view()->width(), combo->width());
    combo->hidePopup();
}

// 按钮1 lies over the tab control; where a page's text box lies under it, the box shows and takes the clicks.
TEST_F(QtUiTest, TheButtonOverThePagesLeavesTheirTextBoxesUncovered) {
    auto* hide = widget<QPushButton>(ids::kHide);
    EXPECT_TRUE(hide->mask().isEmpty());
    widget<QTabWidget>(ids::kTab)->setCurrentIndex(2);
    // The box at 464,477 to 552,497 in the window; the button at 520,480 to 610,509.
    EXPECT_EQ(hide->mask(), QRegion(0, 0, 90, 29) - QRegion(-56, -3, 88, 20));
    EXPECT_EQ(window()->childAt(530, 490), widget<QLineEdit>(ids::kUnder));
    EXPECT_EQ(window()->childAt(600, 490), hide);
    widget<QTabWidget>(ids::kTab)->setCurrentIndex(1);
    EXPECT_TRUE(hide->mask().isEmpty());
}

TEST_F(QtUiTest, LongPastesAreKeptWhole) {
    QString pasted(100 * 1024, QChar(u'键'));
    ASSERT_TRUE(player->type_text({ids::kWindow, ids::kSingle}, pasted).has_value());
    EXPECT_EQ(widget<QLineEdit>(ids::kSingle)->text().size(), pasted.size());
}

TEST_F(QtUiTest, ClicksCheckRadioBoxesBeforeTheirRoutineRuns) {
    sink.events.clear();
    bool checked_when_run = false, sibling_cleared = false;
    sink.on_event = [&](const Event&) {
        checked_when_run = widget<QRadioButton>(ids::kRadioB)->isChecked();
        sibling_cleared = !widget<QRadioButton>(ids::kRadioA)->isChecked();
    };
    ASSERT_TRUE(player->click({ids::kWindow, ids::kRadioB}).has_value());
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x30, {}}}));
    EXPECT_TRUE(checked_when_run);
    EXPECT_TRUE(sibling_cleared);
    sink.on_event = nullptr;

    ASSERT_TRUE(player->click({ids::kWindow, ids::kRadioA}).has_value());  // unbound: checked, no event
    EXPECT_TRUE(widget<QRadioButton>(ids::kRadioA)->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(ids::kRadioB)->isChecked());
    ASSERT_TRUE(player->click({ids::kWindow, ids::kWrite}).has_value());
    ASSERT_TRUE(player->click({ids::kWindow, ids::kImageButton}).has_value());
    ASSERT_TRUE(player->click({ids::kWindow, ids::kHide}).has_value());
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x30, {}}, {0x40, {}}, {0x60, {}}, {0x50, {}}}));

    ASSERT_TRUE(player->click({ids::kWindow, ids::kLink}).has_value());
    EXPECT_EQ(desktop.opened, (std::vector<QString>{QString::fromUtf8(kForumAddress)}));
    auto refused = player->click({ids::kWindow, ids::kLabel});
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().message, "a label cannot be clicked");
    EXPECT_EQ(sink.events.size(), 4u);
}

TEST_F(QtUiTest, TrayIconCodesAndTheMenu) {
    Bytes icon = app::tray_icon_file();
    ui->place_tray_icon(ids::kWindow, icon, gbk("Brindle"));
    ASSERT_TRUE(desktop.tray_icon.has_value());
    EXPECT_EQ(desktop.tray_icon->tooltip, QStringLiteral("Brindle"));
    EXPECT_EQ(desktop.tray_icon->image_count, 20);
    EXPECT_TRUE(desktop.faults.empty());

    sink.events.clear();
    for (int code : {1, 3, 0}) desktop.tray_event(code);
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x20, {1}}, {0x20, {3}}, {0x20, {0}}}));

    ui->pop_up_menu(ids::kWindow, ids::kMenuTitle);
    EXPECT_EQ(desktop.popped_menus, (std::vector<QString>{QStringLiteral("程序菜单")}));
    ui->pop_up_menu(ids::kWindow, 0x26999999);
    EXPECT_EQ(desktop.faults, (std::vector<QString>{QStringLiteral("window 0x52010001 has no menu 0x26999999")}));

    auto item = player->find_menu_item(QStringLiteral("关闭"));
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->element_id, ids::kMenuClose);
    EXPECT_FALSE(player->find_menu_item(QStringLiteral("程序菜单")).has_value());  // a title is not chosen
    sink.events.clear();
    ASSERT_TRUE(player->choose_menu_item(*player->find_menu_item(QStringLiteral("显示"))).has_value());
    EXPECT_EQ(sink.events, (std::vector<Event>{{0x70, {}}}));
}

TEST_F(QtUiTest, UnreadableTrayIconStillPlacesTheTooltip) {
    const uint8_t junk[] = {0, 0, 1, 0, 9, 0, 1, 2};
    ui->place_tray_icon(ids::kWindow, ByteView(junk, sizeof junk), gbk("提示"));
    ASSERT_TRUE(desktop.tray_icon.has_value());
    EXPECT_EQ(desktop.tray_icon->tooltip, QStringLiteral("提示"));
    EXPECT_EQ(desktop.tray_icon->image_count, 0);
    ASSERT_EQ(desktop.faults.size(), 1u);
    EXPECT_TRUE(desktop.faults[0].startsWith(QStringLiteral("the tray icon cannot be shown: ")));
}

TEST_F(QtUiTest, ClosingTheWindowEndsTheLoop) {
    ui->place_tray_icon(ids::kWindow, app::tray_icon_file(), gbk("Brindle"));
    QTimer::singleShot(0, [&] { ui->close_window(ids::kWindow); });
    ui->run_event_loop();  // returns because the only window closed
    EXPECT_EQ(ui->window(ids::kWindow), nullptr);
    EXPECT_FALSE(desktop.tray_icon.has_value());
    EXPECT_EQ(read_error(ids::kMulti, 8), "window 0x52010001 is not open");
}

TEST_F(QtUiTest, UserClosingTheFrameClosesLikeTheProgram) {
    window()->close();
    EXPECT_TRUE(ui->quit_requested());
    EXPECT_EQ(ui->window(ids::kWindow), nullptr);
}

}  // namespace
}  // namespace brindle::runtime::qt::testing
