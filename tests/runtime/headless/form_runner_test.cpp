// Running an image without a desktop: the form runner's plays and refusals, and the palette it reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "codegen/program.h"
#include "common/gbk.h"
#include "image/form_writer.h"
#include "runtime/headless/form_runner.h"
#include "runtime/headless/palette.h"
#include "tests/support/closing_image.h"

namespace brindle::headless {
namespace {

const Bytes& image_bytes() {
    static const Bytes bytes = [] {
        std::ifstream in(BRINDLE_IMAGE, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

const std::vector<Fragment>& palette() {
    static const std::vector<Fragment> fragments = [] {
        auto read = read_palette(image_bytes());
        if (!read) throw std::runtime_error(read.error().describe());
        return *read;
    }();
    return fragments;
}

const Fragment& entry(std::string_view control) {
    for (const Fragment& f : palette())
        if (f.control == control) return f;
    throw std::runtime_error("no palette entry " + std::string(control));
}

template <typename T>
T must(Result<T> r) {
    if (!r) throw std::runtime_error(r.error().describe());
    return std::move(*r);
}

void must(Result<void> r) {
    if (!r) throw std::runtime_error(r.error().describe());
}

std::string gbk(const char* utf8) { return must(utf8_to_gbk(utf8)); }

// A palette of three radio boxes writing one box, where each routine would see the one before it if the
// form were not reset between entries: 甲 writes the box, 乙 appends to it, 丙 reads whether 甲 is checked.
Bytes state_changing_image() {
    constexpr uint32_t kWindow = 0x52010001, kWindowElement = 0x06010000, kUnit = 0x19010002;
    constexpr uint32_t kFirst = 0x16010003, kSecond = 0x16010004, kThird = 0x16010005, kBox = 0x16010006;
    const codegen::Control box{kWindow, kBox}, first{kWindow, kFirst};
    image::ConstantPool pool;
    codegen::Program program(pool, kWindow);
    struct Entry {
        uint32_t id;
        const char* caption;
        uint32_t routine;
    } entries[] = {
        {kFirst, "甲", program.add_routine("甲", [&](codegen::Routine& r) { r.write_text(box, "a"); })},
        {kSecond, "乙",
         program.add_routine("乙",
                             [&](codegen::Routine& r) {
                                 r.write_text(box, r.concat({r.read_text(box), "b"}));
                             })},
        {kThird, "丙",
         program.add_routine("丙",
                             [&](codegen::Routine& r) {
                                 r.if_(
                                     r.read_checked(first) != 0, [&] { r.write_text(box, "甲 still checked"); },
                                     [&] { r.write_text(box, "c"); });
                             })},
    };
    auto code = must(program.finish());

    image::FormBuilder form;
    form.add_window(kWindow, kWindowElement, kUnit, {40, 40, 300, 200}, "palette");
    int32_t top = 10;
    for (const Entry& e : entries) {
        image::Element* radio = must(form.add_control(
            kWindow, e.id, abi::kind::kRadioBox, gbk(("单选框_" + std::string(e.caption)).c_str()), {10, top, 80, 16}));
        radio->properties.caption = gbk(e.caption);
        must(form.bind(kWindow, e.id, abi::event::kPrincipal, e.routine));
        top += 20;
    }
    must(form.add_control(kWindow, kBox, abi::kind::kEditBox, gbk("编辑框_输出"), {100, 10, 180, 100}));

    image::ImageParts parts = codegen::image_parts(std::move(code), pool);
    parts.libraries = {test::kernel_library_record()};
    parts.form = must(form.finish());
    parts.var_size = std::max<uint32_t>(parts.var_size, 4);
    return must(image::write_image(parts));
}

std::unique_ptr<FormRunner> open_runner(const Bytes& bytes) {
    auto runner = FormRunner::open(bytes);
    if (!runner) throw std::runtime_error(runner.error().describe());
    return std::move(*runner);
}

std::vector<std::pair<std::string, std::string>> written(const Result<std::vector<FormRunner::BoxWrite>>& writes) {
    if (!writes) return {{"error", writes.error().describe()}};
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& w : *writes) out.emplace_back(w.box, w.text);
    return out;
}

TEST(FormRunner, PlaysTypingAndClicksOnTheFormAsItStarts) {
    const Bytes image = state_changing_image();
    auto runner = open_runner(image);
    ASSERT_TRUE(runner->set_text("编辑框_输出", "好x"));
    using Writes = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(written(runner->click("单选框_乙")), (Writes{{"编辑框_输出", "好xb"}}));
    ASSERT_TRUE(runner->set_checked("单选框_甲", true));
    EXPECT_EQ(written(runner->click("单选框_丙")), (Writes{{"编辑框_输出", "甲 still checked"}}));
    ASSERT_TRUE(runner->set_checked("单选框_甲", false));
    EXPECT_EQ(written(runner->click("单选框_丙")), (Writes{{"编辑框_输出", "c"}}));
    // reset() puts back the texts and flags the form section gives.
    ASSERT_TRUE(runner->set_text("编辑框_输出", "typed"));
    ASSERT_TRUE(runner->set_checked("单选框_甲", true));
    runner->reset();
    EXPECT_EQ(written(runner->click("单选框_乙")), (Writes{{"编辑框_输出", "b"}}));
}

TEST(FormRunner, RefusesWhatItCannotPlay) {
    const Bytes image = state_changing_image();
    auto runner = open_runner(image);
    EXPECT_EQ(written(runner->click("单选框_丁")),
              (std::vector<std::pair<std::string, std::string>>{{"error", "no control is named 单选框_丁"}}));
    EXPECT_EQ(written(runner->click("编辑框_输出")),
              (std::vector<std::pair<std::string, std::string>>{{"error", "编辑框_输出 has no click routine"}}));
    auto set = runner->set_text("按钮", "x");
    ASSERT_FALSE(set.has_value());
    EXPECT_EQ(set.error().message, "no control is named 按钮");

    const Bytes junk(64, 0);
    auto opened = FormRunner::open(junk);
    ASSERT_FALSE(opened.has_value());
    EXPECT_TRUE(opened.error().message.starts_with("not a readable program image: ")) << opened.error().message;
}

TEST(Palette, EntriesComeFromTheImageWithCaptionsGroupsAndPages) {
    ASSERT_EQ(palette().size(), 82u);
    const Fragment& name = entry("单选框_网站名称");
    EXPECT_EQ(name.text, "{dede:global.cfg_webname/}");
    EXPECT_EQ(name.caption, "网站名称");
    EXPECT_EQ(name.group, "头尾标签");
    EXPECT_EQ(name.page, "首页标签");
    // Store fragments are the store's text at click time, CR LF and blanks kept.
    EXPECT_EQ(entry("单选框52").text, entry("单选框53").text);
    EXPECT_TRUE(entry("单选框52").text.starts_with("<form id=\"formcar\""));
    EXPECT_TRUE(entry("单选框20").text.ends_with("}\r\n"));
    EXPECT_TRUE(entry("单选框19").text.starts_with(" <div class=\"dede_pages\">\r\n"));
    EXPECT_EQ(entry("单选框_内容统计12").page, "SQL调用整理");
}

TEST(Palette, ARebuiltImageGivesRebuiltFragments) {
    // Change one literal and one store text in the image bytes (same lengths): the fragments follow.
    Bytes patched = image_bytes();
    auto replace = [&](std::string_view from, std::string_view to) {
        auto at = std::search(patched.begin(), patched.end(), from.begin(), from.end());
        ASSERT_NE(at, patched.end()) << from;
        std::copy(to.begin(), to.end(), at);
    };
    replace("{dede:global.cfg_webname/}", "{dede:global.cfg_sitename}");
    replace("GetDateTimeMK(@me)", "GetDateTimeXY(@me)");
    auto fragments = read_palette(patched);
    ASSERT_TRUE(fragments.has_value()) << fragments.error().describe();
    std::map<std::string, std::string> text;
    for (const Fragment& f : *fragments) text[f.control] = f.text;
    EXPECT_EQ(text["单选框_网站名称"], "{dede:global.cfg_sitename}");
    EXPECT_EQ(text["单选框_上传日期"], "[field:pubdate function=\"GetDateTimeXY(@me)\"/]");
    EXPECT_EQ(text["单选框_上传日期7"], text["单选框_上传日期"]);
}

TEST(Palette, EachEntrySeesTheFormAsItStarts) {
    auto fragments = read_palette(state_changing_image());
    ASSERT_TRUE(fragments.has_value()) << fragments.error().describe();
    std::vector<std::pair<std::string, std::string>> read;
    for (const Fragment& f : *fragments) read.emplace_back(f.caption, f.text);
    EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{{"甲", "a"}, {"乙", "b"}, {"丙", "c"}}));
}

}  // namespace
}  // namespace brindle::headless
