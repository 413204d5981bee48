#include "codegen/program.h"

#include <algorithm>

#include "codegen/helpers.h"
#include "common/try.h"

namespace brindle::codegen {

namespace x86 = asmjit::x86;
using asmjit::imm;

Program::Program(ConstantPool& pool, uint32_t startup_window)
    : ctx_(std::make_unique<EmitContext>(pool)), startup_window_(startup_window) {}

Program::~Program() = default;

uint32_t Program::add_routine(std::string_view name, const std::function<void(Routine&)>& body,
                              uint32_t argument_count) {
    if (finished_ || in_routine_) {
        ctx_->fail("routine " + std::string(name) + ": added inside another routine or after the end");
        return 0;
    }
    in_routine_ = true;
    uint32_t offset = ctx_->offset();
    Routine routine(*ctx_, std::string(name), argument_count);
    if (body) body(routine);
    routine.end();
    in_routine_ = false;
    return offset;
}

IntVar Program::global_int() {
    IntVar v(Operand{Place::Global, static_cast<int32_t>(var_size_), 0});
    var_size_ += 4;
    return v;
}

Result<EmittedCode> Program::finish() {
    if (finished_) return fail("the code section is already finished", "code");
    finished_ = true;
    auto& a = ctx_->as();
    EmittedCode out;

    for (Helper h : {Helper::TextCompare, Helper::TextLength, Helper::Concatenate, Helper::FloatToInteger})
        if (ctx_->helper_used(h)) emit_helper(*ctx_, h);

    out.init_offset = ctx_->offset();
    auto init = a.newLabel();
    a.bind(init);
    a.ret();

    out.empty_routine_offset = ctx_->offset();
    a.ret();

    out.entry_offset = ctx_->offset();
    a.cld();
    a.fninit();
    a.call(init);
    a.mov(x86::eax, imm(static_cast<int32_t>(abi::kAcceptRoutineSelector)));
    ctx_->push_relocated(out.empty_routine_offset, RelocKind::Code);
    ctx_->call_service(abi::service::kAcceptRoutine);
    a.add(x86::esp, 4);
    ctx_->push_listed(startup_window_, ReferenceList::Identifiers);
    ctx_->call_service(abi::service::kShowWindow);
    a.add(x86::esp, 4);
    a.push(imm(0));
    ctx_->call_service(abi::service::kEventLoop);
    ctx_->call_service(abi::service::kEndProgram);  // with the 0 still pushed; does not return

    for (uint32_t entry = 0; entry < abi::service::kTableSize; entry += abi::service::kEntrySize) {
        if (!ctx_->service_used(entry)) continue;
        a.bind(ctx_->service_label(entry));
        a.jmp(x86::dword_ptr_abs(entry));
        ctx_->relocate_last(RelocKind::Service, entry);
    }

    BRINDLE_TRY(auto code, ctx_->take_code());
    out.code = std::move(code);
    out.relocations = ctx_->relocations();
    out.references = ctx_->references();
    for (auto& list : out.references) std::sort(list.begin(), list.end());
    out.var_size = var_size_;
    return out;
}

ImageParts image_parts(EmittedCode code, const ConstantPool& pool) {
    ImageParts parts;
    parts.const_data = pool.data();
    parts.code = std::move(code.code);
    parts.relocations = std::move(code.relocations);
    parts.reference_lists = std::move(code.references);
    parts.entry_offset = code.entry_offset;
    parts.var_size = code.var_size;
    return parts;
}

}  // namespace brindle::codegen
