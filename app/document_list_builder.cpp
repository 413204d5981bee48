// The document-list builder of the home page: an arclist block from the form's category, counts,
// attributes, date style and one of five list styles.
#include <array>
#include <span>
#include <string_view>

#include "app/features.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

using codegen::Control;
using codegen::Float;
using codegen::Int;
using codegen::Text;
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
        Int type_id = r.to_int(r.read_text(type_id_box));
        Int rows = r.to_int(r.read_text(rows_box));
        Float title_length = r.narrow(r.to_number(r.read_text(title_box)));
        TextVar keyword = r.text_var();
        r.set(keyword, r.read_text(keyword_box));

        // Without a style the user is reminded and gets the plain title list.
        std::array<Int, 5> style;
        for (size_t i = 0; i < style.size(); ++i) style[i] = r.read_checked(style_boxes[i]);
        r.if_(style[0] == 0 && style[1] == 0 && style[2] == 0 && style[3] == 0 && style[4] == 0,
              [&] { r.message_box("请选择样式。", abi::style::kPlain); });

        // Lengths count double-byte characters, so typed counts are doubled.
        Text summary = r.read_text(summary_box);
        TextVar infolen_piece = r.text_var();
        r.if_(r.not_empty(summary), [&] {
            r.set(infolen_piece, r.concat({" infolen=", r.to_text(r.narrow(r.to_number(summary) * 2.0))}));
        });

        // The piece of the selected combo box item; `first` is the item of the first piece.
        auto piece_for = [&](const Int& selection, std::span<const std::string_view> pieces, int32_t first) {
            TextVar piece = r.text_var();
            for (size_t i = 0; i < pieces.size(); ++i)
                r.if_(selection == Int(first + static_cast<int32_t>(i)), [&] { r.set(piece, pieces[i]); });
            return piece;
        };
        TextVar flag_piece = piece_for(r.read_selection(flag_box), kFlagPieces, 1);
        TextVar channel_piece = piece_for(r.read_selection(channel_box), kChannelPieces, 1);
        TextVar order_piece = piece_for(r.read_selection(order_box), kOrderPieces, 0);

        // A typed value with its attribute name, or nothing when the box is empty.
        auto typed_piece = [&](Control box, std::string_view attribute) {
            TextVar piece = r.text_var();
            Text typed = r.read_text(box);
            r.if_(r.not_empty(typed), [&] { r.set(piece, r.concat({attribute, typed})); });
            return piece;
        };
        // The orderby piece ends in the space that separates imgwidth from it.
        TextVar width_piece = typed_piece(width_box, "imgwidth=");
        r.if_(r.not_empty(keyword), [&] { r.set(keyword, r.concat({" keyword='", keyword, "'"})); });
        TextVar height_piece = typed_piece(height_box, " imgheight=");
        TextVar days_piece = typed_piece(days_box, " subday=");
        TextVar columns_piece = typed_piece(columns_box, " col=");

        Int date_style = r.read_selection(date_box);
        TextVar date_piece = piece_for(date_style, kDatePieces, 1);
        for (size_t i = 0; i < date_stores.size(); ++i)
            r.if_(date_style == Int(3 + static_cast<int32_t>(i)), [&] { r.set(date_piece, r.read_text(date_stores[i])); });

        Text open_tag = r.concat({"{dede:arclist typeid=", r.to_text(r.to_int(type_id)), " row=", r.to_text(r.to_int(rows)),
                                  channel_piece, columns_piece, " titlelen=",
                                  r.to_text(r.to_number(r.widen(title_length) * 2.0)), infolen_piece, flag_piece,
                                  order_piece, width_piece, height_piece, keyword, days_piece, "}"});

        TextVar typelink_piece = r.text_var();
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
