#include "app/image_compiler.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "app/app_build.h"
#include "app/catalogue.h"
#include "app/contact_texts.h"
#include "app/features.h"
#include "app/form_from_catalogue.h"
#include "app/pictures/icons.h"
#include "app/text_stores.h"
#include "common/gbk.h"
#include "common/input_file.h"
#include "image/image_reader.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "image/property_blobs.h"

using namespace brindle;
using namespace brindle::app;
namespace kind = brindle::abi::kind;
namespace edit_box = brindle::image::layout::edit_box;

namespace {

const std::filesystem::path kPictures = BRINDLE_PICTURES_DIR;

std::string gbk(std::string_view utf8) {
    auto converted = utf8_to_gbk(utf8);
    EXPECT_TRUE(converted.has_value()) << utf8;
    return converted.value_or("");
}

Bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t style_word(const image::Properties& p, uint32_t blob_offset) {
    return load_u32le(p.style.data() + blob_offset - 4);
}

// What each control is, told by the prefix its designer gave its name, with the kind code the
// image gives that kind and whether such a control takes input (flag 4).
struct NamedKind {
    std::string_view prefix;
    uint32_t kind;
    bool input;
};
constexpr NamedKind kNamedKinds[] = {
    {"编辑框", 0x00010005, true},   {"按钮", 0x0001000B, true},    {"生成_", 0x0001000B, true},
    {"单选框", 0x0001000D, true},   {"组合框", 0x0001000E, true},  {"超文本浏览框", 0x00040001, true},
    {"超级按钮", 0x00020001, true}, {"标签", 0x0001000A, false},   {"分组框", 0x00010009, false},
    {"图片框", 0x00010006, false},  {"选择夹", 0x00010015, false}, {"超级链接框", 0x0001001D, false},
};

const NamedKind* named_kind(std::string_view name) {
    for (const NamedKind& k : kNamedKinds)
        if (name.starts_with(k.prefix)) return &k;
    return nullptr;
}

// One compile for the whole suite: the image and its opened view.
class CompiledImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto compiled = compile_application(kPictures);
        ASSERT_TRUE(compiled.has_value()) << compiled.error().describe();
        bytes_ = new Bytes(std::move(*compiled));
        auto opened = image::open_image(*bytes_);
        ASSERT_TRUE(opened.has_value()) << opened.error().describe();
        image_ = new image::Image(std::move(*opened));
    }
    static void TearDownTestSuite() {
        delete image_;
        delete bytes_;
        image_ = nullptr;
        bytes_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(image_, nullptr); }

    static const image::FormWindow& window() { return image_->form.windows.at(0); }
    static const image::Element& element(uint32_t id) {
        const image::Element* e = window().find(id);
        EXPECT_NE(e, nullptr) << std::hex << id;
        static const image::Element missing;
        return e ? *e : missing;
    }
    static const image::Element& control(std::string_view name) {
        const Control* c = find_control(name);
        EXPECT_NE(c, nullptr) << name;
        return element(c ? c->id : 0);
    }
    // Routine starts open their frame with push ebp.
    static bool routine_start(uint32_t offset) {
        ByteView code = image_->code();
        return offset < code.size() && code[offset] == 0x55;
    }

    static Bytes* bytes_;
    static image::Image* image_;
};
Bytes* CompiledImage::bytes_ = nullptr;
image::Image* CompiledImage::image_ = nullptr;

TEST_F(CompiledImage, HeaderLibrariesAndSerials) {
    EXPECT_EQ(image_->header.highest_serial, highest_serial());
    ASSERT_EQ(image_->libraries.size(), 4u);
    const char* names[] = {"rtcore", "uikit2", "osbridge", "webpane"};
    const char* versions[][2] = {{"4", "6"}, {"1", "2"}, {"1", "1"}, {"1", "1"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(image_->libraries[i].name, names[i]);
        EXPECT_EQ(image_->libraries[i].major, versions[i][0]);
        EXPECT_EQ(image_->libraries[i].minor, versions[i][1]);
        EXPECT_EQ(image_->libraries[i].id.size(), 32u);
    }
    ASSERT_NE(image_->var_section(), nullptr);
    EXPECT_GE(image_->var_section()->memory_size, 4u);
}

TEST_F(CompiledImage, MainWindowElementIconAndStyle) {
    ASSERT_EQ(image_->form.windows.size(), 1u);
    const MainWindow& mw = main_window();
    EXPECT_EQ(window().id, 0x52010001u);
    EXPECT_EQ(window().unit_id, mw.unit_id);
    const image::Element& e = window().elements.front();
    EXPECT_EQ(e.id, 0x06010000u);
    EXPECT_EQ(e.kind, kind::kWindow);
    EXPECT_EQ(e.name, "");
    EXPECT_EQ((std::array{e.left, e.top, e.width, e.height}), (std::array{50, 50, 627, 571}));
    EXPECT_EQ(e.properties.caption, gbk(contact::kWindowCaption));
    EXPECT_EQ(e.properties.picture, window_icon_file());
    EXPECT_TRUE(e.properties.background.empty());
    const uint32_t style[19] = {2, 1, 0xFF000000, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    for (uint32_t i = 0; i < 19; ++i) EXPECT_EQ(style_word(e.properties, 4 + 4 * i), style[i]) << "word " << i;
}

TEST_F(CompiledImage, EveryControlMatchesTheCatalogue) {
    const uint32_t tab_id = find_control("选择夹1")->id;
    const auto pages = window().pages();
    // The window element, every control, the four menu items.
    EXPECT_EQ(window().elements.size(), 1 + controls().size() + menu_items().size());
    for (const Control& c : controls()) {
        SCOPED_TRACE(std::string(c.name));
        const image::Element& e = element(c.id);
        EXPECT_EQ(e.name, gbk(c.name));
        const NamedKind* named = named_kind(c.name);
        ASSERT_NE(named, nullptr);
        EXPECT_EQ(e.kind, named->kind);
        EXPECT_EQ((std::array{e.left, e.top, e.width, e.height}),
                  (std::array{c.rect.left, c.rect.top, c.rect.width, c.rect.height}));
        const uint32_t parent = !c.parent.empty() ? find_control(c.parent)->id : c.page >= 0 ? tab_id : 0;
        EXPECT_EQ(e.parent_id, parent);
        if (c.page >= 0) {
            ASSERT_TRUE(pages.contains(c.id));
            EXPECT_EQ(pages.at(c.id), static_cast<uint32_t>(c.page));
        } else {
            EXPECT_FALSE(pages.contains(c.id));
        }
        EXPECT_EQ(e.flags, (c.visible ? 1u : 0u) | (named->input ? 4u : 0u));

        const image::Properties& p = e.properties;
        switch (c.kind) {
            case ControlKind::EditBox:
                EXPECT_EQ(p.text, gbk(c.text_store() ? find_text_store(c.name)->text : c.text));
                EXPECT_EQ(image::background_colour(e.kind, p), 0xFFFFFFu);
                break;
            case ControlKind::Label:
                EXPECT_EQ(p.caption, gbk(c.text));
                EXPECT_EQ(image::text_colour(e.kind, p), c.text_colour);
                break;
            case ControlKind::Button:
            case ControlKind::GroupBox:
            case ControlKind::ImageButton: EXPECT_EQ(p.caption, gbk(c.text)); break;
            case ControlKind::RadioBox:
                EXPECT_EQ(p.caption, gbk(c.text));
                EXPECT_EQ(image::checked(e.kind, p), c.checked);
                break;
            case ControlKind::ComboBox:
            case ControlKind::TabControl:
                ASSERT_EQ(p.items.size(), c.items.size());
                for (size_t i = 0; i < c.items.size(); ++i) EXPECT_EQ(p.items[i], gbk(c.items[i]));
                break;
            case ControlKind::HyperlinkBox:
                EXPECT_EQ(p.caption, gbk(c.text));
                EXPECT_EQ(p.url, gbk(c.url));
                break;
            case ControlKind::WebBrowserBox: EXPECT_EQ(p.url, gbk(c.url)); break;
            case ControlKind::PictureBox: break;
        }
    }
}

TEST_F(CompiledImage, ElementsOfEachKind) {
    std::map<uint32_t, int> count;
    for (const image::Element& e : window().elements) ++count[e.kind];
    EXPECT_EQ(count, (std::map<uint32_t, int>{{0x00010001, 1},
                                              {0x00010003, 4},
                                              {0x00010005, 86},
                                              {0x00010006, 6},
                                              {0x00010009, 17},
                                              {0x0001000A, 49},
                                              {0x0001000B, 12},
                                              {0x0001000D, 87},
                                              {0x0001000E, 6},
                                              {0x00010015, 1},
                                              {0x0001001D, 3},
                                              {0x00020001, 1},
                                              {0x00040001, 1}}));
}

// An edit box's style bytes run from blob offset 4 to its text at 0x46: layout (0x04), background
// (0x0C), multi-line (0x18), large output (0x1C), small input (0x20); the rest are zero.
TEST_F(CompiledImage, EditBoxStyleBytesExactly) {
    auto style = [](std::initializer_list<std::pair<size_t, uint32_t>> words) {
        Bytes bytes(0x46 - 4, 0);
        for (auto [offset, value] : words) store_u32le(bytes.data() + offset - 4, value);
        return bytes;
    };
    EXPECT_EQ(control("编辑框_导航栏目数").properties.style, style({{0x04, 1}, {0x0C, 0xFFFFFF}, {0x20, 1}}));
    EXPECT_EQ(control("编辑框_导航上级栏目").properties.style, style({{0x04, 1}, {0x0C, 0xFFFFFF}, {0x20, 1}}));
    EXPECT_EQ(control("编辑框_关键词").properties.style, style({{0x04, 1}, {0x0C, 0xFFFFFF}}));
    EXPECT_EQ(control("编辑框_列表页面").properties.style, style({{0x04, 5}, {0x0C, 0xFFFFFF}, {0x18, 1}, {0x1C, 2}}));
    EXPECT_EQ(control("编辑框_自定义字段").properties.style, style({{0x04, 1}, {0x0C, 0xFFFFFF}, {0x18, 1}}));
    EXPECT_EQ(control("编辑框_时间3").properties.style, style({{0x04, 1}, {0x0C, 0xFFFFFF}, {0x18, 1}}));
}

TEST_F(CompiledImage, TabPagesAndTheirCaptions) {
    const image::Element& tab = control("选择夹1");
    EXPECT_EQ(std::count(tab.children.begin(), tab.children.end(), 0u), 6);
    const std::vector<std::string> captions = {"\xca\xd7\xd2\xb3\xb1\xea\xc7\xa9", "\xc1\xd0\xb1\xed\xb1\xea\xc7\xa9",
                                               "\xc4\xda\xc8\xdd\xb1\xea\xc7\xa9", " \xbb\xc3\xb5\xc6\xc6\xac",
                                               "\xd7\xd4\xb6\xa8\xd2\xe5\xd7\xd6\xb6\xce", "SQL\xb5\xf7\xd3\xc3\xd5\xfb\xc0\xed",
                                               "\xc1\xaa\xcf\xb5\xd7\xf7\xd5\xdf"};
    EXPECT_EQ(tab.properties.items, captions);
    // 按钮1 sits on the window, on no page, over the tab control's corner.
    const image::Element& hide = control("按钮1");
    EXPECT_EQ(hide.id, 0x16010187u);
    EXPECT_EQ(hide.parent_id, 0u);
    EXPECT_EQ(tab.id, 0x16010002u);
    // A nested group box lists its own children; its parent lists it.
    const image::Element& outer = control("分组框1");
    const image::Element& inner = control("分组框16");
    EXPECT_NE(std::find(outer.children.begin(), outer.children.end(), inner.id), outer.children.end());
    EXPECT_EQ(inner.children.size(), group_children("分组框16").size());
}

TEST_F(CompiledImage, StyleWordsOfTheNamedControls) {
    EXPECT_EQ(image::text_colour(kind::kLabel, control("标签25").properties), 0x0000FFu);
    EXPECT_EQ(image::text_colour(kind::kLabel, control("标签1").properties), 0x8050FFu);
    EXPECT_EQ(image::text_colour(kind::kLabel, control("标签38").properties), 0u);
    EXPECT_EQ(image::checked(kind::kRadioBox, control("单选框_2").properties), true);
    EXPECT_EQ(image::checked(kind::kRadioBox, control("单选框_1").properties), false);

    for (std::string_view large : {"编辑框_标签输出1", "编辑框_列表页面", "编辑框_文章页面", "编辑框_生成flash", "编辑框_SQL"}) {
        const image::Properties& p = control(large).properties;
        EXPECT_EQ(image::multiline(kind::kEditBox, p), true) << large;
        EXPECT_EQ(style_word(p, edit_box::kLargeOutput), 2u) << large;
    }
    const image::Properties& custom = control("编辑框_自定义字段").properties;
    EXPECT_EQ(image::multiline(kind::kEditBox, custom), true);
    EXPECT_EQ(style_word(custom, edit_box::kLargeOutput), 0u);
    for (std::string_view single : {"编辑框_头尾", "编辑框_商品常用", "编辑框_软件常用"}) {
        const image::Properties& p = control(single).properties;
        EXPECT_EQ(image::multiline(kind::kEditBox, p), false) << single;
        EXPECT_EQ(style_word(p, edit_box::kLargeOutput), 0u) << single;
    }
    EXPECT_EQ(style_word(control("编辑框_导航栏目数").properties, edit_box::kSmallInput), 1u);
}

TEST_F(CompiledImage, PicturesCameFromTheFiles) {
    const char* layouts[] = {"图片框1", "图片框2", "图片框3", "图片框4", "图片框5"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(control(layouts[i]).properties.picture,
                  read_file(kPictures / ("layout" + std::to_string(i + 1) + ".gif")))
            << layouts[i];
    EXPECT_TRUE(control("图片框6").properties.empty);
    const image::Element& forum = control("超级按钮2");
    EXPECT_EQ(forum.properties.picture, read_file(kPictures / "forum_button.gif"));
    const image::Element& empty_link = control("超级链接框_ad4");
    EXPECT_EQ(empty_link.properties.caption, "");
    EXPECT_EQ(empty_link.properties.url, "");
}

TEST_F(CompiledImage, EveryStoreHoldsItsExactBytes) {
    ASSERT_EQ(text_stores().size(), 42u);
    for (const TextStore& store : text_stores()) {
        const image::Element& e = control(store.name);
        EXPECT_EQ(e.properties.text, gbk(store.text)) << store.name;
        EXPECT_EQ(image::multiline(kind::kEditBox, e.properties), true) << store.name;
    }
    // The three visible stores stay under the output box; the rest are hidden.
    EXPECT_TRUE(control("编辑框_带摘要").visible());
    EXPECT_FALSE(control("编辑框_时间3").visible());
    EXPECT_EQ(control("编辑框_时间3").flags, 4u);
}

TEST_F(CompiledImage, MenuItemsAndTheirRoutines) {
    const auto& items = menu_items();
    ASSERT_EQ(items.size(), 4u);
    const uint32_t ids[] = {0x2601014D, 0x2601014E, 0x2601014F, 0x26010150};
    const char* captions[] = {"\xb3\xcc\xd0\xf2\xb2\xcb\xb5\xa5", "\xcf\xd4\xca\xbe", "\xd2\xfe\xb2\xd8",
                              "\xb9\xd8\xb1\xd5"};
    size_t first = window().elements.size() - 4;
    for (size_t i = 0; i < 4; ++i) {
        const image::Element& e = window().elements[first + i];
        EXPECT_EQ(e.id, ids[i]);
        EXPECT_EQ(e.kind, kind::kMenuItem);
        EXPECT_EQ(e.caption, captions[i]);
        EXPECT_EQ(e.level, i == 0 ? 0u : 1u);
        if (i == 0) EXPECT_EQ(e.click_offset, image::kNoRoutine);
        else EXPECT_TRUE(routine_start(e.click_offset)) << i;
    }
}

TEST_F(CompiledImage, EveryFeatureIsBound) {
    const image::FormModel& form = image_->form;
    const MainWindow& mw = main_window();
    for (int32_t event : {brindle::abi::event::kPrincipal, brindle::abi::event::kTrayIcon}) {
        auto offset = form.find_routine(mw.id, mw.element_id, event);
        ASSERT_TRUE(offset.has_value()) << event;
        EXPECT_TRUE(routine_start(*offset)) << event;
    }
    for (const Control& c : controls()) {
        auto offset = form.find_routine(mw.id, c.id, brindle::abi::event::kPrincipal);
        if (c.feature == Feature::None) {
            EXPECT_FALSE(offset.has_value()) << c.name;
            continue;
        }
        ASSERT_TRUE(offset.has_value()) << c.name;
        EXPECT_TRUE(routine_start(*offset)) << c.name;
    }
}

// The catalogue's features are what the routines must bind: one too many or one missing is an error.
TEST(AppBuildBindings, FollowTheCatalogueFeatures) {
    auto status_after = [](const std::function<void(AppBuild&)>& bind) {
        image::ConstantPool pool;
        codegen::Program program(pool, main_window().id);
        image::FormBuilder form;
        EXPECT_TRUE(add_catalogue(form, Pictures{}));
        AppBuild app(program, form);
        bind(app);
        auto status = app.status();
        return status ? std::string("ok") : status.error().field + ": " + status.error().message;
    };
    EXPECT_EQ(status_after([](AppBuild& app) { for (auto add : kFeatures) add(app); }), "ok");
    EXPECT_EQ(status_after([](AppBuild& app) {
                  for (auto add : kFeatures) add(app);
                  app.on("标签1", [](Routine&) {});
              }),
              "标签1: the catalogue gives this control no feature");
    EXPECT_TRUE(status_after([](AppBuild& app) { add_window_routines(app); })
                    .ends_with(": the catalogue gives this control a feature but no routine is bound to its click"));
}

TEST_F(CompiledImage, TrayIconBlockIsAConstant) {
    const Bytes icon = tray_icon_file();
    ByteView constants = image_->constants().data();
    auto at = std::search(constants.begin(), constants.end(), icon.begin(), icon.end());
    ASSERT_NE(at, constants.end());
    const uint32_t offset = static_cast<uint32_t>(at - constants.begin());
    ASSERT_GE(offset, 8u);
    auto block = image_->constants().bytes_at(offset - 8);
    ASSERT_TRUE(block.has_value()) << block.error().describe();
    ASSERT_EQ(block->size(), icon.size());
    EXPECT_EQ(load_u16le(block->data() + 4), 20u);  // the ICO directory's image count
}

// The build's image may come from another machine's brindle-compile (a cross build takes the build
// tools from a native build): it must be the image compiled here, byte for byte.
TEST_F(CompiledImage, IsTheImageTheBuildWrote) {
    auto built = read_input_file(BRINDLE_IMAGE);
    ASSERT_TRUE(built.has_value()) << built.error().describe();
    auto differ = std::mismatch(bytes_->begin(), bytes_->end(), built->begin(), built->end());
    EXPECT_TRUE(differ.first == bytes_->end() && differ.second == built->end())
        << "sizes " << bytes_->size() << " and " << built->size() << ", first difference at byte "
        << (differ.first - bytes_->begin());
}

TEST_F(CompiledImage, InspectorReadsTheWrittenFile) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "brindle-compile-test.img";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes_->data()), static_cast<std::streamsize>(bytes_->size()));
    }
    const std::string command = std::string(BRINDLE_IMAGE_TOOL) + " dump --json " + file.string() + " > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::filesystem::remove(file);
}

// brindle-compile answers a path it cannot use with one line and status 2; a directory in a picture's
// place is named, not an abort.
TEST(ImageCompilerInput, BadPathsAreOneLineAndStatusTwo) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brindle-compile-paths";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "pictures" / "layout1.gif");
    std::ofstream(dir / "file") << "x";
    auto run = [&](const std::string& pictures, const std::string& out) {
        const std::string command = std::string(BRINDLE_COMPILE_TOOL) + " '" + pictures + "' '" + out + "' 2>'" +
                                    (dir / "err").string() + "'";
        const int status = std::system(command.c_str());
        std::ifstream in(dir / "err");
        std::string err((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return std::pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, err);
    };
    const std::string missing = (dir / "missing").string(), file = (dir / "file").string();
    EXPECT_EQ(run(missing, (dir / "a.img").string()), std::pair(2, "brindle-compile: " + missing + ": No such file or directory\n"));
    EXPECT_EQ(run(file, (dir / "a.img").string()), std::pair(2, "brindle-compile: " + file + ": Not a directory\n"));
    const std::string unwritable = (dir / "missing" / "a.img").string();
    EXPECT_EQ(run(kPictures.string(), unwritable), std::pair(2, "brindle-compile: cannot write " + unwritable + ": No such file or directory\n"));
    auto [status, err] = run((dir / "pictures").string(), (dir / "a.img").string());
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("layout1.gif: Is a directory"), std::string::npos) << err;
    std::filesystem::remove_all(dir);
}

TEST(ImageCompilerInput, MissingOrBadPicturesAreNamed) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brindle-compile-pictures";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto missing = compile_application(dir);
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().field, "layout1.gif");

    for (const char* name : {"layout1.gif", "layout2.gif", "layout3.gif", "layout4.gif", "layout5.gif"})
        std::filesystem::copy_file(kPictures / name, dir / name);
    std::ofstream(dir / "forum_button.gif") << "PNG, not a GIF";
    auto bad = compile_application(dir);
    ASSERT_FALSE(bad.has_value());
    EXPECT_EQ(bad.error().field, "forum_button.gif");
    EXPECT_NE(bad.error().message.find("not a GIF89a file"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
