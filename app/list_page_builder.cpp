// The list-page builder: a list block whose row, page size and doubled title length sit in quotes.
#include "app/features.h"

namespace brindle::app {

void add_list_page_routines(AppBuild& app) {
    const auto rows_box = app.control("编辑框_列表条数");
    const auto title_box = app.control("编辑框_列表标题字数");
    const auto page_size_box = app.control("编辑框_分页大小");
    const auto output = app.control("编辑框_列表页面");

    app.on("按钮4", [=](Routine& r) {
        auto rows = r.text_var();
        auto title_length = r.double_var();
        auto page_size = r.text_var();
        auto open_tag = r.text_var();

        r.set(rows, r.read_text(rows_box));
        r.set(title_length, r.to_number(r.read_text(title_box)));
        r.set(page_size, r.read_text(page_size_box));

        // Titles count double-byte characters, so the typed count is doubled.
        auto titlelen = r.to_text(r.to_number(title_length * 2.0));
        r.set(open_tag, r.concat({"{dede:list row='", rows, "' pagesize='", page_size, "' titlelen='", titlelen, "'}"}));
        r.write_text(output, r.concat({open_tag, "\r\n\r\n", "<a href='[field:arcurl/]'>[field:title/]</a>", "\r\n\r\n",
                                       "{/dede:list}"}));
    });
}

}  // namespace brindle::app
