// Tab page 5 "SQL调用整理": rows top to bottom and left to right, a group box's children after it,
// text stores last.
#include "app/catalogue_pages.h"

namespace brindle::app {

// One control a line, as the page reads.
// clang-format off
std::vector<Control> catalogue_page5() {
    using Kind = ControlKind;
    return {
        {.name = "分组框14", .kind = Kind::GroupBox, .rect = {10, 32, 600, 244}, .text = "常用SQL"},
        {.name = "单选框_内容统计12", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 32, 150, 16}, .text = "清空文章中关键字字段", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 33, 185, 16}, .text = "常用内容统计", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计2", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 62, 185, 16}, .text = "推荐会员（带用户头像）", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计4", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 64, 161, 16}, .text = "文章内容批量替换SQL语句", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计5", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 91, 185, 16}, .text = "会员积分排行", .feature = Feature::InsertSnippet},
        {.name = "单选框_UCenterHome会员", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 96, 206, 16}, .text = "UCenter Home会员调用（带头像）", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计10", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 120, 222, 16}, .text = "最新加入企业及企业所属行业", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计1", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 128, 118, 16}, .text = "UCHOME最新日志", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计9", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 149, 222, 16}, .text = "企业最新产品调用方法（图片+标题）", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计8", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 160, 206, 16}, .text = "调用Discuz论坛附件带图片的贴子", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计11", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 178, 150, 16}, .text = "推荐企业 包含企业简介", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计3", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {312, 192, 118, 16}, .text = "dz论坛最新主题", .feature = Feature::InsertSnippet},
        {.name = "单选框_内容统计7", .kind = Kind::RadioBox, .parent = "分组框14", .rect = {56, 208, 158, 16}, .text = "会员发布的最新10条文档", .feature = Feature::InsertSnippet},
        {.name = "编辑框_清空文章中关键字字段", .kind = Kind::EditBox, .parent = "分组框14", .rect = {542, 76, 48, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_内容统计", .kind = Kind::EditBox, .parent = "分组框14", .rect = {534, 84, 56, 16}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_推荐会员", .kind = Kind::EditBox, .parent = "分组框14", .rect = {550, 100, 40, 32}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_文章内容批量替换", .kind = Kind::EditBox, .parent = "分组框14", .rect = {518, 116, 72, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_会员积分排行", .kind = Kind::EditBox, .parent = "分组框14", .rect = {550, 124, 40, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_编辑框_UCenterHome会员", .kind = Kind::EditBox, .parent = "分组框14", .rect = {542, 140, 48, 32}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_企业及企业所属行业", .kind = Kind::EditBox, .parent = "分组框14", .rect = {534, 148, 56, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_UCHOME最新日志", .kind = Kind::EditBox, .parent = "分组框14", .rect = {534, 156, 56, 32}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_企业最新产品", .kind = Kind::EditBox, .parent = "分组框14", .rect = {534, 172, 56, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_推荐企业包含企业简介", .kind = Kind::EditBox, .parent = "分组框14", .rect = {558, 196, 32, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_Discuz论坛附件带图片", .kind = Kind::EditBox, .parent = "分组框14", .rect = {550, 212, 40, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_dz论坛最新主题", .kind = Kind::EditBox, .parent = "分组框14", .rect = {550, 220, 40, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "编辑框_会员发布的最新10条文档", .kind = Kind::EditBox, .parent = "分组框14", .rect = {574, 220, 16, 24}, .visible = false, .shape = EditShape::Store},
        {.name = "分组框15", .kind = Kind::GroupBox, .rect = {11, 276, 600, 200}},
        {.name = "编辑框_SQL", .kind = Kind::EditBox, .parent = "分组框15", .rect = {4, 13, 590, 179}, .shape = EditShape::MultiLineOutput},
    };
}
// clang-format on

}  // namespace brindle::app
