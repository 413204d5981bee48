#pragma once
// The headless driver's command set: one command a line in, one answer a line out (UTF-8, JSON
// where a value is printed). Errors go to the error stream and the driver goes on.
#include <iosfwd>
#include <string>

#include "runtime/headless/recording_desktop.h"
#include "runtime/headless/ui_player.h"
#include "runtime/kernel.h"
#include "runtime/qt/qt_ui.h"

namespace brindle::drive {

using runtime::qt::ControlRef;

class Driver {
public:
    Driver(runtime::qt::QtUi& ui, headless::RecordingDesktop& desktop, runtime::Kernel& kernel, std::ostream& out,
           std::ostream& err)
        : ui_(ui), desktop_(desktop), player_(ui, desktop), kernel_(kernel), out_(out), err_(err) {}

    void handle(const std::string& line);
    bool had_error() const { return had_error_; }
    // Reports an error as the commands do (the run's exit status then tells of it).
    void error(const std::string& message);
    // Prints the program's faults reported since the last call, as "fault: ..." on the error stream.
    void flush_faults();

private:
    std::optional<ControlRef> control_named(const std::string& name);
    void answer(const std::string& text);

    void set(const std::string& rest);
    void select(const std::string& rest);
    void click(const std::string& rest);
    void menu(const std::string& rest);
    void tray(const std::string& rest);
    void get(const std::string& rest);
    void visible();
    void messages();
    void opened();
    void tray_icon();
    void geometry(const std::string& rest);
    void page(const std::string& rest);
    void focus_chain();
    void window();
    void context_menu(const std::string& rest);
    void key(const std::string& rest);
    void focus(const std::string& rest);
    runtime::qt::BuiltWindow* main_window();

    runtime::qt::QtUi& ui_;
    headless::RecordingDesktop& desktop_;
    headless::UiPlayer player_;
    runtime::Kernel& kernel_;
    std::ostream& out_;
    std::ostream& err_;
    bool had_error_ = false;
    size_t faults_printed_ = 0;
};

}  // namespace brindle::drive
