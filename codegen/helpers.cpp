#include "codegen/helpers.h"

namespace brindle::codegen {
namespace {

namespace x86 = asmjit::x86;
using asmjit::imm;
using x86::eax, x86::ebx, x86::ecx, x86::edx, x86::esi, x86::edi, x86::ebp, x86::esp;

// Stack arguments a (nearest) and b; eax = -1, 0 or 1. A null text equals the empty text.
// Bytes compare as unsigned, so GBK lead bytes sort after ASCII. Keeps ebx, esi, edi; works in
// ecx and edx so that nothing is saved: every store is a slow path in the emulator.
void text_compare(EmitContext& ctx) {
    auto& a = ctx.as();
    auto equal = a.newLabel(), less = a.newLabel(), greater = a.newLabel(), done = a.newLabel();
    auto a_present = a.newLabel(), both = a.newLabel();
    a.mov(ecx, x86::dword_ptr(esp, 4));
    a.mov(edx, x86::dword_ptr(esp, 8));
    a.test(ecx, ecx);
    a.jnz(a_present);
    a.test(edx, edx);  // a null: equal when b is null or empty
    a.jz(equal);
    a.cmp(x86::byte_ptr(edx), 0);
    a.je(equal);
    a.jmp(less);
    a.bind(a_present);
    a.test(edx, edx);
    a.jnz(both);
    a.cmp(x86::byte_ptr(ecx), 0);  // b null: equal when a is empty
    a.je(equal);
    a.jmp(greater);
    a.bind(both);
    auto next = a.newLabel();
    a.bind(next);
    a.mov(x86::al, x86::byte_ptr(ecx));
    a.mov(x86::ah, x86::byte_ptr(edx));
    a.cmp(x86::al, x86::ah);
    a.jb(less);
    a.ja(greater);
    a.test(x86::al, x86::al);
    a.jz(equal);
    a.inc(ecx);
    a.inc(edx);
    a.jmp(next);
    a.bind(equal);
    a.xor_(eax, eax);
    a.jmp(done);
    a.bind(less);
    a.mov(eax, -1);
    a.jmp(done);
    a.bind(greater);
    a.mov(eax, 1);
    a.bind(done);
    a.ret();
}

// Text in ebx; eax = its byte length, 0 for null. Touches nothing else.
void text_length(EmitContext& ctx) {
    auto& a = ctx.as();
    auto done = a.newLabel(), next = a.newLabel();
    a.xor_(eax, eax);
    a.test(ebx, ebx);
    a.jz(done);
    a.bind(next);
    a.cmp(x86::byte_ptr(ebx, eax), 0);
    a.je(done);
    a.inc(eax);
    a.jmp(next);
    a.bind(done);
    a.ret();
}

// ecx = n parts (at least 1), the parts as stack arguments with the first nearest; eax = a new
// block holding them joined, null parts counting as empty. Keeps ebp only (routines hold nothing in
// other registers across a helper): in the emulator every guest store takes a slow path, so no
// register is saved and the parts are copied in 4-byte words, about half the cost of bytes.
void concatenate(EmitContext& ctx) {
    auto& a = ctx.as();
    auto sum_next = a.newLabel(), sum_done = a.newLabel(), copy_part = a.newLabel(), scan = a.newLabel(),
         scanned = a.newLabel(), copy_done = a.newLabel(), done = a.newLabel();
    a.lea(edi, x86::ptr(esp, 4));          // the first part's slot
    a.lea(edx, x86::ptr(esp, ecx, 2, 4));  // past the last
    a.mov(esi, 1);                         // the NUL
    a.bind(sum_next);
    a.cmp(edi, edx);
    a.jae(sum_done);
    a.mov(ebx, x86::dword_ptr(edi));
    a.call(ctx.helper_label(Helper::TextLength));
    a.add(esi, eax);
    a.add(edi, 4);
    a.jmp(sum_next);
    a.bind(sum_done);
    a.push(esi);
    ctx.call_service(abi::service::kAllocate);  // keeps ebx, esi, edi
    a.add(esp, 4);
    a.test(eax, eax);  // no block: hand back null, which reads as the empty text
    a.jz(done);
    a.push(eax);
    a.mov(edx, edi);                    // past the last slot
    a.lea(ebx, x86::ptr(esp, 8));       // the first slot, above the result and the return address
    a.mov(edi, eax);
    a.cld();  // routines never set it; one instruction makes sure
    a.bind(copy_part);
    a.cmp(ebx, edx);
    a.jae(copy_done);
    a.mov(esi, x86::dword_ptr(ebx));
    a.add(ebx, 4);
    a.test(esi, esi);
    a.jz(copy_part);
    a.mov(eax, esi);  // the length again: loads cost next to nothing, stores are what count
    a.bind(scan);
    a.cmp(x86::byte_ptr(eax), 0);
    a.je(scanned);
    a.inc(eax);
    a.jmp(scan);
    a.bind(scanned);
    a.sub(eax, esi);
    a.mov(ecx, eax);
    a.shr(ecx, 2);
    a.rep().movsd();
    a.mov(ecx, eax);
    a.and_(ecx, 3);
    a.rep().movsb();
    a.jmp(copy_part);
    a.bind(copy_done);
    a.mov(x86::byte_ptr(edi), 0);
    a.pop(eax);
    a.bind(done);
    a.ret();
}

// Pops the top of the floating-point stack as a 64-bit integer truncated toward zero into
// eax (low) and edx (high); the caller's rounding mode is restored.
void float_to_integer(EmitContext& ctx) {
    auto& a = ctx.as();
    a.sub(esp, 12);  // [esp] saved control word, [esp+2] chop control word, [esp+4] the integer
    a.fnstcw(x86::word_ptr(esp));
    a.movzx(eax, x86::word_ptr(esp));
    a.or_(eax, 0x0C00);  // rounding control 11: toward zero
    a.mov(x86::word_ptr(esp, 2), x86::ax);
    a.fldcw(x86::word_ptr(esp, 2));
    a.fistp(x86::qword_ptr(esp, 4));
    a.fldcw(x86::word_ptr(esp));
    a.mov(eax, x86::dword_ptr(esp, 4));
    a.mov(edx, x86::dword_ptr(esp, 8));
    a.add(esp, 12);
    a.ret();
}

}  // namespace

void emit_helper(EmitContext& ctx, Helper helper) {
    ctx.as().bind(ctx.helper_label(helper));
    switch (helper) {
    case Helper::TextCompare: return text_compare(ctx);
    case Helper::TextLength: return text_length(ctx);
    case Helper::Concatenate: return concatenate(ctx);
    case Helper::FloatToInteger: return float_to_integer(ctx);
    }
}

}  // namespace brindle::codegen
