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
// Told the name of each start-up phase as it ends ("image opened", "ui made", "emulator loaded"), for
// the start-up benchmark.
using PhaseMark = std::function<void(const char* phase)>;

// The launcher passes the embedded image's size: nothing outside `image` is read.
Result<void> run_program_image(ByteView image, const UiFactory& make_ui, const PhaseMark& mark = {});

}  // namespace brindle::runtime
