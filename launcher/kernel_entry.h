#pragma once
// How the launcher enters the runtime kernel library: one export, called once, returning the start function.
#include <cstddef>
#include <cstdint>

#include "image/kernel_abi.h"

namespace brindle::launcher {

inline constexpr const char* kEntryExport = "GetNewSock";

// extern "C" void* GetNewSock(int32_t version): the start function, or null when the kernel refuses.
using GetNewSockFn = void* (*)(int32_t version);
// Runs the application from the program image (its first byte and its size: the kernel reads nothing
// outside it); returns when it has ended: 0, or non-zero when the kernel could not run the image.
using StartFn = int (*)(const void* image, size_t image_size);

}  // namespace brindle::launcher
