// Tab page 1 "列表标签": rows top to bottom and left to right, a group box's children after it,
// text stores last.
#include "app/catalogue_pages.h"

namespace brindle::app {

// One control a line, as the page reads.
// clang-format off
std::vector<Control> catalogue_page1() {
    using Kind = ControlKind;
    return {
        {.name = "分组框4", .kind = Kind::GroupBox, .rect = {8, 30, 400, 158}, .text = "列表页面常用"},
        {.name = "标签26", .kind = Kind::Label, .parent = "分组框4", .rect = {8, 32, 48, 24}, .text = "列表条数"},
        {.name = "编辑框_列表条数", .kind = Kind::EditBox, .parent = "分组框4", .rect = {64, 32, 56, 24}, .text = "20"},
        {.name = "标签41", .kind = Kind::Label, .parent = "分组框4", .rect = {144, 32, 48, 24}, .text = "标题字数"},
        {.name = "编辑框_列表标题字数", .kind = Kind::EditBox, .parent = "分组框4", .rect = {200, 32, 56, 24}, .text = "15"},
        {.name = "标签32", .kind = Kind::Label, .parent = "分组框4", .rect = {264, 32, 48, 24}, .text = "分页大小"},
        {.name = "编辑框_分页大小", .kind = Kind::EditBox, .parent = "分组框4", .rect = {328, 32, 56, 24}, .text = "20"},
        {.name = "按钮4", .kind = Kind::Button, .parent = "分组框4", .rect = {144, 94, 112, 32}, .text = "生 成", .feature = Feature::ListPageBuilder},
        {.name = "编辑框_分页CSS", .kind = Kind::EditBox, .parent = "分组框4", .rect = {328, 70, 48, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "分组框13", .kind = Kind::GroupBox, .rect = {416, 30, 192, 158}, .text = "通用标签"},
        {.name = "单选框5", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 16, 72, 24}, .text = "内容摘要", .feature = Feature::InsertSnippet},
        {.name = "单选框3", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 37, 72, 24}, .text = "当前位置", .feature = Feature::InsertSnippet},
        {.name = "单选框4", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 61, 56, 17}, .text = "缩略图", .feature = Feature::InsertSnippet},
        {.name = "单选框19", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 80, 72, 24}, .text = "分页标签", .feature = Feature::InsertSnippet},
        {.name = "单选框20", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 108, 64, 16}, .text = "分页CSS", .feature = Feature::InsertSnippet},
        {.name = "单选框1", .kind = Kind::RadioBox, .parent = "分组框13", .rect = {16, 128, 96, 24}, .text = "当前频道链接", .feature = Feature::InsertSnippet},
        {.name = "编辑框_分页标签", .kind = Kind::EditBox, .parent = "分组框13", .rect = {128, 110, 32, 16}, .visible = false, .shape = EditShape::Store},
        {.name = "分组框10", .kind = Kind::GroupBox, .rect = {9, 193, 192, 144}, .text = "软件常用"},
        {.name = "单选框_上传日期", .kind = Kind::RadioBox, .parent = "分组框10", .rect = {23, 27, 96, 16}, .text = "上传日期", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期1", .kind = Kind::RadioBox, .parent = "分组框10", .rect = {23, 47, 96, 16}, .text = "推荐级别", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期2", .kind = Kind::RadioBox, .parent = "分组框10", .rect = {23, 67, 96, 16}, .text = "软件语言", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期3", .kind = Kind::RadioBox, .parent = "分组框10", .rect = {23, 88, 96, 16}, .text = "浏览次数", .feature = Feature::InsertSnippet},
        {.name = "编辑框_软件常用", .kind = Kind::EditBox, .parent = "分组框10", .rect = {13, 111, 162, 24}, .shape = EditShape::SingleLineOutput},
        {.name = "编辑框_上传日期", .kind = Kind::EditBox, .parent = "分组框10", .rect = {135, 27, 32, 16}, .visible = false, .shape = EditShape::Store},
        {.name = "分组框11", .kind = Kind::GroupBox, .rect = {213, 193, 195, 144}, .text = "商品常用"},
        {.name = "单选框_上传日期7", .kind = Kind::RadioBox, .parent = "分组框11", .rect = {18, 24, 96, 16}, .text = "上架日期", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期6", .kind = Kind::RadioBox, .parent = "分组框11", .rect = {18, 44, 96, 16}, .text = "商品价格", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期5", .kind = Kind::RadioBox, .parent = "分组框11", .rect = {18, 64, 96, 16}, .text = "品牌", .feature = Feature::InsertSnippet},
        {.name = "单选框_上传日期4", .kind = Kind::RadioBox, .parent = "分组框11", .rect = {18, 85, 96, 16}, .text = "浏览次数", .feature = Feature::InsertSnippet},
        {.name = "编辑框_商品常用", .kind = Kind::EditBox, .parent = "分组框11", .rect = {8, 108, 162, 24}, .shape = EditShape::SingleLineOutput},
        {.name = "分组框12", .kind = Kind::GroupBox, .rect = {417, 193, 192, 144}, .text = "分类"},
        {.name = "单选框18", .kind = Kind::RadioBox, .parent = "分组框12", .rect = {15, 43, 160, 32}, .text = "本类比较特殊查看全部", .feature = Feature::InsertSnippet},
        {.name = "编辑框_分类", .kind = Kind::EditBox, .parent = "分组框12", .rect = {103, 91, 64, 32}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_列表页面", .kind = Kind::EditBox, .rect = {9, 344, 599, 116}, .shape = EditShape::MultiLineOutput},
        {.name = "按钮5", .kind = Kind::Button, .rect = {240, 468, 112, 32}, .text = "复 制", .feature = Feature::Copy},
    };
}
// clang-format on

}  // namespace brindle::app
