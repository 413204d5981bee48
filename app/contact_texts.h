#pragma once
// Brindle's own texts where the tool names itself: the window title, the contact page, the
// contact numbers and the forum links. Numbers and hosts are placeholders, not real contacts.
#include <string_view>

namespace brindle::app::contact {

inline constexpr std::string_view kWindowCaption =
    "Brindle DedeCMS 标签助手 —— 写模板，少敲键盘 · 版权所有 Brindle 团队";

inline constexpr std::string_view kContactLabel = "联系号码";
inline constexpr std::string_view kContactNumber = "10000000";

inline constexpr std::string_view kOwnershipLine = "版权所有 Brindle 团队";
inline constexpr std::string_view kGroupName1 = "交流一群";
inline constexpr std::string_view kGroupNumber1 = "10000001";
inline constexpr std::string_view kGroupName2 = "模板交流二群";
inline constexpr std::string_view kGroupNumber2 = "10000002";
inline constexpr std::string_view kGroupName3 = "标签答疑三群";
inline constexpr std::string_view kGroupNumber3 = "10000003";
inline constexpr std::string_view kGroupName4 = "DedeCMS 交流四群";
inline constexpr std::string_view kGroupNumber4 = "10000004";

// Opened by the forum button and the forum links.
inline constexpr std::string_view kForumAddress = "https://forum.brindle.example/";
inline constexpr std::string_view kForumButtonCaption = "进入论坛";
inline constexpr std::string_view kForumLinkCaption = "Brindle 论坛：模板标签问答与交流";
inline constexpr std::string_view kContactForumLinkCaption = "访问 Brindle 论坛";

// The contact page's browser shows a page carried in its own address: nothing is fetched.
inline constexpr std::string_view kWelcomePage =
    "data:text/html,<h2>Brindle</h2><p>DedeCMS%20template%20tags,%20one%20click%20away.</p>";

}  // namespace brindle::app::contact
