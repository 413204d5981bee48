#include "image/form_model.h"

#include <algorithm>

namespace brindle::image {

const Element* FormWindow::find(uint32_t element_id) const {
    for (const Element& e : elements)
        if (e.id == element_id) return &e;
    return nullptr;
}

std::map<uint32_t, uint32_t> FormWindow::pages() const {
    // Direct children of tab controls first: their page is their position between the separators.
    std::map<uint32_t, uint32_t> page_of_direct;
    for (const Element& e : elements) {
        if (e.kind != abi::kind::kTabControl || e.is_menu_item()) continue;
        uint32_t page = 0;
        for (uint32_t child : e.children) {
            if (child == 0) ++page;
            else page_of_direct[child] = page;
        }
    }
    // Everything else takes the page of its nearest ancestor that is such a direct child. The walk
    // is bounded by the element count, so a parent cycle cannot hang it.
    std::map<uint32_t, uint32_t> pages;
    for (const Element& e : elements) {
        if (e.is_menu_item() || e.id == 0) continue;
        const Element* at = &e;
        for (size_t steps = 0; at && steps <= elements.size(); ++steps) {
            if (const Element* parent = find(at->parent_id); parent && parent->kind == abi::kind::kTabControl) {
                if (auto it = page_of_direct.find(at->id); it != page_of_direct.end()) pages[e.id] = it->second;
                break;
            }
            at = at->parent_id == 0 ? nullptr : find(at->parent_id);
        }
    }
    return pages;
}

const FormWindow* FormModel::find_window(uint32_t window_id) const {
    for (const FormWindow& w : windows)
        if (w.id == window_id) return &w;
    return nullptr;
}

const Element* FormModel::find_element(uint32_t window_id, uint32_t element_id) const {
    const FormWindow* w = find_window(window_id);
    return w ? w->find(element_id) : nullptr;
}

std::optional<uint32_t> FormModel::find_routine(uint32_t window_id, uint32_t element_id, int32_t event_index) const {
    const Element* e = find_element(window_id, element_id);
    if (!e) return std::nullopt;
    if (e->is_menu_item()) {
        if (event_index != abi::event::kPrincipal || e->click_offset == kNoRoutine) return std::nullopt;
        return e->click_offset;
    }
    for (const EventBinding& b : e->events)
        if (b.index == event_index) return b.code_offset;
    return std::nullopt;
}

std::optional<uint32_t> FormModel::find_routine(uint32_t element_id, int32_t event_index) const {
    for (const FormWindow& w : windows)
        if (w.find(element_id)) return find_routine(w.id, element_id, event_index);
    return std::nullopt;
}

uint32_t FormModel::highest_serial() const {
    uint32_t highest = 0;
    for (const FormWindow& w : windows) {
        highest = std::max({highest, abi::id::serial(w.id), abi::id::serial(w.unit_id)});
        for (const Element& e : w.elements) highest = std::max(highest, abi::id::serial(e.id));
    }
    return highest;
}

}  // namespace brindle::image
