#include "codegen/context.h"

#include <cstring>

#include "common/gbk.h"

namespace brindle::codegen {

namespace x86 = asmjit::x86;

EmitContext::EmitContext(ConstantPool& pool) : pool_(pool), errors_(*this) {
    code_.init(asmjit::Environment(asmjit::Arch::kX86));
    code_.setErrorHandler(&errors_);
    code_.attach(&assembler_);
    for (auto& label : service_labels_) label = assembler_.newLabel();
    for (auto& label : helper_labels_) label = assembler_.newLabel();
}

void EmitContext::Errors::handleError(asmjit::Error, const char* message, asmjit::BaseEmitter*) {
    owner_.fail(std::string("encoding failed: ") + message);
}

void EmitContext::fail(std::string message) {
    if (!error_) error_ = Error{std::move(message), "code", Error::kNoOffset};
}

bool EmitContext::last_operand_is(uint32_t value) {
    const auto& buffer = code_.textSection()->buffer();
    return buffer.size() >= 4 && load_u32le(buffer.data() + buffer.size() - 4) == value;
}

void EmitContext::relocate_last(RelocKind kind, uint32_t value) {
    if (!last_operand_is(value)) return fail("a relocated operand is not the last 4 bytes of its instruction");
    relocations_.push_back(Relocation{kind, offset() - 4});
}

void EmitContext::list_last(ReferenceList list, uint32_t value) {
    if (!last_operand_is(value)) return fail("a listed operand is not the last 4 bytes of its instruction");
    references_[static_cast<size_t>(list)].push_back(offset() - 4);
}

void EmitContext::push_relocated(uint32_t value, RelocKind kind) {
    assembler_.long_().push(asmjit::imm(value));
    relocate_last(kind, value);
}

void EmitContext::push_listed(uint32_t value, ReferenceList list) {
    assembler_.long_().push(asmjit::imm(value));
    list_last(list, value);
}

void EmitContext::mov_relocated(const x86::Gp& reg, uint32_t value, RelocKind kind) {
    assembler_.mov(reg, asmjit::imm(value));
    relocate_last(kind, value);
}

void EmitContext::mov_listed(const x86::Gp& reg, uint32_t value, ReferenceList list) {
    assembler_.mov(reg, asmjit::imm(value));
    list_last(list, value);
}

asmjit::Label EmitContext::service_label(uint32_t entry) {
    service_used_[abi::service::index(entry)] = true;
    return service_labels_[abi::service::index(entry)];
}

asmjit::Label EmitContext::helper_label(Helper helper) {
    helper_used_[static_cast<size_t>(helper)] = true;
    // Concatenation measures its parts and allocates the result.
    if (helper == Helper::Concatenate) {
        helper_used_[static_cast<size_t>(Helper::TextLength)] = true;
        service_label(abi::service::kAllocate);
    }
    return helper_labels_[static_cast<size_t>(helper)];
}

void EmitContext::call_service(uint32_t entry) { assembler_.call(service_label(entry)); }

void EmitContext::call_helper(Helper helper) { assembler_.call(helper_label(helper)); }

uint32_t EmitContext::text_constant(std::string_view utf8) {
    auto gbk = utf8_to_gbk(utf8);
    if (!gbk) {
        fail("the literal \"" + std::string(utf8) + "\" has a character that GBK cannot hold");
        return empty_text();
    }
    return pool_.add_text(*gbk);
}

Result<Bytes> EmitContext::take_code() {
    if (error_) return std::unexpected(*error_);
    if (code_.hasUnresolvedLinks()) return brindle::fail("a jump or call target was never placed", "code");
    const auto& buffer = code_.textSection()->buffer();
    return Bytes(buffer.data(), buffer.data() + buffer.size());
}

}  // namespace brindle::codegen
