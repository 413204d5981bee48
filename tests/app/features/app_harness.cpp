#include "tests/app/features/app_harness.h"

#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "app/image_compiler.h"
#include "app/text_stores.h"
#include "common/gbk.h"
#include "image/image_reader.h"
#include "image/kernel_abi.h"
#include "runtime/loader.h"

namespace brindle::app::testing {
namespace {

std::string gbk(std::string_view utf8) {
    auto converted = utf8_to_gbk(utf8);
    EXPECT_TRUE(converted.has_value()) << utf8;
    return converted ? *converted : std::string();
}

uint32_t window_id() { return main_window().id; }

struct LoadedImage {
    image::Image image;
    runtime::ProgramParts parts;
};

const LoadedImage& loaded_image() {
    static const LoadedImage loaded = [] {
        auto image = image::open_image(compiled_image());
        if (!image) throw std::runtime_error("compiled image unreadable: " + image.error().describe());
        auto parts = runtime::program_parts(*image);
        if (!parts) throw std::runtime_error("compiled image has no program: " + parts.error().describe());
        return LoadedImage{std::move(*image), std::move(*parts)};
    }();
    return loaded;
}

}  // namespace

const Bytes& compiled_image() {
    static const Bytes bytes = [] {
        auto compiled = compile_application(BRINDLE_PICTURES_DIR);
        if (!compiled) throw std::runtime_error("the application does not compile: " + compiled.error().describe());
        return std::move(*compiled);
    }();
    return bytes;
}

AppHarness::AppHarness() {
    using runtime::PropertyValue;
    for (const Control& c : controls()) {
        const auto key = [&](uint32_t property) { return std::tuple(window_id(), c.id, property); };
        if (c.text_store()) {
            const TextStore* store = find_text_store(c.name);
            EXPECT_NE(store, nullptr) << c.name;
            if (store) ui.properties[key(abi::property::kText)] = PropertyValue(gbk(store->text));
        } else if (c.kind == ControlKind::EditBox || c.kind == ControlKind::Label) {
            ui.properties[key(abi::property::kText)] = PropertyValue(gbk(c.text));
        } else if (c.kind == ControlKind::RadioBox) {
            ui.properties[key(abi::property::kChecked)] = PropertyValue(c.checked ? 1 : 0);
        } else if (c.kind == ControlKind::ComboBox) {
            ui.properties[key(abi::property::kSelection)] = PropertyValue(0);
        }
    }
    auto kernel = runtime::Kernel::create(ui);
    if (!kernel) throw std::runtime_error("kernel: " + kernel.error().describe());
    kernel_ = std::move(*kernel);
    if (auto loaded = kernel_->load(loaded_image().parts); !loaded)
        throw std::runtime_error("load: " + loaded.error().describe());
}

uint32_t AppHarness::id(std::string_view control) const {
    const Control* c = find_control(control);
    if (!c) throw std::invalid_argument("no control " + std::string(control));
    return c->id;
}

bool AppHarness::fire(std::string_view control, int32_t event) {
    auto offset = loaded_image().image.form.find_routine(window_id(), id(control), event);
    if (!offset) {
        ADD_FAILURE() << "no routine on event " << event << " of " << control;
        return false;
    }
    auto ran = kernel_->call_routine(kernel_->program().code_address(*offset));
    if (!ran) {
        ADD_FAILURE() << control << ": " << ran.error().describe();
        return false;
    }
    if (!kernel_->faults().empty()) {
        ADD_FAILURE() << control << " faulted: " << kernel_->faults().back();
        return false;
    }
    return true;
}

bool AppHarness::click(std::string_view control) {
    const Control* c = find_control(control);
    if (c && c->kind == ControlKind::RadioBox) check(control, true);
    return fire(control, 0);
}

void AppHarness::set_text(std::string_view control, std::string_view utf8) {
    ui.properties[{window_id(), id(control), abi::property::kText}] = runtime::PropertyValue(gbk(utf8));
}

void AppHarness::select(std::string_view control, int32_t item) {
    ui.properties[{window_id(), id(control), abi::property::kSelection}] = runtime::PropertyValue(item);
}

void AppHarness::check(std::string_view control, bool checked) {
    ui.properties[{window_id(), id(control), abi::property::kChecked}] = runtime::PropertyValue(checked ? 1 : 0);
}

std::string AppHarness::text(std::string_view control) {
    auto it = ui.properties.find({window_id(), id(control), abi::property::kText});
    if (it == ui.properties.end()) return {};
    return gbk_to_utf8(std::get<std::string>(it->second));
}

int32_t AppHarness::selection(std::string_view control) {
    return std::get<int32_t>(ui.properties.at({window_id(), id(control), abi::property::kSelection}));
}

int32_t AppHarness::checked(std::string_view control) {
    return std::get<int32_t>(ui.properties.at({window_id(), id(control), abi::property::kChecked}));
}

size_t AppHarness::live_blocks() const { return kernel_->heap().live_blocks(); }

std::vector<AppHarness::Box> AppHarness::messages() const {
    std::vector<Box> out;
    for (const auto& m : ui.message_boxes)
        out.push_back({gbk_to_utf8(m.text), m.style, m.title ? std::optional(gbk_to_utf8(*m.title)) : std::nullopt});
    return out;
}

std::vector<std::string> AppHarness::clipboard() const {
    std::vector<std::string> out;
    for (const auto& c : ui.clipboard) out.push_back(gbk_to_utf8(c));
    return out;
}

}  // namespace brindle::app::testing
