#pragma once
// The kernel's UI on Qt Widgets: windows built from the form section, properties by number, user
// events handed to the kernel with the routine the form binds to them, desktop services through a
// Desktop.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "image/form_model.h"
#include "runtime/qt/desktop.h"
#include "runtime/qt/window_builder.h"
#include "runtime/ui.h"

class QEventLoop;

namespace brindle::runtime::qt {

struct ControlRef {
    uint32_t window_id = 0;
    uint32_t element_id = 0;
};

class QtUi : public Ui {
public:
    // A QApplication must exist while the UI does.
    QtUi(image::FormModel form, Desktop& desktop);
    ~QtUi() override;

    void set_event_sink(EventSink* sink) override { sink_ = sink; }
    Result<void> create_window(uint32_t window_id) override;
    Result<PropertyValue> read_property(uint32_t window_id, uint32_t element_id, uint32_t property) override;
    Result<void> write_property(uint32_t window_id, uint32_t element_id, uint32_t property,
                                const PropertyValue& value) override;
    int32_t message_box(std::string_view text, int32_t style, std::optional<std::string_view> title) override;
    void set_clipboard_text(std::string_view text) override;
    void place_tray_icon(uint32_t window_id, ByteView icon_file, std::string_view tooltip) override;
    void pop_up_menu(uint32_t window_id, uint32_t menu_id) override;
    void close_window(uint32_t window_id) override;
    void open_web_address(std::string_view address) override;
    void run_event_loop() override;
    void quit_event_loop() override;
    void report_fault(std::string_view message) override;

    // Shows, raises and activates the main window (the first the form describes) if it is open, as
    // its menu's 显示 would.
    void show_main_window();

    // What the event loop runs instead of Qt's own loop (the headless driver reads commands there);
    // it should return once quit_requested() turns true.
    void set_loop_runner(std::function<void()> runner) { runner_ = std::move(runner); }
    bool quit_requested() const { return quit_requested_; }

    // What is shown, for tools that look at the windows from outside.
    const image::FormModel& form() const { return form_; }
    BuiltWindow* window(uint32_t window_id) const;

private:
    void tray_event(uint32_t window_id, int code);
    void deliver(uint32_t window_id, uint32_t element_id, int32_t event_index, std::vector<uint32_t> arguments = {});
    Result<const BuiltControl*> control(uint32_t window_id, uint32_t element_id) const;

    image::FormModel form_;
    Desktop& desktop_;
    EventSink* sink_ = nullptr;
    std::map<uint32_t, std::unique_ptr<BuiltWindow>> windows_;
    // Closed windows are kept until the UI goes: their menu may still be emitting the choice that closed them.
    std::vector<std::unique_ptr<BuiltWindow>> closed_;
    std::optional<uint32_t> tray_window_;
    std::function<void()> runner_;
    QEventLoop* loop_ = nullptr;
    bool quit_requested_ = false;
};

}  // namespace brindle::runtime::qt
