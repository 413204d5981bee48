#include "tests/runtime/test_program.h"

#include <bit>

namespace brindle::runtime::testing {

Arg Arg::number(double v) {
    uint64_t bits = std::bit_cast<uint64_t>(v);
    return {abi::tag::kDouble, static_cast<uint32_t>(bits >> 32), static_cast<uint32_t>(bits)};
}

Arg Arg::real(float v) { return {abi::tag::kFloat, 0, std::bit_cast<uint32_t>(v)}; }

TestProgram::TestProgram() {
    for (uint32_t entry = 0; entry < abi::service::kTableSize; entry += 4) {
        raw({0xFF, 0x25});  // jmp dword [table + entry]
        reloc(image::RelocKind::Service);
        imm32(entry);
    }
}

void TestProgram::push_imm(uint32_t v) {
    code_.push_back(0x68);
    imm32(v);
}

void TestProgram::push_const_text(const std::string& gbk) {
    code_.push_back(0x68);
    reloc(image::RelocKind::Const);
    imm32(constants.add_text(gbk));
}

void TestProgram::push_code_address(uint32_t code_offset) {
    code_.push_back(0x68);
    reloc(image::RelocKind::Code);
    imm32(code_offset);
}

void TestProgram::mov_eax_imm(uint32_t v) {
    code_.push_back(0xB8);
    imm32(v);
}

void TestProgram::mov_ebx_imm(uint32_t v) {
    code_.push_back(0xBB);
    imm32(v);
}

void TestProgram::mov_eax_const_text(const std::string& gbk) {
    code_.push_back(0xB8);
    reloc(image::RelocKind::Const);
    imm32(constants.add_text(gbk));
}

void TestProgram::mov_var_eax(uint32_t var_offset) {
    code_.push_back(0xA3);
    reloc(image::RelocKind::Var);
    imm32(var_offset);
}

void TestProgram::mov_eax_var(uint32_t var_offset) {
    code_.push_back(0xA1);
    reloc(image::RelocKind::Var);
    imm32(var_offset);
}

void TestProgram::call_thunk(uint32_t entry) {
    code_.push_back(0xE8);
    imm32(thunk_offset(entry) - (here() + 4));
}

void TestProgram::add_esp(uint32_t n) {
    raw({0x81, 0xC4});
    imm32(n);
}

void TestProgram::command(uint32_t number, const std::vector<Arg>& args, uint32_t entry, uint32_t library) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        push_imm(it->tag);
        push_imm(it->high);
        if (const auto* v = std::get_if<uint32_t>(&it->value)) {
            push_imm(*v);
        } else if (const auto* t = std::get_if<std::string>(&it->value)) {
            push_const_text(*t);
        } else if (const auto* b = std::get_if<Bytes>(&it->value)) {
            code_.push_back(0x68);
            reloc(image::RelocKind::Const);
            imm32(constants.add_bytes(*b));
        } else {
            push_eax();
        }
    }
    push_imm(static_cast<uint32_t>(args.size()));
    mov_ebx_imm(number);
    if (entry == abi::service::kExtensionCommand) mov_eax_imm(library);
    call_thunk(entry);
    add_esp(4 * (1 + 3 * static_cast<uint32_t>(args.size())));
}

void TestProgram::read_property(uint32_t window, uint32_t element, uint32_t property) {
    push_imm(0xFFFFFFFF);
    push_imm(property);
    push_imm(element);
    push_imm(window);
    call_thunk(abi::service::kReadProperty);
    add_esp(16);
}

void TestProgram::write_property_eax(uint32_t window, uint32_t element, uint32_t property) {
    push_imm(0);
    push_eax();
    push_imm(0xFFFFFFFF);
    push_imm(property);
    push_imm(element);
    push_imm(window);
    call_thunk(abi::service::kWriteProperty);
    add_esp(24);
}

void TestProgram::write_property_text(uint32_t window, uint32_t element, const std::string& gbk) {
    mov_eax_const_text(gbk);
    write_property_eax(window, element, abi::property::kText);
}

void TestProgram::release_eax() {
    push_eax();
    call_thunk(abi::service::kRelease);
    add_esp(4);
}

void TestProgram::release_esi() {
    push_esi();
    call_thunk(abi::service::kRelease);
    add_esp(4);
}

ProgramParts TestProgram::parts(uint32_t entry_offset) {
    ProgramParts p;
    p.code = code_;
    p.constants = constants.data();
    p.var_size = var_size;
    p.relocations = relocations_;
    p.entry_offset = entry_offset;
    return p;
}

}  // namespace brindle::runtime::testing
