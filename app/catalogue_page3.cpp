// Tab page 3 " 幻灯片": rows top to bottom and left to right, a group box's children after it,
// text stores last.
#include "app/catalogue_pages.h"
#include "app/contact_texts.h"

namespace brindle::app {

// One control a line, as the page reads.
// clang-format off
std::vector<Control> catalogue_page3() {
    using Kind = ControlKind;
    return {
        {.name = "图片框6", .kind = Kind::PictureBox, .rect = {344, 32, 80, 48}},
        {.name = "编辑框_宽", .kind = Kind::EditBox, .rect = {104, 48, 48, 20}, .text = "280"},
        {.name = "标签18", .kind = Kind::Label, .rect = {24, 52, 72, 12}, .text = "FLASH的宽度"},
        {.name = "编辑框5", .kind = Kind::EditBox, .rect = {336, 79, 88, 20}, .text = contact::kContactNumber},
        {.name = "编辑框_高", .kind = Kind::EditBox, .rect = {104, 80, 48, 20}, .text = "192"},
        {.name = "标签24", .kind = Kind::Label, .rect = {272, 80, 56, 20}, .text = contact::kContactLabel},
        {.name = "标签17", .kind = Kind::Label, .rect = {24, 84, 72, 12}, .text = "FLASH的高度"},
        {.name = "编辑框_flash数目", .kind = Kind::EditBox, .rect = {104, 112, 48, 20}, .text = "5"},
        {.name = "标签30", .kind = Kind::Label, .rect = {24, 116, 72, 12}, .text = "数目"},
        {.name = "按钮_flash", .kind = Kind::Button, .rect = {24, 150, 128, 26}, .text = "生成FLASH", .feature = Feature::SlideshowBuilder},
        {.name = "编辑框_生成flash", .kind = Kind::EditBox, .rect = {11, 188, 592, 266}, .shape = EditShape::MultiLineOutput},
        {.name = "按钮3", .kind = Kind::Button, .rect = {224, 468, 112, 32}, .text = "点击复制", .feature = Feature::Copy},
        {.name = "编辑框_flash属性前", .kind = Kind::EditBox, .rect = {16, 324, 64, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_flash高", .kind = Kind::EditBox, .rect = {80, 324, 56, 26}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_flash宽", .kind = Kind::EditBox, .rect = {144, 324, 32, 26}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_flash结束", .kind = Kind::EditBox, .rect = {16, 356, 32, 25}, .visible = false, .shape = EditShape::Store},
    };
}
// clang-format on

}  // namespace brindle::app
