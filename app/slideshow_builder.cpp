// The slideshow builder: a script block joined from four stores and the typed size and count.
#include "app/features.h"

namespace brindle::app {

void add_slideshow_routines(AppBuild& app) {
    const auto width_head = app.control("编辑框_flash宽");
    const auto width = app.control("编辑框_宽");
    const auto height_head = app.control("编辑框_flash高");
    const auto height = app.control("编辑框_高");
    const auto tag_head = app.control("编辑框_flash属性前");
    const auto count = app.control("编辑框_flash数目");
    const auto tail = app.control("编辑框_flash结束");
    const auto output = app.control("编辑框_生成flash");

    app.on("按钮_flash", [=](Routine& r) {
        // Read in the order they are joined; the concatenation takes each text once.
        auto a = r.read_text(width_head);
        auto b = r.read_text(width);
        auto c = r.read_text(height_head);
        auto d = r.read_text(height);
        auto e = r.read_text(tag_head);
        auto f = r.read_text(count);
        auto g = r.read_text(tail);
        r.write_text(output, r.concat({a, b, c, d, e, "flag='f' row='", f, g}));
    });
}

}  // namespace brindle::app
