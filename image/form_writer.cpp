#include "image/form_writer.h"

#include <limits>

#include "common/try.h"
#include "image/form_reader.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "image/property_blobs.h"

namespace brindle::image {
namespace {

namespace kind = abi::kind;

using namespace layout::form;

Result<Bytes> encode_record(const Element& e) {
    ByteWriter body;
    body.u32(e.kind);
    body.zeros(kHeadReserved);
    body.cstring(e.name);
    body.cstring(e.comment);
    if (e.is_menu_item()) {
        body.u32(0);
        body.u32(e.level);
        body.u32(0);
        body.cstring(e.caption);
        body.u32(e.click_offset);
        body.zeros(kMenuItemReserved);
    } else {
        body.u32(0);
        body.i32(e.left);
        body.i32(e.top);
        body.i32(e.width);
        body.i32(e.height);
        body.u32(0);
        body.u32(e.parent_id);
        body.u32(static_cast<uint32_t>(e.children.size()));
        for (uint32_t child : e.children) body.u32(child);
        body.counted(ByteView(e.cursor));
        body.cstring(e.tag);
        body.u32(0);
        body.u32(e.flags);
        body.u32(0);
        body.u32(static_cast<uint32_t>(e.events.size()));
        for (const EventBinding& b : e.events) {
            body.i32(b.index);
            body.u32(b.code_offset);
        }
        body.zeros(kEventsReserved);
        BRINDLE_TRY(Bytes properties, encode_properties(e.kind, e.properties));
        body.raw(ByteView(properties));
    }
    if (body.size() > std::numeric_limits<uint32_t>::max() - 8) return fail("element record too long", "record_length");
    ByteWriter record;
    record.u32(static_cast<uint32_t>(body.size()));
    record.raw(ByteView(body.bytes()));
    return std::move(record.bytes());
}

}  // namespace

bool takes_input(uint32_t k) {
    return k == kind::kEditBox || k == kind::kButton || k == kind::kRadioBox || k == kind::kComboBox ||
           k == kind::kWebBrowserBox || k == kind::kImageButton;
}

Result<Bytes> write_form(const FormModel& form, std::optional<uint32_t> code_size) {
    BRINDLE_CHECK(check_form(form, code_size));
    ByteWriter w;
    w.u32(static_cast<uint32_t>(form.windows.size() * 8));
    for (const FormWindow& window : form.windows) w.u32(window.id);
    for (const FormWindow& window : form.windows) w.u32(window.window_word);
    for (const FormWindow& window : form.windows) {
        std::vector<Bytes> records;
        uint64_t total = 0;
        for (const Element& e : window.elements) {
            BRINDLE_TRY(records.emplace_back(), encode_record(e));
            total += records.back().size();
        }
        const uint64_t element_bytes = 8 * uint64_t(records.size()) + total;
        if (element_bytes > std::numeric_limits<uint32_t>::max()) return fail("window block too long", "element_bytes");
        w.u32(window.block_word);
        w.u32(window.unit_id);
        w.u32(0);
        w.u32(0);
        w.u32(static_cast<uint32_t>(records.size()));
        w.u32(static_cast<uint32_t>(element_bytes));
        for (const Element& e : window.elements) w.u32(e.id);
        uint32_t offset = 0;
        for (const Bytes& r : records) {
            w.u32(offset);
            offset += static_cast<uint32_t>(r.size());
        }
        for (const Bytes& r : records) w.raw(ByteView(r));
    }
    return std::move(w.bytes());
}

uint32_t FormBuilder::allocate(uint32_t top_byte) { return abi::id::make(top_byte, next_serial_++); }

void FormBuilder::note_serial(uint32_t identifier) {
    if (abi::id::serial(identifier) >= next_serial_) next_serial_ = abi::id::serial(identifier) + 1;
}

FormWindow* FormBuilder::window(uint32_t window_id) {
    for (FormWindow& w : form_.windows)
        if (w.id == window_id) return &w;
    return nullptr;
}

Element* FormBuilder::element(uint32_t window_id, uint32_t element_id) {
    FormWindow* w = window(window_id);
    if (!w) return nullptr;
    for (Element& e : w->elements)
        if (e.id == element_id) return &e;
    return nullptr;
}

FormWindow& FormBuilder::add_window(uint32_t window_id, uint32_t window_element_id, uint32_t unit_id,
                                    Geometry g, std::string caption) {
    FormWindow& w = form_.windows.emplace_back();
    w.id = window_id;
    w.unit_id = unit_id;
    Element& e = w.elements.emplace_back();
    e.id = window_element_id;
    e.kind = kind::kWindow;
    e.left = g.left;
    e.top = g.top;
    e.width = g.width;
    e.height = g.height;
    e.flags = element_flag::kVisible;
    e.properties = default_properties(kind::kWindow);
    e.properties.caption = std::move(caption);
    for (uint32_t identifier : {window_id, window_element_id, unit_id}) note_serial(identifier);
    return w;
}

Result<Element*> FormBuilder::add_control(uint32_t window_id, uint32_t control_id, uint32_t k, std::string name,
                                          Geometry g, uint32_t parent_id, bool visible) {
    FormWindow* w = window(window_id);
    if (!w) return fail("no such window", "window_id");
    if (!kind_has_blob(k) || k == kind::kWindow) return fail("not a control kind", "kind");
    if (parent_id != 0) {
        Element* parent = element(window_id, parent_id);
        if (!parent || (parent->kind != kind::kGroupBox && parent->kind != kind::kTabControl))
            return fail("parent is no group box or tab control of this window", "parent_id");
        parent->children.push_back(control_id);
    }
    Element& e = w->elements.emplace_back();
    e.id = control_id;
    e.kind = k;
    e.name = std::move(name);
    e.left = g.left;
    e.top = g.top;
    e.width = g.width;
    e.height = g.height;
    e.parent_id = parent_id;
    e.flags = (visible ? element_flag::kVisible : 0) | (takes_input(k) ? element_flag::kTakesInput : 0);
    e.properties = default_properties(k);
    note_serial(control_id);
    return &e;
}

Result<void> FormBuilder::next_page(uint32_t window_id, uint32_t tab_control_id) {
    Element* tab = element(window_id, tab_control_id);
    if (!tab || tab->kind != kind::kTabControl) return fail("no such tab control", "tab control");
    tab->children.push_back(0);
    return {};
}

Result<Element*> FormBuilder::add_menu_item(uint32_t window_id, uint32_t item_id, uint32_t level, std::string caption,
                                            uint32_t click_offset) {
    FormWindow* w = window(window_id);
    if (!w) return fail("no such window", "window_id");
    Element& e = w->elements.emplace_back();
    e.id = item_id;
    e.kind = kind::kMenuItem;
    e.level = level;
    e.caption = std::move(caption);
    e.click_offset = click_offset;
    note_serial(item_id);
    return &e;
}

Result<void> FormBuilder::bind(uint32_t window_id, uint32_t element_id, int32_t event_index, uint32_t code_offset) {
    Element* e = element(window_id, element_id);
    if (!e) return fail("no such element", "element_id");
    if (e->is_menu_item()) {
        if (event_index != abi::event::kPrincipal) return fail("a menu item has only its click", "event_index");
        e->click_offset = code_offset;
        return {};
    }
    for (EventBinding& b : e->events)
        if (b.index == event_index) {
            b.code_offset = code_offset;
            return {};
        }
    e->events.push_back({event_index, code_offset});
    return {};
}

Result<FormModel> FormBuilder::finish() const {
    BRINDLE_CHECK(check_form(form_));
    return form_;
}

}  // namespace brindle::image
