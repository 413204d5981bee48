#pragma once
// Writes the form model as the data of the section "form", and builds form models.
#include <cstdint>
#include <optional>
#include <string>

#include "common/bytes.h"
#include "common/result.h"
#include "image/form_model.h"

namespace brindle::image {

// Checks the model (as the reader would) and writes it; with `code_size`, bound offsets are checked too.
Result<Bytes> write_form(const FormModel& form, std::optional<uint32_t> code_size = std::nullopt);

// True for the kinds that take input (their flags carry element_flag::kTakesInput).
bool takes_input(uint32_t kind);

struct Geometry {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

// Builds a form model window by window. Controls join their parent's child list in the order they
// are added; next_page() starts a new page of a tab control. Identifiers may be given or allocated.
class FormBuilder {
public:
    explicit FormBuilder(uint32_t first_serial = 0x010000) : next_serial_(first_serial) {}

    // A fresh identifier with the given top byte and the next unused serial.
    uint32_t allocate(uint32_t top_byte);

    // A window with its window element (window kind, default window properties).
    FormWindow& add_window(uint32_t window_id, uint32_t window_element_id, uint32_t unit_id, Geometry geometry,
                           std::string caption = {});
    // A control with flags from its kind and visibility, default properties of its kind, joined to
    // its parent's child list (a group box or tab control of the same window; 0 for the window).
    Result<Element*> add_control(uint32_t window_id, uint32_t control_id, uint32_t kind, std::string name,
                                 Geometry geometry, uint32_t parent_id = 0, bool visible = true);
    // Ends the current page of a tab control: the controls added to it next go on the following page.
    Result<void> next_page(uint32_t window_id, uint32_t tab_control_id);
    Result<Element*> add_menu_item(uint32_t window_id, uint32_t item_id, uint32_t level, std::string caption,
                                   uint32_t click_offset = kNoRoutine);
    Result<void> bind(uint32_t window_id, uint32_t element_id, int32_t event_index, uint32_t code_offset);

    Element* element(uint32_t window_id, uint32_t element_id);
    const FormModel& model() const { return form_; }
    // The model, checked as the reader would check it.
    Result<FormModel> finish() const;

private:
    void note_serial(uint32_t identifier);
    FormWindow* window(uint32_t window_id);

    FormModel form_;
    uint32_t next_serial_;
};

}  // namespace brindle::image
