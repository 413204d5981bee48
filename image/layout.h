#pragma once
// The byte layout of the program image: header fields, section header fields, section names and
// flags, named once for the reader and the writer.
#include <cstdint>
#include <string_view>

namespace brindle::image::layout {

inline constexpr uint32_t kImageMagic = 0x00004A57;
inline constexpr uint32_t kNone = 0xFFFFFFFF;  // "no offset" in every offset field

// Image header: 88 bytes, then the library table.
namespace header {
inline constexpr uint32_t kMagic = 0x00;
inline constexpr uint32_t kReserved = 0x04;
inline constexpr uint32_t kReservedLength = 32;
inline constexpr uint32_t kFirstSection = 0x24;
inline constexpr uint32_t kUnnamed28 = 0x28;
inline constexpr uint32_t kUnnamed2C = 0x2C;
inline constexpr uint32_t kUnnamed30 = 0x30;
inline constexpr uint32_t kHighestSerial = 0x34;
inline constexpr uint32_t kUnnamed38 = 0x38;
inline constexpr uint32_t kEntry = 0x3C;
inline constexpr uint32_t kConstHeader = 0x40;
inline constexpr uint32_t kFormHeader = 0x44;
inline constexpr uint32_t kHelpHeader = 0x48;
inline constexpr uint32_t kCodeHeader = 0x4C;
inline constexpr uint32_t kVarHeader = 0x50;
inline constexpr uint32_t kUnnamed54 = 0x54;
inline constexpr uint32_t kLibraryTable = 0x58;
inline constexpr uint32_t kLength = 0x58;
}  // namespace header

// Section header: 56 fixed bytes, then reloc_count 4-byte relocation records.
namespace section {
inline constexpr uint32_t kHeaderLength = 0x00;
inline constexpr uint32_t kNext = 0x04;
inline constexpr uint32_t kFlags = 0x08;
inline constexpr uint32_t kName = 0x0C;
inline constexpr uint32_t kNameLength = 20;
inline constexpr uint32_t kReserved20 = 0x20;
inline constexpr uint32_t kMemorySize = 0x24;
inline constexpr uint32_t kStoredSize = 0x28;
inline constexpr uint32_t kDataOffset = 0x2C;
inline constexpr uint32_t kRelocCount = 0x30;
inline constexpr uint32_t kReserved34 = 0x34;
inline constexpr uint32_t kRecords = 0x38;
inline constexpr uint32_t kFixedLength = 56;
inline constexpr uint32_t kRecordSize = 4;
constexpr uint64_t header_length(uint64_t reloc_count) { return kFixedLength + kRecordSize * reloc_count; }
}  // namespace section

// Section names, in the chain order a writer emits.
namespace name {
inline constexpr std::string_view kConst = "const";
inline constexpr std::string_view kForm = "form";
inline constexpr std::string_view kHelp = "help";
inline constexpr std::string_view kCode = "code";
inline constexpr std::string_view kVar = "var";
inline constexpr std::string_view kReferenceLists = "@reloc1";
}  // namespace name

// Section flag bits.
namespace flag {
inline constexpr uint32_t kPresent = 0x01;      // every section
inline constexpr uint32_t kNotStored = 0x02;    // memory but no stored bytes
inline constexpr uint32_t kMachineCode = 0x04;  // the section that holds code
inline constexpr uint32_t kZeroFilled = 0x10;   // memory but no stored bytes
inline constexpr uint32_t kData = kPresent;
inline constexpr uint32_t kCode = kPresent | kMachineCode;                 // 0x05
inline constexpr uint32_t kVariables = kPresent | kNotStored | kZeroFilled;  // 0x13
}  // namespace flag

// Element records of the form section: the zero-filled runs a reader checks and a writer emits.
namespace form {
inline constexpr uint32_t kWindowBlockHead = 24;  // block_word, unit_id, two reserved, element_count, element_bytes
inline constexpr uint32_t kHeadReserved = 20;
inline constexpr uint32_t kEventsReserved = 20;
inline constexpr uint32_t kMenuItemReserved = 16;
}  // namespace form

// Byte block constants: a dimension count (always one), the length, then the bytes.
inline constexpr uint32_t kByteBlockDimensions = 1;
inline constexpr uint32_t kByteBlockHeader = 8;

// The section "help" is room for the kernel service table (abi::service::kTableSize), all zero.

// Blob offsets of an edit box's style words.
namespace edit_box {
inline constexpr uint32_t kLayout = 0x04;  // 1, or 5 for a large output box
inline constexpr uint32_t kBackground = 0x0C;
inline constexpr uint32_t kMultiline = 0x18;
inline constexpr uint32_t kLargeOutput = 0x1C;  // 2 for a large output box
inline constexpr uint32_t kSmallInput = 0x20;   // 1 for a narrow input box
}  // namespace edit_box

// Library table records: five fields separated by carriage returns, each record ended by a NUL.
namespace library {
inline constexpr char kFieldSeparator = '\r';
inline constexpr size_t kFieldCount = 5;
inline constexpr size_t kIdDigits = 32;
}  // namespace library

// Header values a writer uses unless told otherwise.
namespace defaults {
inline constexpr uint32_t kUnnamed28 = 1;
inline constexpr uint32_t kUnnamed2C = 3;
inline constexpr uint32_t kUnnamed30 = 0;
inline constexpr uint32_t kUnnamed38 = 0;
}  // namespace defaults

}  // namespace brindle::image::layout
