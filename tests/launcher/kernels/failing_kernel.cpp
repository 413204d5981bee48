// Test kernel whose start function reports that it could not run the image, as the real kernel does.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

int start(const void*, size_t) {
    std::fputs("test kernel: cannot run this image\n", stderr);
    return 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t) { return reinterpret_cast<void*>(&start); }
