#include "runtime/service_trace.h"

#include <bit>
#include <charconv>
#include <optional>

#include "common/gbk.h"
#include "common/hex.h"
#include "common/json_string.h"
#include "image/kernel_abi.h"
#include "runtime/commands.h"

namespace brindle::runtime {
namespace {

std::optional<uint32_t> stack_argument(Machine& machine, uint32_t i) {
    auto value = machine.read_u32(machine.reg(Reg::Esp) + 4 + 4 * i);
    return value ? std::optional(*value) : std::nullopt;
}

std::string number(std::optional<uint32_t> value) { return value ? std::to_string(*value) : "?"; }
std::string identifier(std::optional<uint32_t> value) { return value ? hex_id(*value) : "?"; }
std::string address(std::optional<uint32_t> value) { return value ? hex(*value) : "?"; }

// A text's address: the null address is the empty text.
std::string text_at(Machine& machine, uint32_t at) {
    if (at == 0) return "\"\"";
    auto text = machine.read_text(at);
    return text ? json_string(gbk_to_utf8(*text)) : "?";
}

std::string shortest(double value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "?";
}

std::string argument_text(Machine& machine, const Argument& a) {
    namespace tag = abi::tag;
    switch (a.tag) {
        case tag::kOmitted: return "omitted";
        case tag::kText: return text_at(machine, a.value);
        case tag::kInteger: return std::to_string(static_cast<int32_t>(a.value));
        case tag::kFloat: return shortest(std::bit_cast<float>(a.value));
        case tag::kDouble: return shortest(std::bit_cast<double>(uint64_t(a.high) << 32 | a.value));
        case tag::kBytes: return "bytes@" + hex(a.value);
        case tag::kWindowRef:
        case tag::kMenuRef: return hex_id(a.value) + "/" + hex_id(a.high);  // the window, then its element or menu
    }
    return "tag " + hex(a.tag) + " " + hex(a.value);
}

// The argument block above the return address, as the command services take it.
std::string argument_block(Machine& machine) {
    auto args = read_argument_block(machine, machine.reg(Reg::Esp) + 4);
    if (!args) return "?";
    std::string out = "(";
    for (size_t i = 0; i < args->size(); ++i) out += (i ? ", " : "") + argument_text(machine, (*args)[i]);
    return out + ")";
}

}  // namespace

std::string service_call_line(Machine& machine, uint32_t entry) {
    namespace service = abi::service;
    const auto arg = [&](uint32_t i) { return stack_argument(machine, i); };
    switch (entry) {
        case service::kArrayIndexError: return "service ArrayIndexError code=" + number(arg(0));
        case service::kExtensionCommand:
            return "service ExtensionCommand library=" + std::to_string(machine.reg(Reg::Eax)) +
                   " command=" + hex(machine.reg(Reg::Ebx)) + " arguments=" + argument_block(machine);
        case service::kKernelCommand:
            return "service KernelCommand command=" + hex(machine.reg(Reg::Ebx)) +
                   " arguments=" + argument_block(machine);
        case service::kReadProperty:
            return "service ReadProperty window=" + identifier(arg(0)) + " element=" + identifier(arg(1)) +
                   " property=" + number(arg(2));
        case service::kWriteProperty: {
            const auto property = arg(2), value = arg(4);
            std::string shown = "?";
            if (value && property && *property == abi::property::kText)
                shown = text_at(machine, *value);
            else if (value)
                shown = std::to_string(static_cast<int32_t>(*value));
            return "service WriteProperty window=" + identifier(arg(0)) + " element=" + identifier(arg(1)) +
                   " property=" + number(property) + " value=" + shown;
        }
        case service::kAllocate: return "service Allocate size=" + number(arg(0));
        case service::kRelease: return "service Release address=" + address(arg(0));
        case service::kEndProgram: return "service EndProgram";
        case service::kEventLoop: return "service EventLoop";
        case service::kShowWindow: return "service ShowWindow window=" + identifier(arg(0));
        case service::kAcceptRoutine:
            return "service AcceptRoutine selector=" + std::to_string(machine.reg(Reg::Eax)) +
                   " routine=" + address(arg(0));
    }
    return "service " + hex(entry) + " (no such entry)";
}

}  // namespace brindle::runtime
