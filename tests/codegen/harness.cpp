#include "tests/codegen/harness.h"

#include <cstring>

#include "image/kernel_abi.h"

namespace brindle::codegen::harness {
namespace {

uint32_t page_round(uint32_t n) { return (n + 0xFFF) & ~0xFFFu; }

}  // namespace

Harness::Harness(const EmittedCode& code, const ConstantPool& pool) {
    uc_open(UC_ARCH_X86, UC_MODE_32, &uc_);
    Bytes text = code.code;
    const uint32_t bases[] = {kTableBase, kConstBase, kVarBase, kCodeBase};
    for (const auto& r : code.relocations) {
        uint8_t* p = text.data() + r.offset;
        store_u32le(p, load_u32le(p) + bases[static_cast<size_t>(r.kind)]);
    }
    const_size_ = static_cast<uint32_t>(pool.data().size());
    uc_mem_map(uc_, kCodeBase, page_round(static_cast<uint32_t>(text.size()) + 1), UC_PROT_ALL);
    uc_mem_write(uc_, kCodeBase, text.data(), text.size());
    uc_mem_map(uc_, kConstBase, page_round(const_size_ + 1), UC_PROT_ALL);
    uc_mem_write(uc_, kConstBase, pool.data().data(), pool.data().size());
    uc_mem_map(uc_, kVarBase, 0x1000, UC_PROT_ALL);
    uc_mem_map(uc_, kTableBase, 0x2000, UC_PROT_ALL);
    for (uint32_t e = 0; e < abi::service::kTableSize; e += 4) {
        uint8_t entry[4];
        store_u32le(entry, kStubBase + e);
        uc_mem_write(uc_, kTableBase + e, entry, 4);
    }
    std::vector<uint8_t> rets(0x1000, 0xC3);  // each stub returns after the hook has served it
    uc_mem_write(uc_, kStubBase, rets.data(), rets.size());
    uc_mem_map(uc_, kHeapBase, 0x100000, UC_PROT_READ | UC_PROT_WRITE);
    uc_mem_map(uc_, kStackTop - 0x100000, 0x100000, UC_PROT_READ | UC_PROT_WRITE);
    uc_mem_map(uc_, kSentinel, 0x1000, UC_PROT_ALL);
    uc_hook_add(uc_, &hook_, UC_HOOK_CODE, reinterpret_cast<void*>(&Harness::on_stub), this, kStubBase,
                kStubBase + abi::service::kTableSize - 1);
}

Harness::~Harness() { uc_close(uc_); }

uint32_t Harness::read_u32(uint32_t address) {
    uint8_t b[4] = {};
    uc_mem_read(uc_, address, b, 4);
    return load_u32le(b);
}

std::string Harness::read_text(uint32_t address) {
    std::string out;
    for (char c; uc_mem_read(uc_, address + out.size(), &c, 1) == UC_ERR_OK && c != 0;) out += c;
    return out;
}

uint32_t Harness::new_block(const std::string& bytes) {
    uint32_t at = heap_next_;
    heap_next_ += (static_cast<uint32_t>(bytes.size()) + 8) & ~7u;
    uc_mem_write(uc_, at, bytes.data(), bytes.size());
    live.insert(at);
    return at;
}

bool Harness::run(uint32_t code_offset, const std::vector<uint32_t>& args) {
    uint32_t esp = kStackTop - 0x100;
    for (size_t i = args.size(); i-- > 0;) {
        esp -= 4;
        uint8_t b[4];
        store_u32le(b, args[i]);
        uc_mem_write(uc_, esp, b, 4);
    }
    esp -= 4;
    uint8_t ret[4];
    store_u32le(ret, kSentinel);
    uc_mem_write(uc_, esp, ret, 4);
    uc_reg_write(uc_, UC_X86_REG_ESP, &esp);
    uc_err err = uc_emu_start(uc_, kCodeBase + code_offset, kSentinel, 0, 2'000'000);
    uc_reg_read(uc_, UC_X86_REG_ESP, &esp_after);
    return err == UC_ERR_OK;
}

void Harness::on_stub(uc_engine*, uint64_t address, uint32_t, void* self) {
    static_cast<Harness*>(self)->service(static_cast<uint32_t>(address - kStubBase));
}

void Harness::service(uint32_t entry) {
    uint32_t esp = 0, eax = 0, ebx = 0;
    uc_reg_read(uc_, UC_X86_REG_ESP, &esp);
    uc_reg_read(uc_, UC_X86_REG_EAX, &eax);
    uc_reg_read(uc_, UC_X86_REG_EBX, &ebx);
    auto arg = [&](uint32_t i) { return read_u32(esp + 4 + 4 * i); };
    services.push_back({entry, {arg(0), arg(1), arg(2), arg(3), arg(4), arg(5)}});
    uint64_t result = 0;
    namespace s = abi::service;
    switch (entry) {
    case s::kAllocate: result = new_block(std::string(arg(0), '\xAA')); break;
    case s::kRelease: {
        uint32_t p = arg(0);
        if (p >= kConstBase && p < kConstBase + const_size_) ++constant_releases;
        else if (!live.erase(p)) ++bad_releases;
        break;
    }
    case s::kReadProperty: {
        if (arg(2) == abi::property::kText) {
            auto it = texts.find({arg(0), arg(1)});
            result = (it != texts.end() && it->second) ? new_block(*it->second + '\0') : 0;
        } else {
            result = ints[{arg(0), arg(1), arg(2)}];
        }
        break;
    }
    case s::kWriteProperty: {
        PropertyWrite w{arg(0), arg(1), arg(2), arg(3), arg(4), arg(5), std::nullopt};
        if (w.property == abi::property::kText && w.value) w.text = read_text(w.value);
        writes.push_back(w);
        break;
    }
    case s::kKernelCommand:
    case s::kExtensionCommand: {
        CommandCall call{entry == s::kExtensionCommand ? std::optional(eax) : std::nullopt, ebx, {}};
        for (uint32_t i = 0, n = arg(0); i < n; ++i) {
            Triple t{arg(1 + 3 * i), arg(2 + 3 * i), arg(3 + 3 * i), std::nullopt};
            if (t.tag == abi::tag::kText && t.value) t.text = read_text(t.value);
            call.args.push_back(t);
        }
        commands.push_back(call);
        if (on_command) {
            CommandResult r = on_command(call);
            result = r.text ? new_block(*r.text + '\0') : r.value;
        }
        break;
    }
    case s::kEndProgram:
    case s::kArrayIndexError: uc_emu_stop(uc_); break;
    default: break;
    }
    uint32_t lo = static_cast<uint32_t>(result), hi = static_cast<uint32_t>(result >> 32);
    uc_reg_write(uc_, UC_X86_REG_EAX, &lo);
    uc_reg_write(uc_, UC_X86_REG_EDX, &hi);
}

}  // namespace brindle::codegen::harness
