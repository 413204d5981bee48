#include "tools/snippets/palette_reader.h"

#include <map>
#include <tuple>

#include "common/gbk.h"
#include "common/try.h"
#include "image/image_reader.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"
#include "runtime/kernel.h"
#include "runtime/loader.h"
#include "runtime/ui.h"

namespace brindle::snippets {
namespace {

using runtime::PropertyValue;
namespace kind = abi::kind;
namespace property = abi::property;

// Controls as the form starts them, and a record of the edit-box texts a routine writes.
class FormStateUi : public runtime::Ui {
public:
    using Key = std::tuple<uint32_t, uint32_t, uint32_t>;  // window, element, property

    explicit FormStateUi(const image::FormModel& form) {
        for (const image::FormWindow& w : form.windows)
            for (const image::Element& e : w.elements) {
                if (e.is_menu_item()) continue;
                const image::Properties& p = e.properties;
                if (e.kind == kind::kEditBox) initial_[{w.id, e.id, property::kText}] = p.text;
                else if (e.kind == kind::kLabel) initial_[{w.id, e.id, property::kText}] = p.caption;
                else if (e.kind == kind::kRadioBox)
                    initial_[{w.id, e.id, property::kChecked}] = image::checked(e.kind, p).value_or(false) ? 1 : 0;
                else if (e.kind == kind::kComboBox && !p.items.empty())
                    initial_[{w.id, e.id, property::kSelection}] = 0;
                kinds_[e.id] = e.kind;
            }
        reset();
    }

    void reset() {
        properties_ = initial_;
        box_writes.clear();
        faults.clear();
    }
    void set(uint32_t window_id, uint32_t element_id, uint32_t prop, PropertyValue value) {
        properties_[{window_id, element_id, prop}] = std::move(value);
    }

    struct Write {
        uint32_t element_id;
        std::string text;  // GBK
    };
    std::vector<Write> box_writes;
    std::vector<std::string> faults;

    void set_event_sink(runtime::EventSink*) override {}
    Result<void> create_window(uint32_t) override { return {}; }
    Result<PropertyValue> read_property(uint32_t window_id, uint32_t element_id, uint32_t prop) override {
        if (auto it = properties_.find({window_id, element_id, prop}); it != properties_.end()) return it->second;
        if (prop == property::kText) return PropertyValue(std::string());
        return PropertyValue(0);
    }
    Result<void> write_property(uint32_t window_id, uint32_t element_id, uint32_t prop,
                                const PropertyValue& value) override {
        properties_[{window_id, element_id, prop}] = value;
        auto k = kinds_.find(element_id);
        if (prop == property::kText && k != kinds_.end() && k->second == kind::kEditBox)
            if (const auto* text = std::get_if<std::string>(&value)) box_writes.push_back({element_id, *text});
        return {};
    }
    // Headless: every message box is answered at once, nothing reaches a desktop.
    int32_t message_box(std::string_view, int32_t, std::optional<std::string_view>) override { return 1; }
    void set_clipboard_text(std::string_view) override {}
    void place_tray_icon(uint32_t, ByteView, std::string_view) override {}
    void pop_up_menu(uint32_t, uint32_t) override {}
    void close_window(uint32_t) override {}
    void open_web_address(std::string_view) override {}
    void run_event_loop() override {}
    void quit_event_loop() override {}
    void report_fault(std::string_view message) override { faults.emplace_back(message); }

private:
    std::map<Key, PropertyValue> initial_;
    std::map<Key, PropertyValue> properties_;
    std::map<uint32_t, uint32_t> kinds_;
};

// The caption of the group box a control sits in; empty when it sits elsewhere.
std::string group_caption(const image::FormWindow& window, uint32_t element_id) {
    const image::Element* e = window.find(element_id);
    return e && e->kind == kind::kGroupBox ? gbk_to_utf8(e->properties.caption) : std::string();
}

// The caption of each tab page, by page number, for the window's first tab control.
std::vector<std::string> page_captions(const image::FormWindow& window) {
    for (const image::Element& e : window.elements)
        if (e.kind == kind::kTabControl) {
            std::vector<std::string> out;
            for (const std::string& item : e.properties.items) out.push_back(gbk_to_utf8(item));
            return out;
        }
    return {};
}

}  // namespace

struct FormRunner::Impl {
    image::Image image;
    std::unique_ptr<FormStateUi> ui;
    std::unique_ptr<runtime::Kernel> kernel;

    struct Located {
        const image::FormWindow* window;
        const image::Element* element;
    };
    Result<Located> find(std::string_view control) const {
        auto gbk = utf8_to_gbk(control);
        if (gbk)
            for (const image::FormWindow& w : image.form.windows)
                for (const image::Element& e : w.elements)
                    if (!e.is_menu_item() && e.name == *gbk) return Located{&w, &e};
        return fail("no control is named " + std::string(control));
    }

    Result<std::vector<BoxWrite>> run(const Located& at) {
        auto routine = image.form.find_routine(at.window->id, at.element->id, abi::event::kPrincipal);
        const std::string name = gbk_to_utf8(at.element->name);
        if (!routine) return fail(name + " has no click routine");
        ui->box_writes.clear();
        ui->faults.clear();
        if (at.element->kind == kind::kRadioBox) ui->set(at.window->id, at.element->id, property::kChecked, 1);
        auto ran = kernel->call_routine(kernel->program().code_address(*routine));
        if (!ran) return fail("the click routine of " + name + " fails: " + ran.error().describe());
        if (!ui->faults.empty()) return fail("the click routine of " + name + " faults: " + ui->faults.front());
        std::vector<BoxWrite> out;
        for (const auto& w : ui->box_writes) {
            const image::Element* box = at.window->find(w.element_id);
            out.push_back({box ? gbk_to_utf8(box->name) : std::string(), gbk_to_utf8(w.text)});
        }
        return out;
    }
};

FormRunner::FormRunner(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FormRunner::~FormRunner() = default;

Result<std::unique_ptr<FormRunner>> FormRunner::open(ByteView image_bytes) {
    auto image = image::open_image(image_bytes);
    if (!image) return fail("not a readable program image: " + image.error().describe());
    auto parts = runtime::program_parts(*image);
    if (!parts) return fail("the image holds no program: " + parts.error().describe());
    auto impl = std::make_unique<Impl>();
    impl->image = std::move(*image);
    impl->ui = std::make_unique<FormStateUi>(impl->image.form);
    auto kernel = runtime::Kernel::create(*impl->ui);
    if (!kernel) return fail("the kernel does not start: " + kernel.error().describe());
    impl->kernel = std::move(*kernel);
    if (auto loaded = impl->kernel->load(*parts); !loaded)
        return fail("the image does not load: " + loaded.error().describe());
    return std::unique_ptr<FormRunner>(new FormRunner(std::move(impl)));
}

void FormRunner::reset() { impl_->ui->reset(); }

Result<void> FormRunner::set_text(std::string_view control, std::string_view utf8) {
    BRINDLE_TRY(auto at, impl_->find(control));
    impl_->ui->set(at.window->id, at.element->id, property::kText, utf8_to_gb18030(utf8));
    return {};
}

Result<void> FormRunner::select(std::string_view control, int32_t item) {
    BRINDLE_TRY(auto at, impl_->find(control));
    impl_->ui->set(at.window->id, at.element->id, property::kSelection, item);
    return {};
}

Result<void> FormRunner::set_checked(std::string_view control, bool checked) {
    BRINDLE_TRY(auto at, impl_->find(control));
    impl_->ui->set(at.window->id, at.element->id, property::kChecked, checked ? 1 : 0);
    return {};
}

Result<std::vector<FormRunner::BoxWrite>> FormRunner::click(std::string_view control) {
    BRINDLE_TRY(auto at, impl_->find(control));
    return impl_->run(at);
}

Result<std::vector<Fragment>> read_palette(ByteView image_bytes) {
    BRINDLE_TRY(auto runner, FormRunner::open(image_bytes));
    FormRunner::Impl& impl = *runner->impl_;

    std::vector<Fragment> out;
    for (const image::FormWindow& window : impl.image.form.windows) {
        const std::map<uint32_t, uint32_t> pages = window.pages();
        const std::vector<std::string> page_names = page_captions(window);
        for (const image::Element& e : window.elements) {
            if (e.kind != kind::kRadioBox || !impl.image.form.find_routine(window.id, e.id, abi::event::kPrincipal))
                continue;
            // Each entry sees the form as it starts, never another entry's effects.
            impl.ui->reset();
            BRINDLE_TRY(auto writes, impl.run({&window, &e}));
            // A palette entry writes one box; a radio box that writes none is not one.
            if (writes.empty()) continue;
            for (const auto& w : writes)
                if (w.box != writes.front().box)
                    return fail("the click routine of " + gbk_to_utf8(e.name) + " writes more than one box");

            Fragment f;
            f.control = gbk_to_utf8(e.name);
            f.caption = gbk_to_utf8(e.properties.caption);
            f.group = group_caption(window, e.parent_id);
            if (auto page = pages.find(e.id); page != pages.end() && page->second < page_names.size())
                f.page = page_names[page->second];
            f.text = writes.back().text;
            out.push_back(std::move(f));
        }
    }
    if (out.empty()) return fail("the image has no palette: no radio box writes a fragment");
    return out;
}

}  // namespace brindle::snippets
