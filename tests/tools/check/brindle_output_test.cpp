// Everything Brindle writes passes brindle-check: every builder's output (with the form as it starts
// and with every option tried) without a diagnostic, every palette fragment without an unknown name.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "dede/template_check.h"
#include "runtime/headless/form_runner.h"
#include "runtime/headless/palette.h"

namespace brindle::check {
namespace {

using dede::check_template;
using dede::Diagnostic;
using headless::FormRunner;

const Bytes& image_bytes() {
    static const Bytes bytes = [] {
        std::ifstream in(BRINDLE_IMAGE, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

std::string listed(const std::vector<Diagnostic>& diagnostics) {
    std::string out;
    for (const Diagnostic& d : diagnostics)
        out += std::to_string(d.line) + ":" + std::to_string(d.column) + ": " + d.message + "\n";
    return out;
}

class CheckBuilderOutput : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = FormRunner::open(image_bytes());
        ASSERT_TRUE(opened.has_value()) << opened.error().describe();
        runner = std::move(*opened);
    }

    // Clicks the button and checks what it left in the output box.
    void expect_clean(std::string_view button, std::string_view output, const std::string& setting) {
        SCOPED_TRACE(std::string(button) + " with " + setting);
        auto writes = runner->click(button);
        ASSERT_TRUE(writes.has_value()) << writes.error().describe();
        std::optional<std::string> text;
        for (const auto& w : *writes)
            if (w.box == output) text = w.text;
        ASSERT_TRUE(text.has_value()) << "nothing written into " << output;
        auto found = check_template(*text);
        EXPECT_TRUE(found.empty()) << *text << "\n" << listed(found);
        ++checked;
    }
    void set(std::string_view control, std::string_view text) { ASSERT_TRUE(runner->set_text(control, text)); }
    void select(std::string_view control, int item) { ASSERT_TRUE(runner->select(control, item)); }

    std::unique_ptr<FormRunner> runner;
    int checked = 0;
};

TEST_F(CheckBuilderOutput, DocumentListWithEveryStyleOrderAndDate) {
    expect_clean("生成_标签", "编辑框_标签输出1", "the form as it starts");
    for (int i = 0; i < 9; ++i) {
        runner->reset();
        for (int s = 1; s <= 5; ++s)
            ASSERT_TRUE(runner->set_checked("单选框_" + std::to_string(s), s == i % 5 + 1));
        set("编辑框_摘要字数", i == 3 ? "" : "20");  // style 4 without a summary length fills one in
        set("编辑框_图片宽", "120");
        set("编辑框_图片高", "90");
        set("编辑框_关键词", "dede");
        set("编辑框_天数", "7");
        set("编辑框_列数", "2");
        select("组合框_文章属性", i % 5);
        select("组合框_内容频道", i % 4);
        select("组合框_排列方式", i % 5);
        select("组合框_时间样式", i);
        expect_clean("生成_标签", "编辑框_标签输出1", "option set " + std::to_string(i));
    }
    EXPECT_EQ(checked, 10);
}

TEST_F(CheckBuilderOutput, NavigationListPageCustomFieldsAndSlideshow) {
    expect_clean("按钮_生成导航", "编辑框_标签输出1", "the form as it starts");
    for (int type = 0; type < 3; ++type) {
        runner->reset();
        set(type == 1 ? "编辑框_导航上级栏目" : "编辑框_导航栏目ID", "3");
        set("编辑框_导航栏目数", "10");
        select("组合框_导航属性", type);
        expect_clean("按钮_生成导航", "编辑框_标签输出1", "navigation type " + std::to_string(type));
    }

    runner->reset();
    expect_clean("按钮4", "编辑框_列表页面", "the form as it starts");

    expect_clean("按钮_自定义生成", "编辑框_自定义字段", "the form as it starts");
    for (int order = 0; order < 3; ++order) {
        runner->reset();
        set("编辑框_频道类型ID", "17");
        set("编辑框_自定义栏目", "3");
        for (int n = 1; n <= 5; ++n) set("编辑框_字段名" + std::to_string(n), "field" + std::to_string(n));
        select("组合框_自定义字段排序", order);
        expect_clean("按钮_自定义生成", "编辑框_自定义字段", "custom order " + std::to_string(order));
    }

    runner->reset();
    expect_clean("按钮_flash", "编辑框_生成flash", "the form as it starts");
    EXPECT_EQ(checked, 10);
}

TEST(CheckPaletteFragments, EveryNameIsKnown) {
    auto fragments = headless::read_palette(image_bytes());
    ASSERT_TRUE(fragments.has_value()) << fragments.error().describe();
    EXPECT_EQ(fragments->size(), 82u);
    for (const auto& f : *fragments) {
        auto found = check_template(f.text, {.names_only = true});
        EXPECT_TRUE(found.empty()) << f.control << ": " << f.text << "\n" << listed(found);
    }
}

}  // namespace
}  // namespace brindle::check
