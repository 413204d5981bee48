#include "runtime/commands.h"

#include <bit>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "runtime/conversions.h"

namespace brindle::runtime {

namespace {

double as_double(const Argument& a) { return std::bit_cast<double>(uint64_t(a.high) << 32 | a.value); }
float as_float(const Argument& a) { return std::bit_cast<float>(a.value); }

CommandResult double_result(double value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32)};
}

std::string argument_name(size_t i, std::string_view what) {
    return "argument " + std::to_string(i + 1) + " (" + std::string(what) + ")";
}

std::unexpected<Error> wrong_tag(std::span<const Argument> args, size_t i, std::string_view what,
                                 std::string_view expected) {
    if (i >= args.size()) return fail(argument_name(i, what) + " is missing");
    return fail(argument_name(i, what) + " must be " + std::string(expected) + ", not type tag " + hex(args[i].tag));
}

}  // namespace

Result<std::vector<Argument>> read_argument_block(Machine& machine, uint32_t address) {
    auto count = machine.read_u32(address);
    if (!count) return fail("argument block lies outside memory", "argument count", address);
    if (*count > kMaxArguments)
        return fail("argument count " + std::to_string(*count) + " is more than " + std::to_string(kMaxArguments),
                    "argument count", address);
    const uint8_t* p = machine.host(address + 4, *count * 12);
    if (!p) return fail("argument block runs outside memory", "argument block", address);
    std::vector<Argument> args(*count);
    for (uint32_t i = 0; i < *count; ++i)
        args[i] = {load_u32le(p + 12 * i), load_u32le(p + 12 * i + 4), load_u32le(p + 12 * i + 8)};
    return args;
}

Result<std::string_view> Commands::text(std::span<const Argument> args, size_t i, std::string_view what) {
    if (i >= args.size() || args[i].tag != abi::tag::kText) return wrong_tag(args, i, what, "a text");
    if (args[i].value == 0) return std::string_view();
    auto t = machine_.read_text(args[i].value);
    if (!t) return fail(argument_name(i, what) + ": " + t.error().describe());
    return t;
}

Result<int32_t> Commands::integer(std::span<const Argument> args, size_t i, std::string_view what) {
    if (i >= args.size() || args[i].tag != abi::tag::kInteger) return wrong_tag(args, i, what, "an integer");
    return static_cast<int32_t>(args[i].value);
}

Result<uint32_t> Commands::window(std::span<const Argument> args, size_t i, std::string_view what) {
    if (i >= args.size() || args[i].tag != abi::tag::kWindowRef) return wrong_tag(args, i, what, "a window reference");
    return args[i].value;
}

Result<ByteView> Commands::bytes(std::span<const Argument> args, size_t i, std::string_view what) {
    if (i >= args.size() || args[i].tag != abi::tag::kBytes) return wrong_tag(args, i, what, "a byte block");
    uint32_t block = args[i].value;
    if (block == 0) return ByteView();
    const uint8_t* head = machine_.host(block, image::layout::kByteBlockHeader);
    if (!head) return fail(argument_name(i, what) + ": byte block at " + hex(block) + " lies outside memory");
    if (load_u32le(head) != image::layout::kByteBlockDimensions)
        return fail(argument_name(i, what) + ": byte block at " + hex(block) + " has " +
                    std::to_string(load_u32le(head)) + " dimensions, not 1");
    uint32_t length = load_u32le(head + 4);
    const uint8_t* data = machine_.host(block + image::layout::kByteBlockHeader, length);
    if (!data && length > 0)
        return fail(argument_name(i, what) + ": byte block at " + hex(block) + " of " + std::to_string(length) +
                    " bytes runs outside memory");
    return ByteView(data, length);
}

Result<CommandResult> Commands::new_text(std::string_view text) {
    BRINDLE_TRY(auto block, heap_.allocate_text(text));
    return CommandResult{block, 0};
}

Result<CommandResult> Commands::run_kernel(uint32_t number, std::span<const Argument> args) {
    auto result = kernel_command(number, args);
    if (!result) return fail("kernel command " + hex(number) + ": " + result.error().describe());
    return result;
}

Result<CommandResult> Commands::kernel_command(uint32_t number, std::span<const Argument> args) {
    using namespace abi::command;
    Result<CommandResult> result;
    switch (number) {
        case kMessageBox: result = message_box(args); break;
        case kSetClipboardText: {
            BRINDLE_TRY(auto t, text(args, 0, "text"));
            ui_.set_clipboard_text(t);
            result = CommandResult{};
            break;
        }
        case kToText: result = to_text(args); break;
        case kToNumber: result = to_number(args); break;
        case kToInteger: result = to_integer(args); break;
        case kCloseWindow: {
            BRINDLE_TRY(auto w, window(args, 0, "window"));
            ui_.close_window(w);
            result = CommandResult{};
            break;
        }
        case kPlaceTrayIcon: {
            BRINDLE_TRY(auto w, window(args, 0, "window"));
            BRINDLE_TRY(auto icon, bytes(args, 1, "icon"));
            BRINDLE_TRY(auto tip, text(args, 2, "tooltip"));
            ui_.place_tray_icon(w, icon, tip);
            result = CommandResult{};
            break;
        }
        case kPopUpMenu: {
            BRINDLE_TRY(auto w, window(args, 0, "window"));
            if (args.size() < 2 || args[1].tag != abi::tag::kMenuRef) return wrong_tag(args, 1, "menu", "a menu reference");
            ui_.pop_up_menu(w, args[1].high);
            result = CommandResult{};
            break;
        }
        default: return fail("unknown command");
    }
    return result;
}

Result<CommandResult> Commands::run_extension(uint32_t library, uint32_t number, std::span<const Argument> args) {
    if (library != abi::kBrowserLibrary || number != abi::kOpenWebAddress)
        return fail("unknown command " + hex(number) + " of extension library " + std::to_string(library));
    auto address = text(args, 0, "web address");
    if (!address) return fail("extension command " + hex(number) + ": " + address.error().describe());
    ui_.open_web_address(*address);
    return CommandResult{};
}

Result<CommandResult> Commands::message_box(std::span<const Argument> args) {
    BRINDLE_TRY(auto message, text(args, 0, "message"));
    BRINDLE_TRY(auto style, integer(args, 1, "style"));
    std::optional<std::string_view> title;
    if (args.size() > 2 && args[2].tag != abi::tag::kOmitted) {
        BRINDLE_TRY(auto t, text(args, 2, "title"));
        title = t;
    }
    // The UI may run other code while the box is open; copy the texts out of guest memory first.
    std::string message_copy(message);
    std::optional<std::string> title_copy = title ? std::optional<std::string>(std::string(*title)) : std::nullopt;
    int32_t button = ui_.message_box(message_copy, style,
                                     title_copy ? std::optional<std::string_view>(*title_copy) : std::nullopt);
    return CommandResult{static_cast<uint32_t>(button), 0};
}

Result<CommandResult> Commands::to_text(std::span<const Argument> args) {
    if (args.empty()) return wrong_tag(args, 0, "value", "a text, integer, float or double");
    switch (args[0].tag) {
        case abi::tag::kText: {
            BRINDLE_TRY(auto t, text(args, 0, "value"));
            return new_text(std::string(t));
        }
        case abi::tag::kInteger: return new_text(integer_to_text(static_cast<int32_t>(args[0].value)));
        case abi::tag::kFloat: return new_text(float_to_text(as_float(args[0])));
        case abi::tag::kDouble: return new_text(number_to_text(as_double(args[0])));
        default: return wrong_tag(args, 0, "value", "a text, integer, float or double");
    }
}

Result<CommandResult> Commands::to_number(std::span<const Argument> args) {
    if (args.empty()) return wrong_tag(args, 0, "value", "a text or a number");
    switch (args[0].tag) {
        case abi::tag::kText: {
            BRINDLE_TRY(auto t, text(args, 0, "value"));
            return double_result(text_to_number(t));
        }
        case abi::tag::kDouble: return double_result(as_double(args[0]));
        case abi::tag::kFloat: return double_result(as_float(args[0]));
        case abi::tag::kInteger: return double_result(static_cast<int32_t>(args[0].value));
        default: return wrong_tag(args, 0, "value", "a text or a number");
    }
}

Result<CommandResult> Commands::to_integer(std::span<const Argument> args) {
    if (args.empty()) return wrong_tag(args, 0, "value", "a text or a number");
    switch (args[0].tag) {
        case abi::tag::kText: {
            BRINDLE_TRY(auto t, text(args, 0, "value"));
            return CommandResult{static_cast<uint32_t>(text_to_integer(t)), 0};
        }
        case abi::tag::kInteger: return CommandResult{args[0].value, 0};
        case abi::tag::kDouble: return CommandResult{static_cast<uint32_t>(number_to_integer(as_double(args[0]))), 0};
        case abi::tag::kFloat: return CommandResult{static_cast<uint32_t>(number_to_integer(as_float(args[0]))), 0};
        default: return wrong_tag(args, 0, "value", "a text or a number");
    }
}

}  // namespace brindle::runtime
