// Fuzz target for what a routine hands the kernel: the first bytes pick a command, the rest lie in
// guest memory as its argument block, with texts and byte blocks pointing anywhere. Every command
// either runs or gives an error; none reads outside guest memory or trusts a count.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/kernel_abi.h"
#include "runtime/commands.h"
#include "runtime/headless/recording_ui.h"
#include "runtime/kernel.h"

namespace {

constexpr uint32_t kCommands[] = {
    brindle::abi::command::kMessageBox, brindle::abi::command::kSetClipboardText, brindle::abi::command::kToText,
    brindle::abi::command::kToNumber,   brindle::abi::command::kToInteger,        brindle::abi::command::kCloseWindow,
    brindle::abi::command::kPlaceTrayIcon, brindle::abi::command::kPopUpMenu,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brindle::runtime;
    if (size < 2) return 0;
    static brindle::headless::RecordingUi ui;
    static auto kernel = Kernel::create(ui);
    if (!kernel) return 0;
    Machine& machine = (*kernel)->machine();
    Heap& heap = (*kernel)->heap();

    const uint32_t number = kCommands[data[0] % std::size(kCommands)];
    const bool extension = data[1] & 1;
    auto block = heap.allocate(static_cast<uint32_t>(size));
    if (!block) return 0;
    (void)machine.write(*block, brindle::ByteView(data, size));

    // The block read at every offset of the fuzzed bytes, so counts and triples land anywhere.
    Commands commands(machine, heap, ui);
    for (uint32_t at = 2; at < size && at < 34; at += 4) {
        auto args = read_argument_block(machine, *block + at);
        if (!args) continue;
        auto result = extension ? commands.run_extension(brindle::abi::kBrowserLibrary, brindle::abi::kOpenWebAddress, *args)
                                : commands.run_kernel(number, *args);
        if (result && (number == brindle::abi::command::kToText)) (void)heap.release(result->eax);
    }
    (void)heap.release(*block);
    ui.clear_records();
    return 0;
}
