#include "runtime/host_pages.h"

#include <unistd.h>

namespace brindle::runtime {
namespace {

uintptr_t down(uintptr_t address, size_t page) { return address & ~(uintptr_t(page) - 1); }
uintptr_t up(uintptr_t address, size_t page) { return down(address + page - 1, page); }

std::span<uint8_t> between(uintptr_t begin, uintptr_t end) {
    if (end <= begin) return {};
    return {reinterpret_cast<uint8_t*>(begin), end - begin};
}

}  // namespace

size_t host_page_size() {
    static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

std::span<uint8_t> whole_pages_inside(std::span<uint8_t> bytes, size_t page) {
    auto begin = reinterpret_cast<uintptr_t>(bytes.data());
    return between(up(begin, page), down(begin + bytes.size(), page));
}

std::span<uint8_t> pages_holding(std::span<uint8_t> bytes, size_t page) {
    auto begin = reinterpret_cast<uintptr_t>(bytes.data());
    return between(down(begin, page), up(begin + bytes.size(), page));
}

}  // namespace brindle::runtime
