#include "runtime/qt/qt_ui.h"

#include <QAction>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "runtime/qt/control_properties.h"
#include "runtime/qt/icon_file.h"
#include "runtime/qt/text_codec.h"

namespace brindle::runtime::qt {

namespace {

// A user closing the window from its frame closes it as the program would.
class CloseWatcher : public QObject {
public:
    CloseWatcher(QObject* parent, std::function<void()> on_close) : QObject(parent), on_close_(std::move(on_close)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        on_close_();
        return true;
    }

private:
    std::function<void()> on_close_;
};

// The form gives the outer size. Once the window manager tells its frame, the client area takes the
// rest; where it never does (no window manager, the offscreen platform) the client area keeps the whole.
// A thick frame never cuts the window's own controls: the window grows instead.
class FrameFitter : public QObject {
public:
    FrameFitter(QWidget* window, QSize outer, QSize least)
        : QObject(window), window_(window), outer_(outer), least_(least) {}
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange: fit(); break;
            default: break;
        }
        return false;
    }

private:
    void fit() {
        QWindow* handle = window_->windowHandle();
        if (!handle) return;
        QMargins frame = handle->frameMargins();
        if (frame.isNull() || frame == applied_) return;
        applied_ = frame;
        QSize client(outer_.width() - frame.left() - frame.right(), outer_.height() - frame.top() - frame.bottom());
        window_->setFixedSize(client.expandedTo(least_));
    }

    QWidget* window_;
    QSize outer_;
    QSize least_;
    QMargins applied_;
};

// Once the window has painted its first frame, the pages the user has not opened yet are built, one
// per pass of the event loop so that input waits at most for one page.
class WaitingPagesBuilder : public QObject {
public:
    explicit WaitingPagesBuilder(BuiltWindow& built) : QObject(built.window.get()), built_(built) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == built_.window.get() && !timer_) {
            timer_ = new QTimer(this);
            connect(timer_, &QTimer::timeout, this, [this] {
                if (!built_.build_waiting_page()) timer_->stop();
            });
            timer_->start(0);
        }
        return false;
    }

private:
    BuiltWindow& built_;
    QTimer* timer_ = nullptr;
};

}  // namespace

QtUi::QtUi(image::FormModel form, Desktop& desktop) : form_(std::move(form)), desktop_(desktop) {}

QtUi::~QtUi() {
    desktop_.remove_tray_icon();
    windows_.clear();
    closed_.clear();
}

BuiltWindow* QtUi::window(uint32_t window_id) const {
    auto it = windows_.find(window_id);
    return it == windows_.end() ? nullptr : it->second.get();
}

Result<const BuiltControl*> QtUi::control(uint32_t window_id, uint32_t element_id) const {
    BuiltWindow* w = window(window_id);
    if (!w) return fail("window " + hex_id(window_id) + " is not open");
    const BuiltControl* c = w->find(element_id);
    if (!c) return fail("window " + hex_id(window_id) + " has no control " + hex_id(element_id));
    return c;
}

void QtUi::deliver(uint32_t window_id, uint32_t element_id, int32_t event_index, std::vector<uint32_t> arguments) {
    auto routine = form_.find_routine(window_id, element_id, event_index);
    if (!routine || !sink_) return;
    sink_->deliver(Event{*routine, std::move(arguments)});
}

Result<void> QtUi::create_window(uint32_t window_id) {
    if (auto it = windows_.find(window_id); it != windows_.end()) {
        it->second->window->show();
        return {};
    }
    const image::FormWindow* form = form_.find_window(window_id);
    if (!form) return fail("the form describes no window " + hex_id(window_id));
    BuilderCallbacks callbacks{
        .clicked = [this, window_id](uint32_t element) { deliver(window_id, element, abi::event::kPrincipal); },
        .menu_chosen = [this, window_id](uint32_t item) { deliver(window_id, item, abi::event::kPrincipal); },
        .open_address = [this](const QString& address) { desktop_.open_address(address); },
        .copy_text = [this](const QString& text) { desktop_.set_clipboard_text(text); },
    };
    BRINDLE_TRY(auto built, build_window(*form, callbacks));
    BuiltWindow& w = *built;
    uint32_t element = w.window_element_id;
    windows_[window_id] = std::move(built);
    w.window->installEventFilter(new CloseWatcher(w.window.get(), [this, window_id] { close_window(window_id); }));
    w.window->installEventFilter(new FrameFitter(w.window.get(), w.outer_size, w.client_extent));
    w.window->installEventFilter(new WaitingPagesBuilder(w));
    if (windows_.size() == 1) desktop_.set_main_window(w.window.get());
    w.window->show();
    deliver(window_id, element, abi::event::kPrincipal);
    return {};
}

Result<PropertyValue> QtUi::read_property(uint32_t window_id, uint32_t element_id, uint32_t property) {
    BRINDLE_TRY(auto c, control(window_id, element_id));
    return read_control_property(*c, property);
}

Result<void> QtUi::write_property(uint32_t window_id, uint32_t element_id, uint32_t property, const PropertyValue& value) {
    BRINDLE_TRY(auto c, control(window_id, element_id));
    // Hidden without a tray icon, the window could never be shown again, and minimised it vanishes
    // just as well where no task bar lists it: it stays shown, only lowered behind other windows.
    const auto* hide = std::get_if<int32_t>(&value);
    if (c->kind == abi::kind::kWindow && property == abi::property::kVisible && hide && *hide == 0 &&
        !desktop_.has_tray_icon()) {
        c->widget->lower();
        return {};
    }
    // Once minimised, the window keeps the iconic start hint Qt gave it then, and the window manager
    // would map it minimised again; passing through the minimised state makes Qt clear that hint.
    if (c->kind == abi::kind::kWindow && property == abi::property::kVisible && hide && *hide != 0 &&
        c->widget->isHidden() && c->widget->windowHandle())
        c->widget->setWindowState(Qt::WindowMinimized);
    return write_control_property(*c, property, value);
}

int32_t QtUi::message_box(std::string_view text, int32_t style, std::optional<std::string_view> title) {
    std::optional<QString> shown_title;
    if (title) shown_title = from_image_text(*title);
    return desktop_.message_box(from_image_text(text), style, shown_title);
}

void QtUi::set_clipboard_text(std::string_view text) { desktop_.set_clipboard_text(from_image_text(text)); }

void QtUi::place_tray_icon(uint32_t window_id, ByteView icon_file, std::string_view tooltip) {
    TrayIconData data;
    data.tooltip = from_image_text(tooltip);
    if (auto icon = load_icon(icon_file)) {
        data.icon = icon->icon;
        data.image_count = icon->image_count;
    } else {
        desktop_.report_fault(QString::fromStdString("the tray icon cannot be shown: " + icon.error().message));
        if (const BuiltWindow* w = window(window_id)) data.icon = w->window->windowIcon();
    }
    tray_window_ = window_id;
    // With the notification area gone, a hidden window could never be shown again.
    desktop_.on_tray_lost([this, window_id] {
        const BuiltWindow* w = window(window_id);
        if (w && w->window->isHidden()) (void)write_property(window_id, w->window_element_id, abi::property::kVisible, PropertyValue(int32_t(1)));
    });
    desktop_.place_tray_icon(data, [this, window_id](int code) { tray_event(window_id, code); });
}

void QtUi::tray_event(uint32_t window_id, int code) {
    const BuiltWindow* w = window(window_id);
    if (!w) return;
    deliver(window_id, w->window_element_id, abi::event::kTrayIcon, {static_cast<uint32_t>(code)});
}

void QtUi::pop_up_menu(uint32_t window_id, uint32_t menu_id) {
    const BuiltWindow* w = window(window_id);
    if (!w) return report_fault("window " + hex_id(window_id) + " is not open");
    auto menu = w->menus.find(menu_id);
    if (menu == w->menus.end()) return report_fault("window " + hex_id(window_id) + " has no menu " + hex_id(menu_id));
    desktop_.pop_up_menu(*menu->second);
}

void QtUi::close_window(uint32_t window_id) {
    auto it = windows_.find(window_id);
    if (it == windows_.end()) return;
    it->second->window->hide();
    closed_.push_back(std::move(it->second));
    windows_.erase(it);
    if (tray_window_ == window_id) {
        desktop_.remove_tray_icon();
        tray_window_.reset();
    }
    if (windows_.empty()) quit_event_loop();
}

void QtUi::show_main_window() {
    if (form_.windows.empty()) return;
    const BuiltWindow* w = window(form_.windows.front().id);
    if (w) (void)write_property(w->id, w->window_element_id, abi::property::kVisible, PropertyValue(int32_t(1)));
}

void QtUi::open_web_address(std::string_view address) { desktop_.open_address(from_image_text(address)); }

void QtUi::run_event_loop() {
    if (!quit_requested_) {
        if (runner_) {
            runner_();
        } else {
            QEventLoop loop;
            loop_ = &loop;
            loop.exec();
            loop_ = nullptr;
        }
    }
    quit_requested_ = false;
}

void QtUi::quit_event_loop() {
    quit_requested_ = true;
    if (loop_) loop_->quit();
}

void QtUi::report_fault(std::string_view message) {
    desktop_.report_fault(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace brindle::runtime::qt
