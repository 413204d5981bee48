#pragma once
// The library reference table after the image header: one record per runtime library, the kernel
// first, ended by an empty record.
#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::image {

// Every field exactly as written (the identifier's letter case included); the description is GBK.
struct LibraryRecord {
    std::string name;
    std::string id;     // 32 hexadecimal digits
    std::string major;  // decimal digits
    std::string minor;  // decimal digits
    std::string description;
    friend bool operator==(const LibraryRecord&, const LibraryRecord&) = default;
};

// A library's kind codes carry its table position counted from 1.
constexpr uint32_t library_position(uint32_t library_number) { return library_number + 1; }

struct LibraryTable {
    std::vector<LibraryRecord> records;  // index = library number
    uint32_t end_offset = 0;             // image offset just past the end record
};

// Reads the table starting at `start`; it and its end record must end at or before `limit`.
Result<LibraryTable> read_library_table(ByteView image, uint32_t start, uint32_t limit);

// Checks the fields of one record (`offset` is where it starts, for the error).
Result<void> check_library_record(const LibraryRecord& record, uint64_t offset);

// Appends the records and the end record; refuses a record that breaks the field rules.
Result<void> write_library_table(ByteWriter& out, const std::vector<LibraryRecord>& records);

}  // namespace brindle::image
