#pragma once
// How the launcher enters the runtime kernel library: one export, called once, returning the start function.
#include <cstdint>

#include "image/kernel_abi.h"

namespace brindle::launcher {

inline constexpr const char* kEntryExport = "GetNewSock";

// extern "C" void* GetNewSock(int32_t version): the start function, or null when the kernel refuses.
using GetNewSockFn = void* (*)(int32_t version);
// Runs the application from the program image; returns when it has ended.
using StartFn = int (*)(const void* image);

}  // namespace brindle::launcher
