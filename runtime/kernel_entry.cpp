// The kernel library's one export. The launcher calls GetNewSock(1000) and then the start function
// with the program image's address and size; the start function returns when the program has ended:
// 0, or 1 when the image could not run (the launcher then ends with a failure status).
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "image/kernel_abi.h"
#include "runtime/program_start.h"
#include "runtime/qt/qt_platform.h"

namespace {

int start(const void* image, size_t image_size) {
    auto r = brindle::runtime::run_program_image(brindle::ByteView(static_cast<const uint8_t*>(image), image_size),
                                                 brindle::runtime::qt::make_qt_platform_ui);
    if (!r) {
        std::fprintf(stderr, "rtcore: %s\n", r.error().describe().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t version) {
    if (version != brindle::abi::kKernelVersion) return nullptr;
    return reinterpret_cast<void*>(&start);
}
