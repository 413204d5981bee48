// Test kernel whose entry refuses every version.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t) { return nullptr; }
