#pragma once
// Hand-assembled 32-bit routines for the kernel tests: a few instruction encodings, constants, and
// relocation records, in the conventions compiled routines follow.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/bytes.h"
#include "image/constant_pool.h"
#include "image/kernel_abi.h"
#include "image/relocation.h"
#include "runtime/loader.h"

namespace brindle::runtime::testing {

// One argument of a command call: a tag, a high dword and a value that is an immediate, a constant
// text, a constant byte block, or whatever eax holds.
struct Arg {
    struct Eax {};
    uint32_t tag;
    uint32_t high = 0;
    std::variant<uint32_t, std::string, Bytes, Eax> value = uint32_t{0};

    static Arg text(std::string t) { return {abi::tag::kText, 0, std::move(t)}; }
    static Arg null_text() { return {abi::tag::kText, 0, uint32_t{0}}; }
    static Arg integer(int32_t v) { return {abi::tag::kInteger, 0, static_cast<uint32_t>(v)}; }
    static Arg number(double v);
    static Arg real(float v);
    static Arg bytes(Bytes b) { return {abi::tag::kBytes, 0, std::move(b)}; }
    static Arg window(uint32_t window_id, uint32_t element_id) { return {abi::tag::kWindowRef, element_id, window_id}; }
    static Arg menu(uint32_t window_id, uint32_t menu_id) { return {abi::tag::kMenuRef, menu_id, window_id}; }
    static Arg omitted() { return {abi::tag::kOmitted, 0, uint32_t{0}}; }
    static Arg from_eax(uint32_t tag) { return {tag, 0, Eax{}}; }
};

class TestProgram {
public:
    // Thunks for all 13 table entries come first, at code offset 6 × (entry / 4).
    TestProgram();

    uint32_t here() const { return static_cast<uint32_t>(code_.size()); }
    static uint32_t thunk_offset(uint32_t entry) { return 6 * (entry / 4); }

    // Instructions.
    void push_imm(uint32_t v);
    void push_const_text(const std::string& gbk);
    void push_code_address(uint32_t code_offset);  // kind-3 operand
    void push_eax() { code_.push_back(0x50); }
    void push_esi() { code_.push_back(0x56); }
    void mov_eax_imm(uint32_t v);
    void mov_ebx_imm(uint32_t v);
    void mov_eax_const_text(const std::string& gbk);
    void mov_esi_eax() { raw({0x89, 0xC6}); }
    void mov_var_eax(uint32_t var_offset);  // mov [var], eax
    void mov_eax_var(uint32_t var_offset);  // mov eax, [var]
    void call_thunk(uint32_t entry);
    void add_esp(uint32_t n);
    void ret() { code_.push_back(0xC3); }
    void raw(std::initializer_list<uint8_t> bytes) { code_.insert(code_.end(), bytes); }

    // Conventions.
    void command(uint32_t number, const std::vector<Arg>& args, uint32_t entry = abi::service::kKernelCommand,
                 uint32_t library = 0);
    void read_property(uint32_t window, uint32_t element, uint32_t property);            // result in eax
    void write_property_eax(uint32_t window, uint32_t element, uint32_t property);       // value from eax
    void write_property_text(uint32_t window, uint32_t element, const std::string& gbk);
    void release_eax();
    void release_esi();

    // The routine at `start`, with the entry routine at entry_offset.
    ProgramParts parts(uint32_t entry_offset);
    ProgramParts parts() { return parts(0); }

    image::ConstantPool constants;
    uint32_t var_size = 4;

private:
    void reloc(image::RelocKind kind) { relocations_.push_back(image::Relocation{kind, here()}); }
    void imm32(uint32_t v) { uint8_t b[4]; store_u32le(b, v); code_.insert(code_.end(), b, b + 4); }

    Bytes code_;
    std::vector<image::Relocation> relocations_;
};

}  // namespace brindle::runtime::testing
