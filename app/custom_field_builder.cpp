// The custom-field list builder: an arclist tag naming up to five custom fields of one content
// model, then one sample call line per field.
#include <array>
#include <string>
#include <vector>

#include "app/features.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

using codegen::IntVar;
using codegen::TextArg;
using codegen::TextVar;

constexpr std::array<std::string_view, 5> kFieldBoxes = {"编辑框_字段名1", "编辑框_字段名2", "编辑框_字段名3",
                                                         "编辑框_字段名4", "编辑框_字段名5"};

// The separators around each field name in the addfields list: gaps and partial fills show.
struct ListPiece {
    std::string_view before, after;
};
constexpr std::array<ListPiece, 5> kListPieces = {{{"", ""}, {",", ","}, {"", ","}, {"", ","}, {"", ""}}};

constexpr std::string_view kBlankLine = "\r\n\r\n";

}  // namespace

void add_custom_field_routines(AppBuild& app) {
    const auto channel_box = app.control("编辑框_频道类型ID");
    const auto column_box = app.control("编辑框_自定义栏目");
    const auto order_box = app.control("组合框_自定义字段排序");
    const auto rows_box = app.control("编辑框_自定义条数");
    const auto output_box = app.control("编辑框_自定义字段");
    std::array<codegen::Control, 5> field_boxes{};
    for (size_t n = 0; n < field_boxes.size(); ++n) field_boxes[n] = app.control(kFieldBoxes[n]);

    app.on("按钮_自定义生成", [=](Routine& r) {
        TextVar channel = r.text_var();
        TextVar column = r.text_var();
        TextVar column_piece = r.text_var();
        std::array<TextVar, 5> field{}, list_piece{}, call_line{};
        for (size_t n = 0; n < 5; ++n) {
            field[n] = r.text_var();
            list_piece[n] = r.text_var();
            call_line[n] = r.text_var();
        }
        IntVar order = r.int_var();
        TextVar order_piece = r.text_var();
        TextVar rows = r.text_var();

        // An empty channel type is only pointed out; the tag is built with channelid=''.
        r.set(channel, r.read_text(channel_box));
        r.if_(r.is_empty(channel), [&] {
            r.message_box("请到 内容模型管理 查看该频道的ID ", abi::style::kError,
                          TextArg("频道类型ID(channelid)没有填"));
        });

        r.set(column, r.read_text(column_box));
        r.if_(r.not_empty(column), [&] { r.set(column_piece, r.concat({" typeid='", column, "'"})); });

        for (size_t n = 0; n < 5; ++n) {
            r.set(field[n], r.read_text(field_boxes[n]));
            r.if_(r.not_empty(field[n]), [&] {
                r.set(list_piece[n], r.concat({kListPieces[n].before, field[n], kListPieces[n].after}));
                const std::string call = "字段名" + std::to_string(n + 1) + " 调用：  [field:";
                r.set(call_line[n], r.concat({call, field[n], " /]"}));
            });
        }

        // Item 1 sorts descending and item 2 ascending, whatever their captions suggest.
        r.set(order, r.read_selection(order_box));
        r.if_(order == 0, [&] { r.set(order_piece, " orderby='pubdate'"); });
        r.if_(order == 1, [&] { r.set(order_piece, " orderway='desc'"); });
        r.if_(order == 2, [&] { r.set(order_piece, " orderway='asc'"); });

        r.set(rows, r.read_text(rows_box));

        std::vector<TextArg> parts = {"{dede:arclist addfields='"};
        for (const TextVar& piece : list_piece) parts.emplace_back(piece);
        for (const TextArg& part : {TextArg("' row='"), TextArg(rows), TextArg("' channelid='"), TextArg(channel),
                                    TextArg("'"), TextArg(order_piece), TextArg(column_piece), TextArg("}")})
            parts.push_back(part);
        // Every blank line is there whether or not the call line beside it is.
        for (const TextVar& line : call_line) {
            parts.emplace_back(kBlankLine);
            parts.emplace_back(line);
        }
        parts.emplace_back(kBlankLine);
        parts.emplace_back("{/dede:arclist}");
        r.write_text(output_box, r.concat(parts));
    });

    // Choosing an order does nothing until the next build.
    app.on("组合框_自定义字段排序", [](Routine&) {});
}

}  // namespace brindle::app
