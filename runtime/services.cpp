#include "runtime/services.h"

#include "common/hex.h"
#include "image/kernel_abi.h"

namespace brindle::runtime {

Result<uint32_t> Services::argument(uint32_t i) {
    auto value = machine_.read_u32(machine_.reg(Reg::Esp) + 4 + 4 * i);
    if (!value) return fail("stack argument " + std::to_string(i + 1) + " lies outside memory");
    return value;
}

void Services::set_result(uint32_t eax, uint32_t edx) {
    machine_.set_reg(Reg::Eax, eax);
    machine_.set_reg(Reg::Edx, edx);
}

void Services::failed(std::string message) {
    if (auto size = heap_.take_exhaustion()) return control_.out_of_memory(*size);
    control_.fatal(std::move(message));
}

void Services::call(uint32_t entry) {
    using namespace abi::service;
    switch (entry) {
        case kArrayIndexError: {
            auto code = argument(0);
            control_.fatal(code && *code == abi::kErrorArrayIndex ? std::string("array index out of range")
                                                                  : "runtime error " + hex(code ? *code : 0));
            return;
        }
        case kExtensionCommand:
        case kKernelCommand: command(entry); return;
        case kReadProperty: read_property(); return;
        case kWriteProperty: write_property(); return;
        case kAllocate: {
            auto size = argument(0);
            if (!size) return control_.fatal("allocate: " + size.error().message);
            auto block = heap_.allocate(*size);
            if (!block) return failed("allocate: " + block.error().describe());
            set_result(*block);
            return;
        }
        case kRelease: {
            auto address = argument(0);
            if (!address) return control_.fatal("release: " + address.error().message);
            if (auto r = heap_.release(*address); !r) control_.report("release: " + r.error().describe());
            return;
        }
        case kEndProgram: control_.end_program(); return;
        case kEventLoop: {
            uint32_t esp = machine_.reg(Reg::Esp);
            auto resume = machine_.read_u32(esp);
            if (!resume) return control_.fatal("event loop: return address lies outside memory");
            control_.park_for_event_loop(*resume, esp + 4);
            return;
        }
        case kShowWindow: {
            auto window = argument(0);
            if (!window) return control_.fatal("show window: " + window.error().message);
            if (auto r = ui_.create_window(*window); !r)
                return control_.fatal("show window " + hex(*window) + ": " + r.error().describe());
            return;
        }
        case kAcceptRoutine: {
            auto routine = argument(0);
            if (!routine) return control_.fatal("accept routine: " + routine.error().message);
            control_.accept_routine(machine_.reg(Reg::Eax), *routine);
            return;
        }
        default: control_.fatal("service table entry " + hex(entry) + " is not provided"); return;
    }
}

void Services::command(uint32_t entry) {
    uint32_t number = machine_.reg(Reg::Ebx);
    uint32_t block = machine_.reg(Reg::Esp) + 4;
    auto args = read_argument_block(machine_, block);
    if (!args) return control_.fatal("command " + hex(number) + ": " + args.error().describe());
    auto result = entry == abi::service::kExtensionCommand
                      ? commands_.run_extension(machine_.reg(Reg::Eax), number, *args)
                      : commands_.run_kernel(number, *args);
    if (!result) return failed(result.error().describe());
    set_result(result->eax, result->edx);
}

void Services::read_property() {
    auto window = argument(0), element = argument(1), property = argument(2);
    if (!window || !element || !property) return control_.fatal("read property: arguments lie outside memory");
    auto value = ui_.read_property(*window, *element, *property);
    if (!value)
        return control_.fatal("read property " + std::to_string(*property) + " of " + hex(*element) + ": " +
                              value.error().describe());
    if (const auto* text = std::get_if<std::string>(&*value)) {
        auto block = heap_.allocate_text(*text);
        if (!block) return failed("read property: " + block.error().describe());
        set_result(*block);
    } else {
        set_result(static_cast<uint32_t>(std::get<int32_t>(*value)));
    }
}

void Services::write_property() {
    auto window = argument(0), element = argument(1), property = argument(2), value = argument(4);
    if (!window || !element || !property || !value) return control_.fatal("write property: arguments lie outside memory");
    PropertyValue written;
    if (*property == abi::property::kText) {
        std::string text;
        if (*value != 0) {
            auto t = machine_.read_text(*value);
            if (!t) return control_.fatal("write property " + std::to_string(*property) + ": " + t.error().describe());
            text = *t;
        }
        written = std::move(text);
    } else {
        written = static_cast<int32_t>(*value);
    }
    if (auto r = ui_.write_property(*window, *element, *property, written); !r)
        return control_.fatal("write property " + std::to_string(*property) + " of " + hex(*element) + ": " +
                              r.error().describe());
}

}  // namespace brindle::runtime
