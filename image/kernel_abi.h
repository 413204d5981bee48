#pragma once
// The contract between compiled routines and the runtime kernel, named once: service-table
// entries, command numbers, property numbers, argument type tags, kind codes and identifier kinds.
#include <cstdint>
#include <string_view>

namespace brindle::abi {

// GetNewSock's one accepted version.
inline constexpr int32_t kKernelVersion = 1000;

// Byte offsets of the entries of the kernel service table (13 entries of 4 bytes).
namespace service {
inline constexpr uint32_t kArrayIndexError = 0x00;
inline constexpr uint32_t kExtensionCommand = 0x08;
inline constexpr uint32_t kKernelCommand = 0x0C;
inline constexpr uint32_t kReadProperty = 0x10;
inline constexpr uint32_t kWriteProperty = 0x14;
inline constexpr uint32_t kAllocate = 0x18;
inline constexpr uint32_t kRelease = 0x20;
inline constexpr uint32_t kEndProgram = 0x24;
inline constexpr uint32_t kEventLoop = 0x28;
inline constexpr uint32_t kShowWindow = 0x2C;
inline constexpr uint32_t kAcceptRoutine = 0x30;
inline constexpr uint32_t kEntrySize = 4;  // a 32-bit address
inline constexpr uint32_t kEntryCount = 13;
inline constexpr uint32_t kTableSize = kEntryCount * kEntrySize;  // 0x34
// The entry's position in the table, from its byte offset.
constexpr uint32_t index(uint32_t entry) { return entry / kEntrySize; }
}  // namespace service

// Selector passed in eax with the routine handed to kAcceptRoutine.
inline constexpr uint32_t kAcceptRoutineSelector = 3;
// Error code passed to kArrayIndexError.
inline constexpr uint32_t kErrorArrayIndex = 1;

// Kernel command numbers (ebx for kKernelCommand).
namespace command {
inline constexpr uint32_t kMessageBox = 0x300;
inline constexpr uint32_t kSetClipboardText = 0x2C8;
inline constexpr uint32_t kToText = 0x168;
inline constexpr uint32_t kToNumber = 0x164;
inline constexpr uint32_t kToInteger = 0x9DC;
inline constexpr uint32_t kCloseWindow = 0x360;
inline constexpr uint32_t kPlaceTrayIcon = 0x708;
inline constexpr uint32_t kPopUpMenu = 0x70C;
}  // namespace command

// The one extension command: open a web address, in library number 2 (osbridge).
inline constexpr uint32_t kBrowserLibrary = 2;
inline constexpr uint32_t kOpenWebAddress = 0xE0;

// Message box styles of command kMessageBox.
namespace style {
inline constexpr int32_t kPlain = 0;
inline constexpr int32_t kError = 0x10;
inline constexpr int32_t kQuestion = 0x20;
inline constexpr int32_t kWarning = 0x30;
inline constexpr int32_t kInformation = 0x40;
}  // namespace style

// Property numbers (the property's index within its control kind).
namespace property {
inline constexpr uint32_t kVisible = 5;
inline constexpr uint32_t kText = 8;
inline constexpr uint32_t kChecked = 18;
inline constexpr uint32_t kSelection = 19;
}  // namespace property

// Type tags: the third dword of an argument triple.
namespace tag {
inline constexpr uint32_t kOmitted = 0;
inline constexpr uint32_t kText = 0x80000004;
inline constexpr uint32_t kInteger = 0x80000301;
inline constexpr uint32_t kFloat = 0x80000501;
inline constexpr uint32_t kDouble = 0x80000601;
inline constexpr uint32_t kBytes = 0x80000005;
inline constexpr uint32_t kWindowRef = 0x00010001;  // equals the window kind code
inline constexpr uint32_t kMenuRef = 0x00010003;    // equals the menu item kind code
}  // namespace tag

// Kind codes: (library position counted from 1) << 16 | type number counted from 1.
constexpr uint32_t kind_code(uint32_t library_number, uint32_t type_number) {
    return (library_number + 1) << 16 | type_number;
}
namespace kind {
inline constexpr uint32_t kWindow = 0x00010001;
inline constexpr uint32_t kMenuItem = 0x00010003;
inline constexpr uint32_t kEditBox = 0x00010005;
inline constexpr uint32_t kPictureBox = 0x00010006;
inline constexpr uint32_t kGroupBox = 0x00010009;
inline constexpr uint32_t kLabel = 0x0001000A;
inline constexpr uint32_t kButton = 0x0001000B;
inline constexpr uint32_t kRadioBox = 0x0001000D;
inline constexpr uint32_t kComboBox = 0x0001000E;
inline constexpr uint32_t kTabControl = 0x00010015;
inline constexpr uint32_t kHyperlinkBox = 0x0001001D;
inline constexpr uint32_t kImageButton = 0x00020001;
inline constexpr uint32_t kWebBrowserBox = 0x00040001;

// A readable name of a known kind; empty for any other code.
constexpr std::string_view name(uint32_t kind_code) {
    switch (kind_code) {
        case kWindow: return "window";
        case kMenuItem: return "menu item";
        case kEditBox: return "edit box";
        case kPictureBox: return "picture box";
        case kGroupBox: return "group box";
        case kLabel: return "label";
        case kButton: return "button";
        case kRadioBox: return "radio box";
        case kComboBox: return "combo box";
        case kTabControl: return "tab control";
        case kHyperlinkBox: return "hyperlink box";
        case kImageButton: return "image button";
        case kWebBrowserBox: return "web browser box";
    }
    return {};
}
}  // namespace kind

// Identifiers: the top byte says what the object is, the low three bytes are a serial.
namespace id {
inline constexpr uint32_t kWindowTop = 0x52;
inline constexpr uint32_t kWindowElementTop = 0x06;
inline constexpr uint32_t kControlTop = 0x16;
inline constexpr uint32_t kMenuItemTop = 0x26;
inline constexpr uint32_t kWindowUnitTop = 0x19;
constexpr uint32_t top(uint32_t identifier) { return identifier >> 24; }
constexpr uint32_t serial(uint32_t identifier) { return identifier & 0x00FFFFFF; }
constexpr uint32_t make(uint32_t top_byte, uint32_t serial_number) { return top_byte << 24 | (serial_number & 0x00FFFFFF); }
}  // namespace id

// Event indexes.
namespace event {
inline constexpr int32_t kPrincipal = 0;  // click; window created on the window element
inline constexpr int32_t kTrayIcon = 9;   // window element: notification-area icon event, one integer argument
}  // namespace event

}  // namespace brindle::abi
