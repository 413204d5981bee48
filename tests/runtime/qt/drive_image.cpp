#include "tests/runtime/qt/drive_image.h"

#include <stdexcept>

#include "app/pictures/icons.h"
#include "image/constant_pool.h"
#include "codegen/program.h"
#include "image/image_writer.h"
#include "tests/runtime/qt/test_form.h"

namespace brindle::runtime::qt::testing {

Bytes drive_test_image() {
    using codegen::Control;
    using codegen::MenuRef;
    using codegen::Routine;
    const Control window{ids::kWindow, ids::kWindowElement};
    auto on = [](uint32_t id) { return Control{ids::kWindow, id}; };
    const Bytes tray_icon = app::tray_icon_file();

    image::ConstantPool pool;
    codegen::Program program(pool, ids::kWindow);
    Bindings b;
    b.created = program.add_routine("created", [&](Routine& r) { r.place_tray_icon(window, tray_icon, "Brindle"); });
    b.tray = program.add_routine(
        "tray",
        [&](Routine& r) {
            r.if_(r.argument(0) == 1, [&] { r.set_visible(window, true); },
                  [&] { r.if_(r.argument(0) == 3, [&] { r.pop_up_menu(window, MenuRef{ids::kWindow, ids::kMenuTitle}); }); });
        },
        1);
    b.radio_b = program.add_routine("radio_b", [&](Routine& r) { r.write_text(on(ids::kSingle), "乙选中"); });
    b.write = program.add_routine("write", [&](Routine& r) {
        r.write_text(on(ids::kMulti), r.concat({r.read_text(on(ids::kSingle)), "！"}));
        r.message_box("已写入", 0x40);
        r.set_clipboard("剪贴");
    });
    b.hide = program.add_routine("hide", [&](Routine& r) { r.set_visible(window, false); });
    b.menu_hide = b.hide;
    b.menu_show = program.add_routine("show", [&](Routine& r) { r.set_visible(window, true); });
    b.menu_close = program.add_routine("close", [&](Routine& r) { r.close_window(window); });
    b.image_button = program.add_routine("forum", [&](Routine& r) { r.open_web_address(kForumAddress); });
    auto code = program.finish();
    if (!code) throw std::runtime_error(code.error().describe());

    image::ImageParts parts = codegen::image_parts(std::move(*code), pool);
    const char* id = "0123456789ABCDEF0123456789ABCDEF";
    parts.libraries = {{"rtcore", id, "4", "6", "core"},
                       {"uikit2", id, "1", "2", "ui"},
                       {"osbridge", id, "1", "0", "os"},
                       {"webpane", id, "1", "0", "web"}};
    parts.form = test_form(b);
    auto bytes = image::write_image(parts);
    if (!bytes) throw std::runtime_error(bytes.error().describe());
    return *bytes;
}

}  // namespace brindle::runtime::qt::testing
