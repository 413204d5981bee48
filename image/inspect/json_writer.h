#pragma once
// A small streaming JSON writer: objects, arrays, strings (UTF-8), integers, booleans and null,
// with commas placed automatically.
#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace brindle::inspect {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& begin_object();
    JsonWriter& end_object();
    JsonWriter& begin_array();
    JsonWriter& end_array();
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view utf8);
    JsonWriter& number(int64_t value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();

    // Shorthands for a key and its value.
    JsonWriter& field(std::string_view name, std::string_view utf8) { return key(name).string(utf8); }
    JsonWriter& field(std::string_view name, int64_t value) { return key(name).number(value); }

private:
    void before_value();

    std::ostream& out_;
    std::vector<bool> first_;  // per open container: nothing written yet
    bool after_key_ = false;
};

}  // namespace brindle::inspect
