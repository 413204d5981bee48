#pragma once
// The runtime commands that routines call through the kernel and extension-command services: argument
// blocks in, results out in eax (or eax:edx for a double).
#include <cstdint>
#include <span>
#include <vector>

#include "common/result.h"
#include "runtime/heap.h"
#include "runtime/machine.h"
#include "runtime/ui.h"

namespace brindle::runtime {

// One argument triple: {value, high dword, type tag}.
struct Argument {
    uint32_t value = 0;
    uint32_t high = 0;
    uint32_t tag = 0;
};

// What a command leaves in eax and edx.
struct CommandResult {
    uint32_t eax = 0;
    uint32_t edx = 0;
};

// Reads an argument block: a count, then count triples. The count is capped so that a wild block is an
// error rather than a huge read.
inline constexpr uint32_t kMaxArguments = 64;
Result<std::vector<Argument>> read_argument_block(Machine& machine, uint32_t address);

class Commands {
public:
    Commands(Machine& machine, Heap& heap, Ui& ui) : machine_(machine), heap_(heap), ui_(ui) {}

    Result<CommandResult> run_kernel(uint32_t number, std::span<const Argument> args);
    Result<CommandResult> run_extension(uint32_t library, uint32_t number, std::span<const Argument> args);

private:
    // A text argument's bytes; null is the empty text.
    Result<std::string_view> text(std::span<const Argument> args, size_t i, std::string_view what);
    Result<int32_t> integer(std::span<const Argument> args, size_t i, std::string_view what);
    Result<uint32_t> window(std::span<const Argument> args, size_t i, std::string_view what);
    Result<ByteView> bytes(std::span<const Argument> args, size_t i, std::string_view what);
    Result<CommandResult> new_text(std::string_view text);

    Result<CommandResult> kernel_command(uint32_t number, std::span<const Argument> args);
    Result<CommandResult> message_box(std::span<const Argument> args);
    Result<CommandResult> to_text(std::span<const Argument> args);
    Result<CommandResult> to_number(std::span<const Argument> args);
    Result<CommandResult> to_integer(std::span<const Argument> args);

    Machine& machine_;
    Heap& heap_;
    Ui& ui_;
};

}  // namespace brindle::runtime
