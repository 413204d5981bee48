#include "app/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "common/gbk.h"

using namespace brindle;
using namespace brindle::app;

namespace {

const Control& control(std::string_view name) {
    const Control* found = find_control(name);
    if (!found) throw std::runtime_error("no control " + std::string(name));
    return *found;
}

std::vector<std::string_view> names_of(const std::vector<const Control*>& list) {
    std::vector<std::string_view> names;
    for (const Control* c : list) names.push_back(c->name);
    return names;
}

bool is_contact_number(const Control& c) {
    // 编辑框1 .. 编辑框9 carry the contact numbers.
    return c.name.size() == std::string_view("编辑框1").size() && c.name.starts_with("编辑框");
}

}  // namespace

TEST(Catalogue, IdentifiersAreUniqueAndWellFormed) {
    const MainWindow& window = main_window();
    EXPECT_EQ(window.id, 0x52010001u);
    EXPECT_EQ(window.element_id, 0x06010000u);
    EXPECT_EQ(window.unit_id >> 24, 0x19u);
    EXPECT_EQ(control("选择夹1").id, 0x16010002u);
    EXPECT_EQ(control("按钮1").id, 0x16010187u);

    std::set<uint32_t> serials = {window.id & 0xFFFFFF, window.element_id & 0xFFFFFF};
    EXPECT_TRUE(serials.insert(window.unit_id & 0xFFFFFF).second);
    std::set<std::string_view> names;
    uint32_t highest = 0;
    for (const Control& c : controls()) {
        EXPECT_TRUE(names.insert(c.name).second) << "duplicate name " << c.name;
        EXPECT_EQ(c.id >> 24, 0x16u) << c.name;
        EXPECT_TRUE(serials.insert(c.id & 0xFFFFFF).second) << "serial reused by " << c.name;
        highest = std::max(highest, c.id & 0xFFFFFF);
    }
    for (const MenuItem& item : menu_items()) {
        EXPECT_EQ(item.id >> 24, 0x26u);
        EXPECT_TRUE(serials.insert(item.id & 0xFFFFFF).second) << "serial reused by " << item.caption;
    }
    EXPECT_EQ(*serials.begin(), 0x010000u);
    EXPECT_EQ(highest_serial(), *serials.rbegin());
    EXPECT_EQ(highest_serial(), 0x010187u);
}

TEST(Catalogue, MenuIsTheTrayPopUp) {
    std::vector<std::tuple<uint32_t, int, std::string_view, MenuAction>> rows;
    for (const MenuItem& m : menu_items()) rows.emplace_back(m.id, m.level, m.caption, m.action);
    EXPECT_EQ(rows, (decltype(rows){{0x2601014D, 0, "程序菜单", MenuAction::None},
                                    {0x2601014E, 1, "显示", MenuAction::ShowWindow},
                                    {0x2601014F, 1, "隐藏", MenuAction::HideWindow},
                                    {0x26010150, 1, "关闭", MenuAction::CloseWindow}}));
}

TEST(Catalogue, WindowAndPages) {
    const MainWindow& window = main_window();
    EXPECT_EQ(window.rect.left, 50);
    EXPECT_EQ(window.rect.top, 50);
    EXPECT_EQ(window.rect.width, 627);
    EXPECT_EQ(window.rect.height, 571);
    EXPECT_NE(window.caption.find("Brindle"), std::string_view::npos);
    const std::vector<std::string_view> captions = {"首页标签", "列表标签", "内容标签", " 幻灯片",
                                                    "自定义字段", "SQL调用整理", "联系作者"};
    EXPECT_EQ(window.page_captions, captions);
    EXPECT_EQ(control("选择夹1").items, captions);

    // Row counts of every page table, and the two controls placed on the window itself.
    std::map<int, int> per_page;
    for (const Control& c : controls()) ++per_page[c.page];
    EXPECT_EQ(per_page, (std::map<int, int>{{-1, 2}, {0, 81}, {1, 35}, {2, 67}, {3, 16}, {4, 22}, {5, 29}, {6, 17}}));
    EXPECT_EQ(controls()[0].name, "选择夹1");
    EXPECT_EQ(controls()[1].name, "按钮1");
}

TEST(Catalogue, ParentsAreGroupBoxesOnTheSamePage) {
    for (const Control& c : controls()) {
        if (c.parent.empty()) continue;
        const Control* parent = find_control(c.parent);
        ASSERT_NE(parent, nullptr) << c.name;
        EXPECT_EQ(parent->kind, ControlKind::GroupBox) << c.name;
        EXPECT_EQ(parent->page, c.page) << c.name;
        // A group box comes before its children.
        EXPECT_LT(parent, &c) << c.name;
    }
    EXPECT_EQ(control("标签25").parent, "分组框16");
    EXPECT_EQ(control("分组框16").parent, "分组框1");
    EXPECT_EQ(control("单选框_网站名称").parent, "分组框1");
    EXPECT_EQ(names_of(group_children("分组框15")), std::vector<std::string_view>{"编辑框_SQL"});
    EXPECT_EQ(group_children("分组框16").size(), 12u);
    EXPECT_EQ(group_children("分组框1").size(), 11u);
    EXPECT_EQ(names_of(page_controls(5)), (std::vector<std::string_view>{"分组框14", "分组框15"}));
    EXPECT_EQ(page_controls(3).size(), 16u);
    EXPECT_EQ(names_of(page_controls(-1)), (std::vector<std::string_view>{"选择夹1", "按钮1"}));
    EXPECT_TRUE(group_children("").empty());
    EXPECT_EQ(find_control("编辑框_不存在"), nullptr);
}

TEST(Catalogue, InitialTextsOfEditBoxes) {
    const std::map<std::string_view, std::string_view> filled = {
        {"编辑框_栏目ID", "1"},       {"编辑框_标题字数", "10"}, {"编辑框_调用条数", "5"},
        {"编辑框_列表条数", "20"},    {"编辑框_列表标题字数", "15"}, {"编辑框_分页大小", "20"},
        {"编辑框_宽", "280"},         {"编辑框_高", "192"},     {"编辑框_flash数目", "5"},
        {"编辑框_自定义条数", "10"},
    };
    int inputs = 0, contacts = 0;
    for (const Control& c : controls()) {
        if (c.kind != ControlKind::EditBox) continue;
        if (c.shape != EditShape::Input) {
            EXPECT_EQ(c.text, "") << c.name;  // outputs start empty; stores keep their text elsewhere
        } else if (is_contact_number(c)) {
            ++contacts;
            EXPECT_FALSE(c.text.empty()) << c.name;
        } else {
            ++inputs;
            auto it = filled.find(c.name);
            EXPECT_EQ(c.text, it == filled.end() ? "" : it->second) << c.name;
        }
    }
    EXPECT_EQ(contacts, 9);
    EXPECT_EQ(inputs, 26);
    for (const auto& [name, text] : filled) EXPECT_EQ(control(name).shape, EditShape::Input) << name;
}

TEST(Catalogue, OutputBoxShapes) {
    const std::map<std::string_view, EditShape> outputs = {
        {"编辑框_标签输出1", EditShape::MultiLineOutput},   {"编辑框_列表页面", EditShape::MultiLineOutput},
        {"编辑框_文章页面", EditShape::MultiLineOutput},    {"编辑框_生成flash", EditShape::MultiLineOutput},
        {"编辑框_SQL", EditShape::MultiLineOutput},         {"编辑框_自定义字段", EditShape::MultiLineOutputPlain},
        {"编辑框_头尾", EditShape::SingleLineOutput},       {"编辑框_商品常用", EditShape::SingleLineOutput},
        {"编辑框_软件常用", EditShape::SingleLineOutput},
    };
    std::map<std::string_view, EditShape> found;
    for (const Control& c : controls())
        if (c.kind == ControlKind::EditBox && c.shape != EditShape::Input && c.shape != EditShape::Store)
            found.emplace(c.name, c.shape);
    EXPECT_EQ(found, outputs);
}

TEST(Catalogue, TextStores) {
    std::vector<std::string_view> visible;
    int hidden = 0;
    for (const Control& c : controls()) {
        if (!c.text_store()) {
            // Only text stores are hidden.
            EXPECT_TRUE(c.visible) << c.name;
            continue;
        }
        EXPECT_TRUE(c.text.empty()) << c.name;
        if (c.visible) visible.push_back(c.name);
        else ++hidden;
    }
    EXPECT_EQ(hidden, 39);
    EXPECT_EQ(visible, (std::vector<std::string_view>{"编辑框_带图片", "编辑框_带摘要", "编辑框_图片摘要"}));
    for (std::string_view name : visible) EXPECT_EQ(control(name).parent, "分组框2");

    const Control& negative = control("编辑框_截止日期");
    EXPECT_EQ(negative.parent, "分组框7");
    EXPECT_EQ(negative.rect.left, -72);
    EXPECT_EQ(negative.rect.top, 124);
    EXPECT_FALSE(negative.visible);
    EXPECT_TRUE(control("编辑框_编辑框_UCenterHome会员").text_store());
}

TEST(Catalogue, RadioBoxes) {
    std::vector<std::string_view> checked;
    int radios = 0, palette = 0;
    for (const Control& c : controls()) {
        if (c.kind != ControlKind::RadioBox) {
            EXPECT_FALSE(c.checked) << c.name;
            continue;
        }
        ++radios;
        if (c.checked) checked.push_back(c.name);
        if (c.feature == Feature::InsertSnippet) ++palette;
    }
    EXPECT_EQ(radios, 87);
    EXPECT_EQ(palette, 82);
    EXPECT_EQ(checked, std::vector<std::string_view>{"单选框_2"});
    // The five style choices of the document-list builder: no binding, captions cut or absent.
    const std::string_view styles[] = {"单选框_1", "单选框_2", "单选框_3", "单选框_4", "单选框_5"};
    for (size_t i = 0; i < 5; ++i) {
        const Control& c = control(styles[i]);
        EXPECT_EQ(c.feature, Feature::None);
        EXPECT_EQ(c.rect.width, 16);
        EXPECT_EQ(c.text, i < 2 ? "单选框" : "");
    }
}

TEST(Catalogue, FeaturesOfButtonsAndOthers) {
    std::map<std::string_view, Feature> bound;
    for (const Control& c : controls())
        if (c.feature != Feature::None && c.feature != Feature::InsertSnippet) bound.emplace(c.name, c.feature);
    const std::map<std::string_view, Feature> expected = {
        {"按钮1", Feature::HideWindow},
        {"按钮_生成导航", Feature::NavigationBuilder},
        {"按钮_头尾复制", Feature::Copy},
        {"生成_标签", Feature::DocumentListBuilder},
        {"按钮_输出复制", Feature::Copy},
        {"按钮_清空", Feature::ClearForm},
        {"按钮4", Feature::ListPageBuilder},
        {"按钮5", Feature::Copy},
        {"按钮2", Feature::Copy},
        {"按钮_flash", Feature::SlideshowBuilder},
        {"按钮3", Feature::Copy},
        {"组合框_自定义字段排序", Feature::NoAction},
        {"按钮_自定义生成", Feature::CustomFieldBuilder},
        {"超级按钮2", Feature::OpenForum},
    };
    EXPECT_EQ(bound, expected);
}

TEST(Catalogue, CaptionsAndItemsKeepTheirBlanks) {
    EXPECT_EQ(control("按钮_头尾复制").text, "复 制");
    EXPECT_EQ(control("生成_标签").text, "*生 成*");
    EXPECT_EQ(control("标签12").text, "累了，就好好休息吧。");
    EXPECT_EQ(control("单选框_UCenterHome会员").text, "UCenter Home会员调用（带头像）");
    EXPECT_EQ(control("组合框_时间样式").items,
              (std::vector<std::string_view>{"时间无显示", "03-17", "09-03-17", "09-03-30 18:21:30 ",
                                             "03-30 18:30:12 ", "03-30 18:34 ", "09年03月30日",
                                             "2009年03月30日 11点17分36秒 ", "Mar 30, 2009"}));
    EXPECT_EQ(control("组合框_排列方式").items,
              (std::vector<std::string_view>{"发布时间", "录入时间", "点击排列", "最后评论", "随机排列"}));
    EXPECT_EQ(control("组合框_自定义字段排序").items,
              (std::vector<std::string_view>{"日期排列", "顺序排列", "倒序排列"}));
    EXPECT_EQ(control("分组框9").text, "");
    EXPECT_EQ(control("分组框_图片页面").text, "");

    const Control& empty_link = control("超级链接框_ad4");
    EXPECT_EQ(empty_link.text, "");
    EXPECT_EQ(empty_link.url, "");
    EXPECT_TRUE(control("超级链接框1").url.starts_with("https://"));
    EXPECT_TRUE(control("超文本浏览框1").url.starts_with("data:text/html,"));
}

TEST(Catalogue, LabelColours) {
    std::map<std::string_view, uint32_t> coloured;
    for (const Control& c : controls()) {
        if (c.text_colour != 0) {
            EXPECT_EQ(c.kind, ControlKind::Label) << c.name;
            coloured.emplace(c.name, c.text_colour);
        }
    }
    EXPECT_EQ(coloured, (std::map<std::string_view, uint32_t>{{"标签25", 0x0000FF}, {"标签46", 0x0000FF},
                                                              {"标签47", 0x0000FF}, {"标签1", 0x8050FF},
                                                              {"标签29", 0x0000FF}}));
}

TEST(Catalogue, EveryTextEncodesAsGbk) {
    auto encodes = [](std::string_view text) { return utf8_to_gbk(text).has_value(); };
    EXPECT_TRUE(encodes(main_window().caption));
    for (std::string_view caption : main_window().page_captions) EXPECT_TRUE(encodes(caption)) << caption;
    for (const MenuItem& item : menu_items()) EXPECT_TRUE(encodes(item.caption)) << item.caption;
    for (const Control& c : controls()) {
        EXPECT_TRUE(encodes(c.name)) << c.name;
        EXPECT_TRUE(encodes(c.text)) << c.name;
        EXPECT_TRUE(encodes(c.url)) << c.name;
        for (std::string_view item : c.items) EXPECT_TRUE(encodes(item)) << c.name;
    }
}
