// The clear button of the document-list form: inputs and output emptied, combo boxes back to their
// first item. The style radio boxes and the template stores keep their state.
#include <string_view>

#include "app/features.h"
#include "image/kernel_abi.h"

namespace brindle::app {
namespace {

// In the order they are cleared.
constexpr std::string_view kClearedControls[] = {
    "编辑框_栏目ID",   "组合框_文章属性", "组合框_内容频道", "组合框_排列方式", "编辑框_标题字数",
    "编辑框_调用条数", "编辑框_摘要字数", "编辑框_图片高",   "编辑框_图片宽",   "组合框_时间样式",
    "编辑框_列数",     "编辑框_天数",     "编辑框_关键词",   "编辑框_标签输出1",
};

}  // namespace

void add_clear_form_routines(AppBuild& app) {
    app.on("按钮_清空", [&app](Routine& r) {
        for (std::string_view name : kClearedControls) {
            const auto control = app.control(name);
            if (name.starts_with("组合框"))
                r.write_int(control, abi::property::kSelection, 0);
            else
                r.write_text(control, "");
        }
    });
}

}  // namespace brindle::app
