// The window's own routines: the notification-area icon, hiding and showing, closing, the forum.
#include "app/features.h"
#include "app/contact_texts.h"
#include "app/pictures/icons.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

// Icon event codes the routine acts on.
constexpr int32_t kIconShow = 1;
constexpr int32_t kIconMenu = 3;

// The constant pool copies the block when the routine is emitted, but the view must stay valid
// until then; one icon file for the whole compile.
const Bytes& tray_icon() {
    static const Bytes icon = tray_icon_file();
    return icon;
}

}  // namespace

void add_window_routines(AppBuild& app) {
    using codegen::Routine;
    const codegen::Control window = app.window();
    const codegen::MenuRef menu = app.menu();

    app.on_window(abi::event::kPrincipal,
                  [&](Routine& r) { r.place_tray_icon(window, tray_icon(), "Brindle"); });

    app.on_window(
        abi::event::kTrayIcon,
        [&](Routine& r) {
            const codegen::Int code = r.argument(0);
            r.if_(code == kIconShow, [&] { r.set_visible(window, true); },
                  [&] { r.if_(code == kIconMenu, [&] { r.pop_up_menu(window, menu); }); });
        },
        1);

    auto hide = [&](Routine& r) { r.set_visible(window, false); };
    auto show = [&](Routine& r) { r.set_visible(window, true); };
    app.on("按钮1", hide);
    app.on_menu("显示", show);
    app.on_menu("隐藏", hide);
    app.on_menu("关闭", [&](Routine& r) { r.close_window(window); });
    app.on("超级按钮2", [](Routine& r) { r.open_web_address(contact::kForumAddress); });
}

}  // namespace brindle::app
