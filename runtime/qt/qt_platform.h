#pragma once
// The tool's UI on the real desktop: a Qt application (made when none exists), the system desktop
// and the windows of the image's form section.
#include <memory>

#include "image/image_reader.h"
#include "runtime/ui.h"

namespace brindle::runtime::qt {

std::unique_ptr<Ui> make_qt_platform_ui(const image::Image& image);

}  // namespace brindle::runtime::qt
