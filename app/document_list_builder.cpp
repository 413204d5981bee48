// The document-list builder of the home page: an arclist block from the form's category, counts,
// attributes, date style and one of five list styles.
#include <array>
#include <span>
#include <string_view>

#include "app/app_build.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

using codegen::Int;
using codegen::IntVar;
using codegen::TextVar;

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr std::string_view kCloseTag = "{/dede:arclist}";
constexpr std::string_view kLinkPiece = "<a href='[field:arcurl/]'>[field:title/]</a>";

// Combo box items that add an attribute, by selection; item 0 (and no selection) adds nothing.
constexpr std::array<std::string_view, 4> kFlagPieces = {" flag ='h'", " flag ='c'", " flag ='f'", " flag ='p'"};
constexpr std::array<std::string_view, 3> kChannelPieces = {" channelid=1", " channelid=2", " channelid=3"};
// Items 0 and 1 (publication and entry time) both order by pubdate.
constexpr std::array<std::string_view, 5> kOrderPieces = {" orderby='pubdate' ", " orderby='pubdate' ",
                                                          " orderby='click' ", " orderby='lastpost' ",
                                                          " orderby='rand' "};

// Date styles 1 and 2 are literals; 3 to 8 are the strftime tags of these stores.
constexpr std::array<std::string_view, 2> kDatePieces = {"([field:pubdate function=MyDate('m-d',@me)/])",
                                                         "([field:pubdate function=MyDate('y-m-d',@me)/])"};
constexpr std::array<std::string_view, 6> kDateStores = {"编辑框_时间3", "编辑框_时间4", "编辑框_时间5",
                                                         "编辑框_时间6", "编辑框_时间7", "编辑框_时间8"};

}  // namespace

void add_document_list_routines(AppBuild& app) {
    const auto type_id_box = app.control("编辑框_栏目ID");
    const auto rows_box = app.control("编辑框_调用条数");
    const auto title_box = app.control("编辑框_标题字数");
    const auto summary_box = app.control("编辑框_摘要字数");
    const auto flag_box = app.control("组合框_文章属性");
    const auto channel_box = app.control("组合框_内容频道");
    const auto order_box = app.control("组合框_排列方式");
    const auto width_box = app.control("编辑框_图片宽");
    const auto height_box = app.control("编辑框_图片高");
    const auto keyword_box = app.control("编辑框_关键词");
    const auto days_box = app.control("编辑框_天数");
    const auto columns_box = app.control("编辑框_列数");
    const auto date_box = app.control("组合框_时间样式");
    const auto picture_template = app.control("编辑框_带图片");
    const auto picture_summary_template = app.control("编辑框_图片摘要");
    const auto summary_template = app.control("编辑框_带摘要");
    const auto output = app.control("编辑框_标签输出1");
    const std::array<codegen::Control, 5> style_boxes = {app.control("单选框_1"), app.control("单选框_2"),
                                                             app.control("单选框_3"), app.control("单选框_4"),
                                                             app.control("单选框_5")};
    std::array<codegen::Control, 6> date_stores{};
    for (size_t i = 0; i < date_stores.size(); ++i) date_stores[i] = app.control(kDateStores[i]);

    app.on("生成_标签", [=](Routine& r) {
        IntVar type_id = r.int_var();
        IntVar rows = r.int_var();
        auto title_length = r.float_var();
        auto summary_length = r.float_var();
        TextVar keyword = r.text_var();
        std::array<IntVar, 5> style{};
        for (IntVar& s : style) s = r.int_var();
        TextVar summary = r.text_var();
        TextVar infolen_piece = r.text_var();
        IntVar selection = r.int_var();
        TextVar flag_piece = r.text_var();
        TextVar channel_piece = r.text_var();
        TextVar order_piece = r.text_var();
        TextVar typed = r.text_var();
        TextVar width_piece = r.text_var();
        TextVar height_piece = r.text_var();
        TextVar days_piece = r.text_var();
        TextVar columns_piece = r.text_var();
        TextVar date_piece = r.text_var();
        TextVar typelink_piece = r.text_var();
        TextVar open_tag = r.text_var();

        r.set(type_id, r.to_int(r.read_text(type_id_box)));
        r.set(rows, r.to_int(r.read_text(rows_box)));
        r.set(title_length, r.narrow(r.to_number(r.read_text(title_box))));
        r.set(keyword, r.read_text(keyword_box));

        // Without a style the user is reminded and gets the plain title list.
        for (size_t i = 0; i < style.size(); ++i) r.set(style[i], r.read_checked(style_boxes[i]));
        r.if_(style[0] == 0 && style[1] == 0 && style[2] == 0 && style[3] == 0 && style[4] == 0,
              [&] { r.message_box("请选择样式。", abi::style::kPlain); });

        // Lengths count double-byte characters, so typed counts are doubled.
        r.set(summary, r.read_text(summary_box));
        r.if_(r.not_empty(summary), [&] {
            r.set(summary_length, r.narrow(r.to_number(summary) * 2.0));
            r.set(infolen_piece, r.concat({" infolen=", r.to_text(summary_length)}));
        });

        auto pick = [&](const TextVar& piece, std::span<const std::string_view> pieces, int32_t first) {
            for (size_t i = 0; i < pieces.size(); ++i)
                r.if_(selection == Int(first + static_cast<int32_t>(i)), [&] { r.set(piece, pieces[i]); });
        };
        r.set(selection, r.read_selection(flag_box));
        pick(flag_piece, kFlagPieces, 1);
        r.set(selection, r.read_selection(channel_box));
        pick(channel_piece, kChannelPieces, 1);
        r.set(selection, r.read_selection(order_box));
        pick(order_piece, kOrderPieces, 0);

        // The orderby piece ends in the space that separates imgwidth from it.
        r.set(typed, r.read_text(width_box));
        r.if_(r.not_empty(typed), [&] { r.set(width_piece, r.concat({"imgwidth=", typed})); });
        r.if_(r.not_empty(keyword), [&] { r.set(keyword, r.concat({" keyword='", keyword, "'"})); });
        r.set(typed, r.read_text(height_box));
        r.if_(r.not_empty(typed), [&] { r.set(height_piece, r.concat({" imgheight=", typed})); });
        r.set(typed, r.read_text(days_box));
        r.if_(r.not_empty(typed), [&] { r.set(days_piece, r.concat({" subday=", typed})); });
        r.set(typed, r.read_text(columns_box));
        r.if_(r.not_empty(typed), [&] { r.set(columns_piece, r.concat({" col=", typed})); });

        r.set(selection, r.read_selection(date_box));
        pick(date_piece, kDatePieces, 1);
        for (size_t i = 0; i < date_stores.size(); ++i)
            r.if_(selection == Int(3 + static_cast<int32_t>(i)),
                  [&] { r.set(date_piece, r.read_text(date_stores[i])); });

        auto type_id_text = r.to_text(r.to_int(type_id));
        auto rows_text = r.to_text(r.to_int(rows));
        auto titlelen_text = r.to_text(r.to_number(r.widen(title_length) * 2.0));
        r.set(open_tag, r.concat({"{dede:arclist typeid=", type_id_text, " row=", rows_text, channel_piece,
                                  columns_piece, " titlelen=", titlelen_text, infolen_piece, flag_piece,
                                  order_piece, width_piece, height_piece, keyword, days_piece, "}"}));

        r.if_(style[0] != 0, [&] { r.set(typelink_piece, "[field:typelink/]"); });
        r.write_text(output, r.concat({open_tag, kBlankLine, typelink_piece, kLinkPiece, date_piece, "  <br/>",
                                       kBlankLine, kCloseTag}));

        // The template styles replace the base block; with several checked the last one wins.
        r.if_(style[2] != 0, [&] {
            r.write_text(output, r.concat({open_tag, kLineBreak, r.read_text(picture_template), kLineBreak, kCloseTag}));
        });
        r.if_(style[3] != 0, [&] {
            // This click's tag was built without infolen; the next one picks up the "40".
            r.if_(r.is_empty(summary), [&] {
                r.message_box("记得写上摘要字数哦，不然是默认的250.", abi::style::kPlain);
                r.write_text(summary_box, "40");
            });
            r.write_text(output,
                         r.concat({open_tag, kLineBreak, r.read_text(picture_summary_template), kLineBreak, kCloseTag}));
        });
        r.if_(style[4] != 0, [&] {
            r.write_text(output, r.concat({open_tag, kLineBreak, r.read_text(summary_template), kLineBreak, kCloseTag}));
        });
    });
}

}  // namespace brindle::app
