#pragma once
// The tool's UI on the real desktop: a Qt application (made when none exists), the system desktop
// and the windows of the image's form section.
#include <memory>

#include "image/image_reader.h"
#include "runtime/qt/single_instance.h"
#include "runtime/ui.h"

namespace brindle::runtime::qt {

// A later start of the tool that hands over to `instance` shows the main window.
std::unique_ptr<Ui> make_qt_platform_ui(const image::Image& image, std::unique_ptr<SingleInstance> instance = nullptr);

}  // namespace brindle::runtime::qt
