#include "image/form_reader.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "image/property_blobs.h"

namespace brindle::image {

namespace {

namespace id = abi::id;
namespace kind = abi::kind;

using namespace layout::form;

Result<void> expect_zero(ByteCursor& c, size_t n, const char* field) {
    uint64_t at = c.offset();
    BRINDLE_TRY(ByteView v, c.bytes(n, field));
    if (std::any_of(v.begin(), v.end(), [](uint8_t b) { return b != 0; }))
        return fail("reserved bytes are not zero", field, at);
    return {};
}

Result<Element> read_menu_item(ByteCursor& c, Element e) {
    BRINDLE_CHECK(expect_zero(c, 4, "menu item reserved"));
    BRINDLE_TRY(e.level, c.u32("level"));
    BRINDLE_CHECK(expect_zero(c, 4, "menu item reserved"));
    BRINDLE_TRY(e.caption, c.cstring("menu caption"));
    BRINDLE_TRY(e.click_offset, c.u32("click_offset"));
    BRINDLE_CHECK(expect_zero(c, kMenuItemReserved, "menu item reserved"));
    return e;
}

Result<int32_t> read_coordinate(ByteCursor& c, const Element& e, const char* field, int32_t low) {
    const uint64_t at = c.offset();
    auto value = c.i32(field);
    if (value && (*value < low || *value > kMaxExtent))
        return fail(std::string(field) + " " + std::to_string(*value) + " of " +
                        (e.kind == kind::kWindow ? "the window element " : "control ") + hex_id(e.id) + " lies outside " +
                        std::to_string(low) + " to " + std::to_string(kMaxExtent) + " pixels",
                    field, at);
    return value;
}

Result<Element> read_control(ByteCursor& c, Element e) {
    BRINDLE_CHECK(expect_zero(c, 4, "control reserved"));
    BRINDLE_TRY(e.left, read_coordinate(c, e, "left", kMinPosition));
    BRINDLE_TRY(e.top, read_coordinate(c, e, "top", kMinPosition));
    BRINDLE_TRY(e.width, read_coordinate(c, e, "width", 0));
    BRINDLE_TRY(e.height, read_coordinate(c, e, "height", 0));
    BRINDLE_CHECK(expect_zero(c, 4, "control reserved"));
    BRINDLE_TRY(e.parent_id, c.u32("parent_id"));
    BRINDLE_TRY(uint32_t child_count, c.u32("child_count"));
    if (child_count > c.remaining() / 4)
        return fail("child_count " + std::to_string(child_count) + " runs past the record", "child_count", c.offset() - 4);
    for (uint32_t i = 0; i < child_count; ++i) {
        BRINDLE_TRY(e.children.emplace_back(), c.u32("child_id"));
    }
    BRINDLE_TRY(uint32_t cursor_length, c.u32("cursor_length"));
    BRINDLE_TRY(ByteView cursor, c.bytes(cursor_length, "cursor"));
    e.cursor.assign(cursor.begin(), cursor.end());
    BRINDLE_TRY(e.tag, c.cstring("tag"));
    BRINDLE_CHECK(expect_zero(c, 4, "control reserved"));
    BRINDLE_TRY(e.flags, c.u32("flags"));
    BRINDLE_CHECK(expect_zero(c, 4, "control reserved"));
    BRINDLE_TRY(uint32_t event_count, c.u32("event_count"));
    if (event_count > c.remaining() / 8)
        return fail("event_count " + std::to_string(event_count) + " runs past the record", "event_count", c.offset() - 4);
    for (uint32_t i = 0; i < event_count; ++i) {
        EventBinding b;
        BRINDLE_TRY(b.index, c.i32("event_index"));
        BRINDLE_TRY(b.code_offset, c.u32("code_offset"));
        e.events.push_back(b);
    }
    BRINDLE_CHECK(expect_zero(c, kEventsReserved, "events reserved"));
    uint64_t blob_at = c.offset();
    BRINDLE_TRY(ByteView blob, c.bytes(c.remaining(), "properties"));
    BRINDLE_TRY(e.properties, decode_properties(e.kind, blob, blob_at));
    return e;
}

// One element record; `record` is exactly the record's 4 + record_length bytes.
Result<Element> read_element(ByteView record, uint64_t base, uint32_t element_id, bool first) {
    ByteCursor c(record, 0, base);
    BRINDLE_CHECK(c.skip(4, "record_length"));
    Element e;
    e.id = element_id;
    BRINDLE_TRY(e.kind, c.u32("kind"));
    const uint32_t top = id::top(element_id);
    if (first && (top != id::kWindowElementTop || e.kind != kind::kWindow))
        return fail("the first element must be the window element (0x06 identifier, window kind), not " + hex_id(element_id),
                    "element_id", base);
    if (!first && top != id::kControlTop && top != id::kMenuItemTop)
        return fail("element identifier " + hex_id(element_id) + " is neither a control nor a menu item", "element_id", base);
    if (!is_known_kind(e.kind)) return fail("unknown kind code " + hex_id(e.kind), "kind", base + 4);
    if ((top == id::kMenuItemTop) != (e.kind == kind::kMenuItem))
        return fail("menu item identifiers and the menu item kind go together (" + hex_id(element_id) + ", kind " + hex_id(e.kind) + ")",
                    "kind", base + 4);
    if (!first && e.kind == kind::kWindow) return fail("only the first element may be of the window kind", "kind", base + 4);
    BRINDLE_CHECK(expect_zero(c, kHeadReserved, "element reserved"));
    BRINDLE_TRY(e.name, c.cstring("name"));
    BRINDLE_TRY(e.comment, c.cstring("comment"));
    if (e.is_menu_item()) {
        BRINDLE_TRY(e, read_menu_item(c, std::move(e)));
        if (!c.at_end())
            return fail("menu item record ends " + std::to_string(c.remaining()) + " bytes before record_length says",
                        "record_length", base);
        return e;
    }
    return read_control(c, std::move(e));
}

Result<FormWindow> read_window_block(ByteCursor& c, ByteView data, uint64_t base, uint32_t window_id,
                                     std::map<uint32_t, uint64_t>& at) {
    const size_t block_start = c.pos();
    FormWindow w;
    w.id = window_id;
    BRINDLE_TRY(w.block_word, c.u32("block_word"));
    BRINDLE_TRY(w.unit_id, c.u32("unit_id"));
    if (id::top(w.unit_id) != id::kWindowUnitTop)
        return fail("window unit identifier " + hex_id(w.unit_id) + " does not have the top byte 0x19", "unit_id", c.offset() - 4);
    BRINDLE_CHECK(expect_zero(c, 8, "window block reserved"));
    BRINDLE_TRY(const uint32_t element_count, c.u32("element_count"));
    const uint64_t count_at = c.offset() - 4;
    BRINDLE_TRY(const uint32_t element_bytes, c.u32("element_bytes"));
    const uint64_t bytes_at = c.offset() - 4;
    if (element_count == 0) return fail("a window has at least its window element", "element_count", count_at);
    if (uint64_t(element_count) * 8 > element_bytes)
        return fail("element_bytes is smaller than 8 × element_count", "element_bytes", bytes_at);
    if (uint64_t(block_start) + kWindowBlockHead + element_bytes > data.size())
        return fail("window block runs past the form data", "element_bytes", bytes_at);
    std::vector<uint32_t> ids(element_count), offsets(element_count);
    for (uint32_t& v : ids) {
        BRINDLE_TRY(v, c.u32("element_id"));
    }
    const uint64_t offsets_at = c.offset();
    for (uint32_t& v : offsets) {
        BRINDLE_TRY(v, c.u32("element_offset"));
    }
    const size_t area = c.pos();
    const uint32_t area_length = element_bytes - element_count * 8;
    uint32_t expected = 0;
    for (uint32_t i = 0; i < element_count; ++i) {
        if (offsets[i] != expected)
            return fail("element records must lie back to back: offset " + std::to_string(offsets[i]) + ", expected " +
                            std::to_string(expected),
                        "element_offset", offsets_at + 4 * i);
        ByteCursor head(data.subspan(area, area_length), expected, base + area);
        const uint64_t record_at = head.offset();
        BRINDLE_TRY(const uint32_t record_length, head.u32("record_length"));
        if (record_length > head.remaining())
            return fail("record runs past the window block's record area", "record_length", record_at);
        ByteView record = data.subspan(area + expected, 4 + size_t(record_length));
        at.emplace(ids[i], record_at);
        BRINDLE_TRY(w.elements.emplace_back(), read_element(record, record_at, ids[i], i == 0));
        expected += 4 + record_length;
    }
    if (expected != area_length)
        return fail("element_bytes leaves " + std::to_string(area_length - expected) + " bytes after the last record",
                    "element_bytes", bytes_at);
    BRINDLE_CHECK(c.seek(area + area_length, "window block end"));
    return w;
}

Result<void> check_window(const FormWindow& w, std::optional<uint32_t> code_size,
                          const std::map<uint32_t, uint64_t>& at) {
    auto where = [&](uint32_t element_id) {
        auto it = at.find(element_id);
        return it == at.end() ? Error::kNoOffset : it->second;
    };
    std::map<uint32_t, const Element*> by_id;
    for (const Element& e : w.elements) by_id[e.id] = &e;
    std::map<uint32_t, int> listed;  // how often each control appears in a child list
    bool seen_title = false;
    for (size_t i = 0; i < w.elements.size(); ++i) {
        const Element& e = w.elements[i];
        const uint64_t off = where(e.id);
        if (e.is_menu_item()) {
            if (e.level > 1) return fail("menu level must be 0 or 1", "level", off);
            if (e.level == 0) seen_title = true;
            else if (!seen_title) return fail("a menu item comes before any menu title", "level", off);
            if (code_size && e.click_offset != kNoRoutine && e.click_offset >= *code_size)
                return fail("click_offset " + hex_id(e.click_offset) + " lies outside the code data", "click_offset", off);
            continue;
        }
        if (i == 0 && e.parent_id != 0) return fail("the window element has no parent", "parent_id", off);
        if (e.parent_id != 0) {
            auto it = by_id.find(e.parent_id);
            if (it == by_id.end() || it->second->is_menu_item() ||
                (it->second->kind != kind::kGroupBox && it->second->kind != kind::kTabControl))
                return fail("parent_id " + hex_id(e.parent_id) + " names no group box or tab control of this window",
                            "parent_id", off);
        }
        if (code_size)
            for (const EventBinding& b : e.events)
                if (b.code_offset >= *code_size)
                    return fail("code_offset " + hex_id(b.code_offset) + " lies outside the code data", "code_offset", off);
    }
    for (const Element& e : w.elements) {
        if (e.is_menu_item()) continue;
        const uint64_t off = where(e.id);
        const bool tab = e.kind == kind::kTabControl;
        for (uint32_t child : e.children) {
            if (child == 0) {
                if (!tab) return fail("only a tab control's child list holds page separators", "child_id", off);
                continue;
            }
            auto it = by_id.find(child);
            if (it == by_id.end() || id::top(child) != id::kControlTop)
                return fail("child " + hex_id(child) + " names no control of this window", "child_id", off);
            if (it->second->parent_id != e.id)
                return fail("child " + hex_id(child) + " names another parent", "child_id", off);
            if (++listed[child] > 1) return fail("child " + hex_id(child) + " is listed twice", "child_id", off);
        }
    }
    for (const Element& e : w.elements) {
        if (e.is_menu_item() || e.parent_id == 0) continue;
        if (listed[e.id] != 1)
            return fail("control " + hex_id(e.id) + " is missing from its parent's child list", "parent_id", where(e.id));
        // Parents must lead back to the window.
        const Element* up = &e;
        size_t steps = 0;
        while (up->parent_id != 0) {
            if (++steps > w.elements.size())
                return fail("parents of " + hex_id(e.id) + " form a cycle", "parent_id", where(e.id));
            auto parent = by_id.find(up->parent_id);
            if (parent == by_id.end()) break;  // reported above
            up = parent->second;
        }
    }
    return {};
}

Result<void> check_form_at(const FormModel& form, std::optional<uint32_t> code_size,
                           const std::map<uint32_t, uint64_t>& at) {
    std::set<uint32_t> serials;
    auto unique = [&](uint32_t identifier, const char* field) -> Result<void> {
        if (!serials.insert(id::serial(identifier)).second) {
            auto it = at.find(identifier);
            return fail("identifier serial of " + hex_id(identifier) + " is already in use", field,
                        it == at.end() ? Error::kNoOffset : it->second);
        }
        return {};
    };
    for (const FormWindow& w : form.windows) {
        if (id::top(w.id) != id::kWindowTop) return fail("window identifier " + hex_id(w.id) + " lacks the top byte 0x52", "window_id");
        if (id::top(w.unit_id) != id::kWindowUnitTop)
            return fail("window unit identifier " + hex_id(w.unit_id) + " lacks the top byte 0x19", "unit_id");
        if (w.elements.empty() || w.elements[0].kind != kind::kWindow ||
            id::top(w.elements[0].id) != id::kWindowElementTop)
            return fail("window " + hex_id(w.id) + " must start with its window element", "element_id");
        BRINDLE_CHECK(unique(w.id, "window_id"));
        BRINDLE_CHECK(unique(w.unit_id, "unit_id"));
        for (size_t i = 0; i < w.elements.size(); ++i) {
            const Element& e = w.elements[i];
            const uint32_t top = id::top(e.id);
            const bool ok_top = i == 0 ? top == id::kWindowElementTop : top == id::kControlTop || top == id::kMenuItemTop;
            if (!ok_top || !is_known_kind(e.kind) || (top == id::kMenuItemTop) != (e.kind == kind::kMenuItem) ||
                (i != 0 && e.kind == kind::kWindow))
                return fail("element " + hex_id(e.id) + " has the wrong identifier or kind for its place", "element_id");
            BRINDLE_CHECK(unique(e.id, "element_id"));
        }
        BRINDLE_CHECK(check_window(w, code_size, at));
    }
    return {};
}

}  // namespace

Result<void> check_form(const FormModel& form, std::optional<uint32_t> code_size) {
    return check_form_at(form, code_size, {});
}

Result<FormModel> read_form(ByteView data, uint64_t base, std::optional<uint32_t> code_size) {
    ByteCursor c(data, 0, base);
    BRINDLE_TRY(const uint32_t table_bytes, c.u32("window_table_bytes"));
    if (table_bytes % 8 != 0) return fail("window_table_bytes is not a multiple of 8", "window_table_bytes", base);
    if (table_bytes > c.remaining()) return fail("window table runs past the form data", "window_table_bytes", base);
    const uint32_t count = table_bytes / 8;
    FormModel form;
    form.windows.resize(count);
    const uint64_t ids_at = c.offset();
    for (FormWindow& w : form.windows) {
        BRINDLE_TRY(w.id, c.u32("window_id"));
        if (id::top(w.id) != id::kWindowTop)
            return fail("window identifier " + hex_id(w.id) + " lacks the top byte 0x52", "window_id", c.offset() - 4);
    }
    for (FormWindow& w : form.windows) {
        BRINDLE_TRY(w.window_word, c.u32("window_word"));
    }
    std::map<uint32_t, uint64_t> at;
    for (uint32_t i = 0; i < count; ++i) {
        at[form.windows[i].id] = ids_at + 4 * i;
        const uint32_t window_word = form.windows[i].window_word;
        BRINDLE_TRY(FormWindow w, read_window_block(c, data, base, form.windows[i].id, at));
        w.window_word = window_word;
        form.windows[i] = std::move(w);
    }
    if (!c.at_end())
        return fail(std::to_string(c.remaining()) + " bytes follow the last window block", "form data", c.offset());
    BRINDLE_CHECK(check_form_at(form, code_size, at));
    return form;
}

}  // namespace brindle::image
