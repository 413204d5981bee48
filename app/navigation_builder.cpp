// The channel navigation builder: a channel tag with one link line, written into the home page's
// output box unless both the channel and its parent were given.
#include "app/features.h"
#include "image/kernel_abi.h"

namespace brindle::app {

void add_navigation_routines(AppBuild& app) {
    const auto id_box = app.control("编辑框_导航栏目ID");
    const auto parent_box = app.control("编辑框_导航上级栏目");
    const auto rows_box = app.control("编辑框_导航栏目数");
    const auto type_box = app.control("组合框_导航属性");
    const auto output = app.control("编辑框_标签输出1");

    app.on("按钮_生成导航", [=](Routine& r) {
        auto id = r.text_var();
        auto id_piece = r.text_var();
        auto parent = r.text_var();
        auto parent_piece = r.text_var();
        auto rows = r.text_var();
        auto row_piece = r.text_var();
        auto type = r.int_var();
        auto type_piece = r.text_var();

        r.set(id, r.read_text(id_box));
        r.if_(r.not_empty(id), [&] { r.set(id_piece, r.concat({" typeid ='", id, "'"})); });
        // The parent travels in a typeid attribute too.
        r.set(parent, r.read_text(parent_box));
        r.if_(r.not_empty(parent), [&] { r.set(parent_piece, r.concat({" typeid ='", parent, "'"})); });
        r.set(rows, r.read_text(rows_box));
        r.if_(r.not_empty(rows), [&] { r.set(row_piece, r.concat({" row ='", rows, "'"})); });
        r.set(type, r.read_selection(type_box));
        r.if_(type == 0, [&] { r.set(type_piece, " type='top'"); });
        r.if_(type == 1, [&] { r.set(type_piece, " type='self'"); });
        r.if_(type == 2, [&] { r.set(type_piece, " type='son'"); });

        // Two typeid attributes would contradict each other: refuse and keep the box as it was.
        r.if_(r.not_empty(id) && r.not_empty(parent), [&] {
            r.message_box("搞混了！上级栏目和本级栏目请不要一次出现，只能填一个空。", abi::style::kWarning,
                          codegen::TextArg("导航栏目调用野心太大，失败"));
            r.return_();
        });

        r.write_text(output, r.concat({"{dede:channel", type_piece, id_piece, parent_piece, row_piece, "}", "\r\n\r\n",
                                       "<a href='[field:typelink/]'>[field:typename/]</a> ", "\r\n\r\n\r\n\r\n",
                                       "{/dede:channel}"}));
    });
}

}  // namespace brindle::app
