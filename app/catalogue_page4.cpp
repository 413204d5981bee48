// Tab page 4 "自定义字段": rows top to bottom and left to right, a group box's children after it,
// text stores last.
#include "app/catalogue_pages.h"

namespace brindle::app {

// One control a line, as the page reads.
// clang-format off
std::vector<Control> catalogue_page4() {
    using Kind = ControlKind;
    return {
        {.name = "分组框9", .kind = Kind::GroupBox, .rect = {24, 36, 584, 440}},
        {.name = "标签43", .kind = Kind::Label, .parent = "分组框9", .rect = {16, 24, 128, 24}, .text = "频道类型ID(channelid)"},
        {.name = "编辑框_频道类型ID", .kind = Kind::EditBox, .parent = "分组框9", .rect = {152, 24, 40, 24}},
        {.name = "标签44", .kind = Kind::Label, .parent = "分组框9", .rect = {200, 24, 152, 24}, .text = "栏目ID(调用全频道可忽略)"},
        {.name = "编辑框_自定义栏目", .kind = Kind::EditBox, .parent = "分组框9", .rect = {352, 24, 48, 24}},
        {.name = "标签27", .kind = Kind::Label, .parent = "分组框9", .rect = {16, 72, 48, 24}, .text = "字段名1"},
        {.name = "编辑框_字段名1", .kind = Kind::EditBox, .parent = "分组框9", .rect = {72, 72, 56, 24}},
        {.name = "标签34", .kind = Kind::Label, .parent = "分组框9", .rect = {136, 72, 48, 24}, .text = "字段名2"},
        {.name = "编辑框_字段名2", .kind = Kind::EditBox, .parent = "分组框9", .rect = {184, 72, 56, 24}},
        {.name = "标签35", .kind = Kind::Label, .parent = "分组框9", .rect = {248, 72, 48, 24}, .text = "字段名3"},
        {.name = "编辑框_字段名3", .kind = Kind::EditBox, .parent = "分组框9", .rect = {296, 72, 56, 24}},
        {.name = "标签36", .kind = Kind::Label, .parent = "分组框9", .rect = {360, 72, 48, 24}, .text = "字段名4"},
        {.name = "编辑框_字段名4", .kind = Kind::EditBox, .parent = "分组框9", .rect = {408, 72, 56, 24}},
        {.name = "标签37", .kind = Kind::Label, .parent = "分组框9", .rect = {472, 72, 48, 24}, .text = "字段名5"},
        {.name = "编辑框_字段名5", .kind = Kind::EditBox, .parent = "分组框9", .rect = {520, 72, 56, 24}},
        {.name = "标签33", .kind = Kind::Label, .parent = "分组框9", .rect = {16, 112, 56, 24}, .text = "排序方式"},
        {.name = "组合框_自定义字段排序", .kind = Kind::ComboBox, .parent = "分组框9", .rect = {72, 112, 80, 20}, .items = {"日期排列", "顺序排列", "倒序排列"}, .feature = Feature::NoAction},
        {.name = "标签31", .kind = Kind::Label, .parent = "分组框9", .rect = {200, 112, 32, 24}, .text = "调用"},
        {.name = "编辑框_自定义条数", .kind = Kind::EditBox, .parent = "分组框9", .rect = {240, 112, 32, 24}, .text = "10"},
        {.name = "标签39", .kind = Kind::Label, .parent = "分组框9", .rect = {280, 116, 24, 16}, .text = "条"},
        {.name = "编辑框_自定义字段", .kind = Kind::EditBox, .parent = "分组框9", .rect = {24, 144, 544, 224}, .shape = EditShape::MultiLineOutputPlain},
        {.name = "按钮_自定义生成", .kind = Kind::Button, .parent = "分组框9", .rect = {200, 384, 120, 32}, .text = "生成", .feature = Feature::CustomFieldBuilder},
    };
}
// clang-format on

}  // namespace brindle::app
