#pragma once
// The program's icons, drawn in code: the window icon and the notification-area icon file.
#include "common/bytes.h"

namespace brindle::app {

// One 128 × 128 image at 32 bits per pixel.
Bytes window_icon_file();

// 20 images: 48, 32, 16 at 1 bit per pixel; 48, 32, 24, 16 at 4 and at 8;
// 128, 96, 80, 72, 64, 48, 32, 24, 16 at 32.
Bytes tray_icon_file();

}  // namespace brindle::app
