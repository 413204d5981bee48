#include "image/inspect/json_writer.h"

#include <cstdio>

#include "common/json_string.h"

namespace brindle::inspect {

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ << ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::begin_object() {
    before_value();
    out_ << '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::end_object() {
    out_ << '}';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::begin_array() {
    before_value();
    out_ << '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::end_array() {
    out_ << ']';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    string(name);
    out_ << ':';
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view s) {
    before_value();
    out_ << json_string(s);
    return *this;
}

JsonWriter& JsonWriter::number(int64_t value) {
    before_value();
    out_ << value;
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    before_value();
    out_ << (value ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null() {
    before_value();
    out_ << "null";
    return *this;
}

}  // namespace brindle::inspect
