#pragma once
// A UI without windows: properties live in a map, every call the kernel makes is recorded in order,
// message boxes are answered at once (by a script when one is given), and scripted events are
// delivered when the loop runs. Tests, benchmarks and the form runner play the user through it.
#include <functional>
#include <map>
#include <tuple>

#include "runtime/ui.h"

namespace brindle::headless {

using runtime::Event;
using runtime::PropertyValue;

class RecordingUi : public runtime::Ui {
public:
    struct MessageBox {
        std::string text;
        int32_t style = 0;
        std::optional<std::string> title;
        friend bool operator==(const MessageBox&, const MessageBox&) = default;
    };
    struct TrayIcon {
        uint32_t window_id = 0;
        Bytes icon_file;
        std::string tooltip;
    };
    using PropertyKey = std::tuple<uint32_t, uint32_t, uint32_t>;  // window, element, property

    // --- what a test sets up ---
    std::map<PropertyKey, PropertyValue> properties;
    // Delivered in order when run_event_loop() runs (until quit).
    std::vector<Event> scripted_events;
    // Delivered when create_window() creates that window (its window-created event).
    std::map<uint32_t, Event> creation_events;
    // Runs while a message box is open (a test may post events from here); returns the button.
    std::function<int32_t(const MessageBox&)> on_message_box;
    // Told of every property written, after the map holds it.
    std::function<void(const PropertyKey&, const PropertyValue&)> on_write;

    // Plays the user: hands an event to the kernel now.
    void post(const Event& event) {
        if (sink_) sink_->deliver(event);
    }

    // --- what the kernel did, in order ---
    std::vector<std::string> log;  // one line per call, e.g. "write 0x52010001 0x16000001 8"
    std::vector<uint32_t> created_windows;
    std::vector<uint32_t> closed_windows;
    std::vector<MessageBox> message_boxes;
    std::vector<std::string> clipboard;
    std::vector<TrayIcon> tray_icons;
    std::vector<std::pair<uint32_t, uint32_t>> menus;
    std::vector<std::string> web_addresses;
    std::vector<std::string> faults;
    // Forgets what the kernel did (the lists above), keeping the properties and the set-up.
    void clear_records();

    void set_event_sink(runtime::EventSink* sink) override { sink_ = sink; }
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
    void quit_event_loop() override { quit_ = true; }
    void report_fault(std::string_view message) override;

private:
    runtime::EventSink* sink_ = nullptr;
    bool quit_ = false;
};

}  // namespace brindle::headless
