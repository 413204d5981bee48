#pragma once
// A small window in the shape of the tool's: a tab control of three pages (the middle one empty), a
// group box with a radio pair, single- and multi-line edit boxes, a combo box, a hidden store, a
// coloured label, buttons, an image button, a hyperlink, a box partly under 按钮1 and the tray menu.
#include <cstdint>
#include <string>

#include "common/bytes.h"
#include "image/form_model.h"
#include "image/kernel_abi.h"

namespace brindle::runtime::qt::testing {

namespace ids {
inline constexpr uint32_t kWindow = 0x52010001;
inline constexpr uint32_t kWindowElement = 0x06010000;
inline constexpr uint32_t kUnit = 0x19010003;
inline constexpr uint32_t kTab = 0x16010002;
inline constexpr uint32_t kGroup = 0x16010004;
inline constexpr uint32_t kRadioA = 0x16010005;  // initially checked
inline constexpr uint32_t kRadioB = 0x16010006;
inline constexpr uint32_t kSingle = 0x16010007;
inline constexpr uint32_t kMulti = 0x16010008;
inline constexpr uint32_t kCombo = 0x16010009;
inline constexpr uint32_t kStore = 0x1601000A;  // hidden, left -72
inline constexpr uint32_t kLabel = 0x1601000B;  // red
inline constexpr uint32_t kWrite = 0x1601000C;  // page 2
inline constexpr uint32_t kImageButton = 0x1601000D;
inline constexpr uint32_t kLink = 0x1601000E;
inline constexpr uint32_t kUnder = 0x1601000F;  // page 2, its right end under 按钮1
inline constexpr uint32_t kHide = 0x16010187;  // on the window, over the tab control
inline constexpr uint32_t kMenuTitle = 0x2601014D;
inline constexpr uint32_t kMenuShow = 0x2601014E;
inline constexpr uint32_t kMenuHide = 0x2601014F;
inline constexpr uint32_t kMenuClose = 0x26010150;
}  // namespace ids

// Code offsets bound to the events; kNoRoutine leaves an event unbound.
struct Bindings {
    static constexpr uint32_t kUnbound = image::kNoRoutine;
    uint32_t created = kUnbound, tray = kUnbound, radio_b = kUnbound, write = kUnbound, hide = kUnbound;
    uint32_t image_button = kUnbound, menu_show = kUnbound, menu_hide = kUnbound, menu_close = kUnbound;
};

inline constexpr const char* kForumAddress = "https://forum.example.org/bbs";

image::FormModel test_form(const Bindings& bindings);

// GBK bytes of a UTF-8 literal (the test's own texts are all GBK).
std::string gbk(const char* utf8);

}  // namespace brindle::runtime::qt::testing
