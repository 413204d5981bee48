#pragma once
// What the kernel's start function does with the image it is handed: open and check the image, then
// load and run it with a UI made for it. A malformed image is refused before any emulation starts.
#include <cstdint>
#include <functional>
#include <memory>

#include "common/result.h"
#include "image/image_reader.h"
#include "runtime/ui.h"

namespace brindle::runtime {

using UiFactory = std::function<std::unique_ptr<Ui>(const image::Image&)>;

// The launcher passes the embedded image's size: nothing outside `image` is read. The phases
// "image opened", "ui made" and "emulator loaded" are traced as they end.
Result<void> run_program_image(ByteView image, const UiFactory& make_ui);

}  // namespace brindle::runtime
