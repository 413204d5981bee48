#include "runtime/headless/form_runner.h"

#include "common/gbk.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"
#include "runtime/loader.h"

namespace brindle::headless {
namespace {

namespace kind = abi::kind;
namespace property = abi::property;

// The controls as the window starts them: edit box texts, label captions, radio boxes' checked flags,
// every filled combo box at its first item.
std::map<RecordingUi::PropertyKey, PropertyValue> initial_properties(const image::FormModel& form) {
    std::map<RecordingUi::PropertyKey, PropertyValue> out;
    for (const image::FormWindow& w : form.windows)
        for (const image::Element& e : w.elements) {
            if (e.is_menu_item()) continue;
            const image::Properties& p = e.properties;
            if (e.kind == kind::kEditBox)
                out[{w.id, e.id, property::kText}] = p.text;
            else if (e.kind == kind::kLabel)
                out[{w.id, e.id, property::kText}] = p.caption;
            else if (e.kind == kind::kRadioBox)
                out[{w.id, e.id, property::kChecked}] = image::checked(e.kind, p).value_or(false) ? 1 : 0;
            else if (e.kind == kind::kComboBox && !p.items.empty())
                out[{w.id, e.id, property::kSelection}] = 0;
        }
    return out;
}

}  // namespace

Result<std::unique_ptr<FormRunner>> FormRunner::open(ByteView image_bytes) {
    auto image = image::open_image(image_bytes);
    if (!image) return fail("not a readable program image: " + image.error().describe());
    auto parts = runtime::program_parts(*image);
    if (!parts) return fail("the image holds no program: " + parts.error().describe());
    std::unique_ptr<FormRunner> runner(new FormRunner());
    runner->image_ = std::move(*image);
    runner->initial_ = initial_properties(runner->image_.form);
    runner->reset();
    auto kernel = runtime::Kernel::create(runner->ui_);
    if (!kernel) return fail("the kernel does not start: " + kernel.error().describe());
    runner->kernel_ = std::move(*kernel);
    if (auto loaded = runner->kernel_->load(*parts); !loaded)
        return fail("the image does not load: " + loaded.error().describe());
    return runner;
}

void FormRunner::reset() {
    ui_.properties = initial_;
    ui_.clear_records();
}

Result<FormRunner::Located> FormRunner::find(std::string_view control) const {
    auto gbk = utf8_to_gbk(control);
    if (gbk)
        for (const image::FormWindow& w : image_.form.windows)
            for (const image::Element& e : w.elements)
                if (!e.is_menu_item() && e.name == *gbk) return Located{&w, &e};
    return fail("no control is named " + std::string(control));
}

Result<void> FormRunner::set_text(std::string_view control, std::string_view utf8) {
    BRINDLE_TRY(auto at, find(control));
    ui_.properties[{at.window->id, at.element->id, property::kText}] = utf8_to_gb18030(utf8);
    return {};
}

Result<void> FormRunner::select(std::string_view control, int32_t item) {
    BRINDLE_TRY(auto at, find(control));
    ui_.properties[{at.window->id, at.element->id, property::kSelection}] = item;
    return {};
}

Result<void> FormRunner::set_checked(std::string_view control, bool checked) {
    BRINDLE_TRY(auto at, find(control));
    ui_.properties[{at.window->id, at.element->id, property::kChecked}] = checked ? 1 : 0;
    return {};
}

Result<std::vector<FormRunner::BoxWrite>> FormRunner::click(std::string_view control) {
    BRINDLE_TRY(auto at, find(control));
    return click(*at.window, *at.element);
}

Result<std::vector<FormRunner::BoxWrite>> FormRunner::click(const image::FormWindow& window,
                                                            const image::Element& control) {
    auto routine = image_.form.find_routine(window.id, control.id, abi::event::kPrincipal);
    const std::string name = gbk_to_utf8(control.name);
    if (!routine) return fail(name + " has no click routine");
    ui_.clear_records();
    if (control.kind == kind::kRadioBox) ui_.properties[{window.id, control.id, property::kChecked}] = 1;

    std::vector<BoxWrite> writes;
    ui_.on_write = [&](const RecordingUi::PropertyKey& key, const PropertyValue& value) {
        const auto& [window_id, element_id, prop] = key;
        const image::Element* box = image_.form.find_element(window_id, element_id);
        const auto* text = std::get_if<std::string>(&value);
        if (box && box->kind == kind::kEditBox && prop == property::kText && text)
            writes.push_back({gbk_to_utf8(box->name), gbk_to_utf8(*text)});
    };
    auto ran = kernel_->call_routine(kernel_->program().code_address(*routine));
    ui_.on_write = nullptr;
    if (!ran) return fail("the click routine of " + name + " fails: " + ran.error().describe());
    if (!ui_.faults.empty()) return fail("the click routine of " + name + " faults: " + ui_.faults.front());
    return writes;
}

}  // namespace brindle::headless
