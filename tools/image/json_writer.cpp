#include "tools/image/json_writer.h"

#include <cstdio>

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
    out_ << '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out_ << "\\\""; break;
            case '\\': out_ << "\\\\"; break;
            case '\n': out_ << "\\n"; break;
            case '\r': out_ << "\\r"; break;
            case '\t': out_ << "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ << buf;
                } else {
                    out_ << static_cast<char>(c);
                }
        }
    }
    out_ << '"';
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
