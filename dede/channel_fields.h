#pragma once
// A channel model's own fields, as #@__channeltype.fieldset declares them (<field:NAME .../> tags,
// read with DedeCMS's tag rules), and what an article page makes of a stored value.
#include <string>
#include <string_view>
#include <vector>

#include "dede/tag_parser.h"

namespace brindle::dede {

struct ChannelField {
    std::string name;  // lower case
    TagAttributes attributes;
    std::string item_name;  // the label, the name when the model gives none
};

struct ChannelFields {
    std::vector<ChannelField> fields;  // in the model's order, up to the first name given twice
    std::string split_field;           // the field whose text is split into pages (page="split")
};

ChannelFields read_channel_fields(std::string_view fieldset);

// A value as a page shows it when the template names the field: an empty value takes the field's
// default (a checkbox's stays empty), a one-line text is HTML-escaped with any <style> block gone
// (backslashes as PHP's stripslashes and addslashes leave them).
// Other kinds (pictures, download links, special topics, stored files) show the stored text.
std::string shown_field_value(const ChannelField& field, std::string value);

}  // namespace brindle::dede
