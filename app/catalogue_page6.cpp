// Tab page 6 "联系作者": rows top to bottom and left to right, a group box's children after it,
// text stores last.
#include "app/catalogue_pages.h"
#include "app/contact_texts.h"

namespace brindle::app {

// One control a line, as the page reads.
// clang-format off
std::vector<Control> catalogue_page6() {
    using Kind = ControlKind;
    return {
        {.name = "超文本浏览框1", .kind = Kind::WebBrowserBox, .rect = {8, 28, 608, 280}, .url = contact::kWelcomePage},
        {.name = "分组框3", .kind = Kind::GroupBox, .rect = {312, 324, 248, 176}, .text = "交流"},
        {.name = "标签11", .kind = Kind::Label, .parent = "分组框3", .rect = {16, 17, 80, 32}, .text = contact::kOwnershipLine},
        {.name = "编辑框1", .kind = Kind::EditBox, .parent = "分组框3", .rect = {96, 24, 88, 20}, .text = contact::kContactNumber},
        {.name = "标签28", .kind = Kind::Label, .parent = "分组框3", .rect = {24, 56, 64, 24}, .text = contact::kGroupName1},
        {.name = "编辑框6", .kind = Kind::EditBox, .parent = "分组框3", .rect = {96, 56, 88, 20}, .text = contact::kGroupNumber1},
        {.name = "标签21", .kind = Kind::Label, .parent = "分组框3", .rect = {8, 83, 109, 24}, .text = contact::kGroupName2},
        {.name = "编辑框2", .kind = Kind::EditBox, .parent = "分组框3", .rect = {152, 85, 88, 20}, .text = contact::kGroupNumber2},
        {.name = "标签22", .kind = Kind::Label, .parent = "分组框3", .rect = {8, 115, 128, 24}, .text = contact::kGroupName3},
        {.name = "编辑框3", .kind = Kind::EditBox, .parent = "分组框3", .rect = {152, 117, 88, 20}, .text = contact::kGroupNumber3},
        {.name = "标签23", .kind = Kind::Label, .parent = "分组框3", .rect = {8, 147, 141, 24}, .text = contact::kGroupName4},
        {.name = "编辑框4", .kind = Kind::EditBox, .parent = "分组框3", .rect = {152, 149, 88, 20}, .text = contact::kGroupNumber4},
        {.name = "编辑框9", .kind = Kind::EditBox, .rect = {200, 336, 88, 20}, .text = contact::kContactNumber},
        {.name = "标签20", .kind = Kind::Label, .rect = {136, 337, 56, 20}, .text = contact::kContactLabel},
        {.name = "标签12", .kind = Kind::Label, .rect = {8, 340, 120, 16}, .text = "累了，就好好休息吧。"},
        {.name = "超级按钮2", .kind = Kind::ImageButton, .rect = {56, 390, 208, 64}, .text = contact::kForumButtonCaption, .picture = Picture::ForumButton, .feature = Feature::OpenForum},
        {.name = "超级链接框1", .kind = Kind::HyperlinkBox, .rect = {40, 468, 248, 24}, .text = contact::kContactForumLinkCaption, .url = contact::kForumAddress},
    };
}
// clang-format on

}  // namespace brindle::app
