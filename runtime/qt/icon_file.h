#pragma once
// Pictures held in the image as bytes: ICO files (the window and tray icons) and GIF images.
#include <QIcon>
#include <QPixmap>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::runtime::qt {

struct LoadedIcon {
    QIcon icon;
    int image_count = 0;
};

// Every image of an ICO file; an error when the bytes are not a readable icon.
Result<LoadedIcon> load_icon(ByteView ico);

// A picture (GIF or any format Qt reads) from its bytes; an error when unreadable.
Result<QPixmap> load_picture(ByteView bytes);

}  // namespace brindle::runtime::qt
