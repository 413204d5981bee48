#pragma once
// The compiled application running in the kernel against a recording UI that starts with the
// form's initial state: edit box texts (stores included), label captions, radio boxes' checked
// flags, every combo box at its first item. Texts are UTF-8 at this interface.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "runtime/headless/recording_ui.h"
#include "runtime/kernel.h"

namespace brindle::app::testing {

class AppHarness {
public:
    AppHarness();

    // Plays the user: a radio box is checked before its click routine runs. Returns false (and a
    // test failure) when the control has no routine or the routine faults.
    bool click(std::string_view control);
    // Runs the routine bound to `event` of the control without touching any state first.
    bool fire(std::string_view control, int32_t event);

    void set_text(std::string_view control, std::string_view utf8);
    void select(std::string_view control, int32_t item);
    void check(std::string_view control, bool checked);

    std::string text(std::string_view control);
    int32_t selection(std::string_view control);
    int32_t checked(std::string_view control);

    // The kernel's live heap blocks.
    size_t live_blocks() const;

    headless::RecordingUi ui;

    struct Box {
        std::string text;
        int32_t style;
        std::optional<std::string> title;
        friend bool operator==(const Box&, const Box&) = default;
    };
    std::vector<Box> messages() const;
    std::vector<std::string> clipboard() const;

private:
    uint32_t id(std::string_view control) const;
    std::unique_ptr<runtime::Kernel> kernel_;
};

// The image every harness runs, compiled once per test run.
const Bytes& compiled_image();

}  // namespace brindle::app::testing
