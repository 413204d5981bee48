// Test kernel that accepts the launch and records what it was given.
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" {
__attribute__((visibility("default"))) int32_t test_kernel_version = -1;
__attribute__((visibility("default"))) const void* test_kernel_image = nullptr;
__attribute__((visibility("default"))) size_t test_kernel_image_size = 0;
__attribute__((visibility("default"))) int test_kernel_starts = 0;
}

namespace {

int start(const void* image, size_t image_size) {
    test_kernel_image = image;
    test_kernel_image_size = image_size;
    ++test_kernel_starts;
    const auto* bytes = static_cast<const unsigned char*>(image);
    std::printf("test kernel started: %02X %02X %02X %02X, %zu bytes\n", bytes[0], bytes[1], bytes[2], bytes[3], image_size);
    std::fflush(stdout);
    return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t version) {
    test_kernel_version = version;
    return reinterpret_cast<void*>(&start);
}
