#pragma once
// The state shared while the code section is emitted: the assembler over one buffer, the constant
// pool, relocation records, reference lists, the labels of thunks and helpers, and the first error.
// Internal to codegen, which alone sees asmjit; routines are written through program.h and routine.h.
#include <asmjit/x86.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "image/constant_pool.h"
#include "image/kernel_abi.h"
#include "image/image_writer.h"
#include "image/relocation.h"

namespace brindle::codegen {

// The image format's pieces that emitted code fills in.
using image::ConstantPool;
using image::ImageParts;
using image::ReferenceList;
using image::ReferenceLists;
using image::RelocKind;
using image::Relocation;

enum class Helper : uint8_t { TextCompare, TextLength, Concatenate, FloatToInteger };
inline constexpr size_t kHelperCount = 4;

class EmitContext {
public:
    explicit EmitContext(ConstantPool& pool);
    EmitContext(const EmitContext&) = delete;
    EmitContext& operator=(const EmitContext&) = delete;

    asmjit::x86::Assembler& as() { return assembler_; }
    ConstantPool& pool() { return pool_; }
    uint32_t offset() const { return static_cast<uint32_t>(assembler_.offset()); }
    uint8_t* data() { return code_.textSection()->buffer().data(); }

    // Instructions whose last four bytes are an operand that is relocated or listed. Each is encoded
    // in its long form and checked to end in that operand.
    void push_relocated(uint32_t value, RelocKind kind);
    void push_listed(uint32_t value, ReferenceList list);
    void mov_relocated(const asmjit::x86::Gp& reg, uint32_t value, RelocKind kind);
    void mov_listed(const asmjit::x86::Gp& reg, uint32_t value, ReferenceList list);
    // Records the operand that ends the instruction just emitted.
    void relocate_last(RelocKind kind, uint32_t value);
    void list_last(ReferenceList list, uint32_t value);

    void call_service(uint32_t entry);
    void call_helper(Helper helper);
    asmjit::Label service_label(uint32_t entry);
    asmjit::Label helper_label(Helper helper);
    bool service_used(uint32_t entry) const { return service_used_[abi::service::index(entry)]; }
    bool helper_used(Helper helper) const { return helper_used_[static_cast<size_t>(helper)]; }

    // Constant offsets. A literal that GBK cannot hold is an error; the empty text stands in for it.
    uint32_t text_constant(std::string_view utf8);
    uint32_t gbk_constant(std::string_view gbk) { return pool_.add_text(gbk); }
    uint32_t empty_text() { return pool_.add_text(""); }

    uint32_t next_routine_serial() { return ++routine_serials_; }

    void fail(std::string message);
    const std::optional<Error>& error() const { return error_; }

    std::vector<Relocation>& relocations() { return relocations_; }
    ReferenceLists& references() { return references_; }
    // The finished bytes; fails when a label is still unbound.
    Result<Bytes> take_code();

private:
    class Errors : public asmjit::ErrorHandler {
    public:
        explicit Errors(EmitContext& owner) : owner_(owner) {}
        void handleError(asmjit::Error, const char* message, asmjit::BaseEmitter*) override;

    private:
        EmitContext& owner_;
    };
    bool last_operand_is(uint32_t value);

    ConstantPool& pool_;
    Errors errors_;
    asmjit::CodeHolder code_;
    asmjit::x86::Assembler assembler_;
    std::vector<Relocation> relocations_;
    ReferenceLists references_;
    std::array<asmjit::Label, abi::service::kEntryCount> service_labels_;
    std::array<bool, abi::service::kEntryCount> service_used_{};
    std::array<asmjit::Label, kHelperCount> helper_labels_;
    std::array<bool, kHelperCount> helper_used_{};
    std::optional<Error> error_;
    uint32_t routine_serials_ = 0;
};

}  // namespace brindle::codegen
