#include "app/catalogue.h"

#include <algorithm>
#include <unordered_map>

#include "app/catalogue_pages.h"
#include "app/contact_texts.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

constexpr uint32_t kWindowSerial = 0x010001;
constexpr uint32_t kWindowElementSerial = 0x010000;
constexpr uint32_t kTabControlSerial = 0x010002;
constexpr uint32_t kWindowUnitSerial = 0x010003;
constexpr uint32_t kHideButtonSerial = 0x010187;
constexpr uint32_t kFirstMenuSerial = 0x01014D;
constexpr uint32_t kLastMenuSerial = 0x010150;
// Serials of the other controls are handed out in catalogue order from here.
constexpr uint32_t kFirstFreeSerial = 0x010004;

// The fourth caption's leading blank is part of it.
const std::vector<std::string_view> kPageCaptions = {
    "首页标签", "列表标签", "内容标签", " 幻灯片", "自定义字段", "SQL调用整理", "联系作者",
};

bool serial_is_fixed(uint32_t serial) {
    return serial == kHideButtonSerial || (serial >= kFirstMenuSerial && serial <= kLastMenuSerial);
}

uint32_t control_id(uint32_t serial) { return abi::id::make(abi::id::kControlTop, serial); }

std::vector<Control> build_controls() {
    std::vector<Control> all = {
        {.name = "选择夹1", .kind = ControlKind::TabControl, .id = control_id(kTabControlSerial),
         .rect = {0, 4, 624, 524}, .items = kPageCaptions},
        {.name = "按钮1", .kind = ControlKind::Button, .id = control_id(kHideButtonSerial),
         .rect = {520, 480, 90, 29}, .text = "隐藏我", .feature = Feature::HideWindow},
    };
    std::vector<Control> (*const pages[kPageCount])() = {
        catalogue_page0, catalogue_page1, catalogue_page2, catalogue_page3,
        catalogue_page4, catalogue_page5, catalogue_page6,
    };
    for (int page = 0; page < kPageCount; ++page) {
        for (Control& control : pages[page]()) {
            control.page = page;
            all.push_back(std::move(control));
        }
    }
    uint32_t serial = kFirstFreeSerial;
    for (Control& control : all) {
        if (control.id != 0) continue;
        while (serial_is_fixed(serial)) ++serial;
        control.id = control_id(serial++);
    }
    return all;
}

}  // namespace

const MainWindow& main_window() {
    static const MainWindow window{
        .id = abi::id::make(abi::id::kWindowTop, kWindowSerial),
        .element_id = abi::id::make(abi::id::kWindowElementTop, kWindowElementSerial),
        .unit_id = abi::id::make(abi::id::kWindowUnitTop, kWindowUnitSerial),
        .rect = {50, 50, 627, 571},
        .caption = contact::kWindowCaption,
        .page_captions = kPageCaptions,
    };
    return window;
}

const std::vector<Control>& controls() {
    static const std::vector<Control> all = build_controls();
    return all;
}

const std::vector<MenuItem>& menu_items() {
    using abi::id::kMenuItemTop;
    using abi::id::make;
    static const std::vector<MenuItem> items = {
        {make(kMenuItemTop, kFirstMenuSerial), 0, "程序菜单", MenuAction::None},
        {make(kMenuItemTop, kFirstMenuSerial + 1), 1, "显示", MenuAction::ShowWindow},
        {make(kMenuItemTop, kFirstMenuSerial + 2), 1, "隐藏", MenuAction::HideWindow},
        {make(kMenuItemTop, kFirstMenuSerial + 3), 1, "关闭", MenuAction::CloseWindow},
    };
    return items;
}

const Control* find_control(std::string_view name) {
    static const auto by_name = [] {
        std::unordered_map<std::string_view, const Control*> map;
        for (const Control& control : controls()) map.emplace(control.name, &control);
        return map;
    }();
    auto found = by_name.find(name);
    return found == by_name.end() ? nullptr : found->second;
}

std::vector<const Control*> group_children(std::string_view group_name) {
    std::vector<const Control*> children;
    if (group_name.empty()) return children;
    for (const Control& control : controls())
        if (control.parent == group_name) children.push_back(&control);
    return children;
}

std::vector<const Control*> page_controls(int page) {
    std::vector<const Control*> placed;
    for (const Control& control : controls())
        if (control.page == page && control.parent.empty()) placed.push_back(&control);
    return placed;
}

uint32_t highest_serial() {
    const MainWindow& window = main_window();
    uint32_t highest = std::max({abi::id::serial(window.id), abi::id::serial(window.element_id),
                                 abi::id::serial(window.unit_id)});
    for (const Control& control : controls()) highest = std::max(highest, abi::id::serial(control.id));
    for (const MenuItem& item : menu_items()) highest = std::max(highest, abi::id::serial(item.id));
    return highest;
}

}  // namespace brindle::app
