#pragma once
// A complete program image over the test form, with compiled routines for its events, for running
// through brindle-drive.
#include "common/bytes.h"

namespace brindle::runtime::qt::testing {

// Routines: window created places the tray icon (tooltip "Brindle"); tray code 1 shows, code 3 pops
// the menu; 单选框_乙 writes "乙选中" into 编辑框_单行; 按钮_写 writes 编辑框_单行's text and "！" into
// 编辑框_多行, shows "已写入" (style 0x40) and puts "剪贴" on the clipboard; 按钮1 and "隐藏" hide,
// "显示" shows, "关闭" closes; 超级按钮2 opens the forum address.
Bytes drive_test_image();

}  // namespace brindle::runtime::qt::testing
