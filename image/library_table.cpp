#include "image/library_table.h"

#include <algorithm>
#include <cctype>

#include "common/try.h"
#include "image/layout.h"

namespace brindle::image {
namespace {

bool all_of(std::string_view s, int (*pred)(int)) {
    return std::all_of(s.begin(), s.end(), [pred](char c) { return pred(static_cast<unsigned char>(c)) != 0; });
}

bool has_forbidden_byte(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

Result<void> check_library_record(const LibraryRecord& r, uint64_t offset) {
    for (const std::string* field : {&r.name, &r.id, &r.major, &r.minor, &r.description})
        if (has_forbidden_byte(*field))
            return fail("a field holds a carriage return, line feed or NUL", "library record", offset);
    if (r.name.empty() || !all_of(r.name, isalnum))
        return fail("library name must be ASCII letters and digits", "library_name", offset);
    if (r.id.size() != layout::library::kIdDigits || !all_of(r.id, isxdigit))
        return fail("library identifier must be exactly 32 hexadecimal digits", "library_id", offset);
    if (r.major.empty() || !all_of(r.major, isdigit))
        return fail("major version must be decimal digits", "major_version", offset);
    if (r.minor.empty() || !all_of(r.minor, isdigit))
        return fail("minor version must be decimal digits", "minor_version", offset);
    return {};
}

Result<LibraryTable> read_library_table(ByteView image, uint32_t start, uint32_t limit) {
    if (limit > image.size()) limit = static_cast<uint32_t>(image.size());
    if (start > limit) return fail("library table starts after the first section header", "library table", start);
    ByteCursor cursor(image.first(limit), start);
    LibraryTable table;
    for (;;) {
        uint64_t at = cursor.offset();
        auto text = cursor.cstring("library record");
        if (!text)
            return fail("library table has no end record before the first section header", "library table", at);
        if (text->empty()) break;
        std::vector<std::string> fields;
        size_t from = 0;
        for (;;) {
            size_t sep = text->find(layout::library::kFieldSeparator, from);
            fields.push_back(text->substr(from, sep == std::string::npos ? std::string::npos : sep - from));
            if (sep == std::string::npos) break;
            from = sep + 1;
        }
        if (fields.size() != layout::library::kFieldCount)
            return fail("library record has " + std::to_string(fields.size()) + " fields, not 5", "library record", at);
        LibraryRecord record{fields[0], fields[1], fields[2], fields[3], fields[4]};
        BRINDLE_CHECK(check_library_record(record, at));
        table.records.push_back(std::move(record));
    }
    table.end_offset = static_cast<uint32_t>(cursor.offset());
    return table;
}

Result<void> write_library_table(ByteWriter& out, const std::vector<LibraryRecord>& records) {
    for (size_t i = 0; i < records.size(); ++i) {
        const LibraryRecord& r = records[i];
        BRINDLE_CHECK(check_library_record(r, out.size()));
        constexpr char kSep = layout::library::kFieldSeparator;
        std::string joined = r.name + kSep + r.id + kSep + r.major + kSep + r.minor + kSep + r.description;
        out.cstring(joined);
    }
    out.u8(0);
    return {};
}

}  // namespace brindle::image
