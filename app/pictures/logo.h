#pragma once
// The logo every icon is made of, for icons other than the program's own (the desktop menu's).
#include "app/pictures/ico_writer.h"

namespace brindle::app {

// The logo drawn at SIZE × SIZE pixels, straight (not premultiplied) alpha.
Picture logo_picture(int size);

}  // namespace brindle::app
