#include "tests/runtime/qt/test_form.h"

#include <stdexcept>

#include "common/gbk.h"
#include "image/form_writer.h"
#include "image/property_blobs.h"

namespace brindle::runtime::qt::testing {
namespace kind = abi::kind;
using image::Element;

std::string gbk(const char* utf8) {
    auto bytes = utf8_to_gbk(utf8);
    if (!bytes) throw std::runtime_error("not GBK: " + std::string(utf8));
    return *bytes;
}

namespace {

template <typename T>
T must(Result<T> r) {
    if (!r) throw std::runtime_error(r.error().describe());
    return std::move(*r);
}

void must(Result<void> r) {
    if (!r) throw std::runtime_error(r.error().describe());
}

}  // namespace

image::FormModel test_form(const Bindings& b) {
    using namespace ids;
    image::FormBuilder f(0x010000);
    f.add_window(kWindow, kWindowElement, kUnit, {50, 50, 627, 571}, gbk("测试窗口"));
    auto bind = [&](uint32_t element, int32_t index, uint32_t offset) {
        if (offset != Bindings::kUnbound) must(f.bind(kWindow, element, index, offset));
    };
    bind(kWindowElement, abi::event::kPrincipal, b.created);
    bind(kWindowElement, abi::event::kTrayIcon, b.tray);

    Element* tab = must(f.add_control(kWindow, kTab, kind::kTabControl, gbk("选择夹1"), {0, 4, 624, 524}));
    tab->properties.items = {gbk("首页"), gbk("空页"), gbk(" 末页")};

    Element* group = must(f.add_control(kWindow, kGroup, kind::kGroupBox, gbk("分组框1"), {6, 30, 300, 100}, kTab));
    group->properties.caption = gbk("分组");
    Element* a = must(f.add_control(kWindow, kRadioA, kind::kRadioBox, gbk("单选框_甲"), {8, 24, 80, 16}, kGroup));
    a->properties.caption = gbk("甲");
    image::set_checked(kind::kRadioBox, a->properties, true);
    Element* rb = must(f.add_control(kWindow, kRadioB, kind::kRadioBox, gbk("单选框_乙"), {94, 24, 80, 16}, kGroup));
    rb->properties.caption = gbk("乙");
    bind(kRadioB, abi::event::kPrincipal, b.radio_b);

    must(f.add_control(kWindow, kSingle, kind::kEditBox, gbk("编辑框_单行"), {320, 30, 120, 20}, kTab));
    Element* multi = must(f.add_control(kWindow, kMulti, kind::kEditBox, gbk("编辑框_多行"), {10, 185, 584, 121}, kTab));
    image::set_multiline(kind::kEditBox, multi->properties, true);
    multi->properties.text = gbk("一\r\n二");
    Element* combo = must(f.add_control(kWindow, kCombo, kind::kComboBox, gbk("组合框_方式"), {320, 60, 90, 20}, kTab));
    combo->properties.items = {gbk("甲"), gbk("乙"), gbk("丙")};
    Element* store = must(f.add_control(kWindow, kStore, kind::kEditBox, gbk("编辑框_存"), {-72, 194, 88, 32}, kTab, false));
    image::set_multiline(kind::kEditBox, store->properties, true);
    store->properties.text = gbk("\t存\r\n文 \r\n");
    Element* label = must(f.add_control(kWindow, kLabel, kind::kLabel, gbk("标签_红"), {320, 90, 60, 16}, kTab));
    label->properties.caption = gbk("红字");
    image::set_text_colour(kind::kLabel, label->properties, 0x0000FF);

    must(f.next_page(kWindow, kTab));  // page 1 stays empty
    must(f.next_page(kWindow, kTab));
    Element* write = must(f.add_control(kWindow, kWrite, kind::kButton, gbk("按钮_写"), {98, 338, 110, 24}, kTab));
    write->properties.caption = gbk("写 入");
    bind(kWrite, abi::event::kPrincipal, b.write);
    Element* image_button = must(f.add_control(kWindow, kImageButton, kind::kImageButton, gbk("超级按钮2"), {56, 390, 208, 64}, kTab));
    image_button->properties.caption = gbk("论坛");
    bind(kImageButton, abi::event::kPrincipal, b.image_button);
    Element* link = must(f.add_control(kWindow, kLink, kind::kHyperlinkBox, gbk("超级链接框1"), {40, 468, 248, 24}, kTab));
    link->properties.caption = gbk("交流论坛");
    link->properties.url = kForumAddress;
    must(f.add_control(kWindow, kUnder, kind::kEditBox, gbk("编辑框_压"), {464, 473, 88, 20}, kTab));

    Element* hide = must(f.add_control(kWindow, kHide, kind::kButton, gbk("按钮1"), {520, 480, 90, 29}));
    hide->properties.caption = gbk("隐藏我");
    bind(kHide, abi::event::kPrincipal, b.hide);

    must(f.add_menu_item(kWindow, kMenuTitle, 0, gbk("程序菜单")));
    must(f.add_menu_item(kWindow, kMenuShow, 1, gbk("显示"), b.menu_show));
    must(f.add_menu_item(kWindow, kMenuHide, 1, gbk("隐藏"), b.menu_hide));
    must(f.add_menu_item(kWindow, kMenuClose, 1, gbk("关闭"), b.menu_close));
    return must(f.finish());
}

}  // namespace brindle::runtime::qt::testing
