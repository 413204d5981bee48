#include "codegen/frame.h"

namespace brindle::codegen {

namespace x86 = asmjit::x86;
using asmjit::imm;
using x86::eax, x86::ecx, x86::ebp, x86::esp;

namespace {
constexpr size_t kEnded = SIZE_MAX;  // the scope of a temporary whose branch has ended
}  // namespace

Frame::Frame(EmitContext& ctx, std::string name, uint32_t argument_count)
    : ctx_(ctx), name_(std::move(name)), argument_count_(argument_count), serial_(ctx.next_routine_serial()) {
    auto& a = ctx_.as();
    body_ = a.newLabel();
    initialisation_ = a.newLabel();
    epilogue_ = a.newLabel();
}

void Frame::fail(const std::string& message) { ctx_.fail("routine " + name_ + ": " + message); }

// ---- slots and variables ----

int32_t Frame::allocate(uint32_t bytes) {
    frame_size_ += bytes;
    return -static_cast<int32_t>(frame_size_);
}

int32_t Frame::declare(VarKind kind, uint32_t bytes, std::vector<FieldType> fields) {
    int32_t slot = allocate(bytes);
    variables_.push_back({kind, slot, std::move(fields)});
    return slot;
}

Operand Frame::scratch(uint32_t bytes) { return Operand{Place::Frame, allocate(bytes), 0, serial_}; }

TextVar Frame::text_var() {
    TextVar v;
    v.where = Operand{Place::Frame, declare(VarKind::Text, 4), 0, serial_};
    return v;
}

IntVar Frame::int_var() { return IntVar(Operand{Place::Frame, declare(VarKind::Int, 4), 0, serial_}); }

FloatVar Frame::float_var() {
    FloatVar v;
    v.where = Operand{Place::Frame, declare(VarKind::Float, 4), 0, serial_};
    return v;
}

Operand Frame::double_var() { return Operand{Place::Frame, declare(VarKind::Double, 8), 0, serial_}; }

RecordVar Frame::record_var(std::initializer_list<FieldType> fields) {
    if (fields.size() == 0) fail("a record has at least one field");
    RecordVar r;
    r.pointer_slot = declare(VarKind::Record, 4, std::vector<FieldType>(fields));
    r.variable = static_cast<int32_t>(variables_.size() - 1);
    r.owner = serial_;
    return r;
}

Operand Frame::field(const RecordVar& record, uint32_t index, FieldType type) {
    Operand op{Place::Field, record.pointer_slot, static_cast<int32_t>(index * 4), serial_};
    if (record.owner != serial_ || record.variable < 0 || static_cast<size_t>(record.variable) >= variables_.size() ||
        variables_[record.variable].kind != VarKind::Record ||
        variables_[record.variable].slot != record.pointer_slot) {
        fail("a record field of a record that this routine did not declare");
        return op;
    }
    const auto& fields = variables_[record.variable].fields;
    if (index >= fields.size() || fields[index] != type) fail("record field " + std::to_string(index) + " is not of that type");
    return op;
}

Int Frame::argument(uint32_t index) {
    if (index >= argument_count_) fail("argument " + std::to_string(index) + " is beyond the routine's arguments");
    return Int(Operand{Place::Frame, static_cast<int32_t>(8 + 4 * index), 0, serial_});
}

// ---- temporaries and scopes ----

Text Frame::temporary() {
    temporaries_.push_back(Temporary{allocate(4), depth_, false});
    return Text{Operand{Place::Frame, temporaries_.back().slot, 0, serial_}, static_cast<int32_t>(temporaries_.size() - 1)};
}

bool Frame::readable(const Text& t) {
    if (t.temp < 0) return mine(t.where);
    if (!mine(t.where)) return false;
    if (static_cast<size_t>(t.temp) >= temporaries_.size()) {
        fail("a text handle that belongs to another routine");
        return false;
    }
    const Temporary& temp = temporaries_[t.temp];
    if (temp.scope == kEnded) {
        fail("a text obtained in a branch is used after the branch ended; keep it in a text variable");
        return false;
    }
    if (temp.spent) {
        fail("a text handed to a variable is used again; use the variable");
        return false;
    }
    return true;
}

bool Frame::hand_over(const Text& t) {
    if (t.temp < 0 || !readable(t)) return false;
    Temporary& temp = temporaries_[t.temp];
    if (temp.scope != depth_) return false;
    temp.spent = true;
    return true;
}

void Frame::release_scope(size_t scope) {
    for (const Temporary& t : temporaries_)
        if (t.scope == scope && !t.spent) release_if_present(Operand{Place::Frame, t.slot, 0, serial_});
}

void Frame::open_scope() { ++depth_; }

void Frame::close_scope() {
    release_scope(depth_);
    // The branch's temporaries are gone: later uses are faults, and an outer release must not see them.
    for (Temporary& t : temporaries_)
        if (t.scope == depth_) t.scope = kEnded;
    --depth_;
}

// ---- code ----

void Frame::begin() {
    if (begun_) return;
    begun_ = true;
    auto& a = ctx_.as();
    a.push(ebp);
    a.mov(ebp, esp);
    a.long_().sub(esp, imm(0));  // the frame's size is known at the end
    frame_size_at_ = ctx_.offset() - 4;
    a.jmp(initialisation_);
    a.bind(body_);
}

void Frame::return_from_here() {
    for (size_t scope = depth_ + 1; scope-- > 0;) release_scope(scope);
    ctx_.as().jmp(epilogue_);
}

void Frame::end() {
    begin();
    release_scope(0);
    auto& a = ctx_.as();
    a.bind(epilogue_);
    for (const auto& v : variables_) {
        if (v.kind == VarKind::Text) release_if_present(Operand{Place::Frame, v.slot, 0, serial_});
        if (v.kind != VarKind::Record) continue;
        auto skip = a.newLabel();
        a.mov(eax, x86::dword_ptr(ebp, v.slot));
        a.test(eax, eax);
        a.jz(skip);
        for (size_t i = 0; i < v.fields.size(); ++i)
            if (v.fields[i] == FieldType::Text)
                release_if_present(Operand{Place::Field, v.slot, static_cast<int32_t>(i * 4), serial_});
        release_if_present(Operand{Place::Frame, v.slot, 0, serial_});
        a.bind(skip);
    }
    a.mov(esp, ebp);
    a.pop(ebp);
    if (argument_count_ > 0)
        a.ret(imm(static_cast<int32_t>(argument_count_ * 4)));
    else
        a.ret();
    emit_initialisation();
    store_u32le(ctx_.data() + frame_size_at_, frame_size_);
}

// Zeroes every variable and allocates the records, then enters the body.
void Frame::emit_initialisation() {
    auto& a = ctx_.as();
    a.bind(initialisation_);
    a.xor_(eax, eax);
    for (const auto& v : variables_) {
        if (v.kind == VarKind::Record) continue;
        a.mov(x86::dword_ptr(ebp, v.slot), eax);
        if (v.kind == VarKind::Double) a.mov(x86::dword_ptr(ebp, v.slot + 4), eax);
    }
    for (const auto& v : variables_) {
        if (v.kind != VarKind::Record) continue;
        auto skip = a.newLabel();
        a.push(imm(static_cast<int32_t>(v.fields.size() * 4)));
        ctx_.call_service(abi::service::kAllocate);
        a.add(esp, 4);
        a.mov(x86::dword_ptr(ebp, v.slot), eax);
        a.test(eax, eax);
        a.jz(skip);
        for (size_t i = 0; i < v.fields.size(); ++i) a.mov(x86::dword_ptr(eax, static_cast<int32_t>(i * 4)), 0);
        a.bind(skip);
    }
    a.jmp(body_);
}

bool Frame::mine(const Operand& where) {
    if ((where.place != Place::Frame && where.place != Place::Field) || where.owner == serial_) return true;
    fail("a value of another routine is used here");
    return false;
}

void Frame::load(const x86::Gp& reg, const Operand& where) {
    if (!mine(where)) return;
    auto& a = ctx_.as();
    switch (where.place) {
    case Place::Immediate: a.mov(reg, imm(where.value)); return;
    case Place::Frame: a.mov(reg, x86::dword_ptr(ebp, where.value)); return;
    case Place::Field:
        a.mov(reg, x86::dword_ptr(ebp, where.value));
        a.mov(reg, x86::dword_ptr(reg, where.field));
        return;
    case Place::Global:
        a.mov(reg, x86::dword_ptr_abs(static_cast<uint32_t>(where.value)));
        ctx_.relocate_last(RelocKind::Var, static_cast<uint32_t>(where.value));
        return;
    case Place::Constant: ctx_.mov_relocated(reg, static_cast<uint32_t>(where.value), RelocKind::Const); return;
    }
}

void Frame::store(const Operand& where, const x86::Gp& reg) {
    if (!mine(where)) return;
    auto& a = ctx_.as();
    switch (where.place) {
    case Place::Frame: a.mov(x86::dword_ptr(ebp, where.value), reg); return;
    case Place::Field:
        a.mov(ecx, x86::dword_ptr(ebp, where.value));
        a.mov(x86::dword_ptr(ecx, where.field), reg);
        return;
    case Place::Global:
        a.mov(x86::dword_ptr_abs(static_cast<uint32_t>(where.value)), reg);
        ctx_.relocate_last(RelocKind::Var, static_cast<uint32_t>(where.value));
        return;
    case Place::Immediate:
    case Place::Constant: fail("a store into a value that is not a variable"); return;
    }
}

void Frame::push(const Operand& where) {
    if (!mine(where)) return;
    auto& a = ctx_.as();
    switch (where.place) {
    case Place::Immediate: a.push(imm(where.value)); return;
    case Place::Frame: a.push(x86::dword_ptr(ebp, where.value)); return;
    case Place::Constant: ctx_.push_relocated(static_cast<uint32_t>(where.value), RelocKind::Const); return;
    case Place::Global:
        a.push(x86::dword_ptr_abs(static_cast<uint32_t>(where.value)));
        ctx_.relocate_last(RelocKind::Var, static_cast<uint32_t>(where.value));
        return;
    case Place::Field:
        load(eax, where);
        a.push(eax);
        return;
    }
}

void Frame::release_if_present(const Operand& where) {
    auto& a = ctx_.as();
    auto skip = a.newLabel();
    load(eax, where);
    a.test(eax, eax);
    a.jz(skip);
    a.push(eax);
    ctx_.call_service(abi::service::kRelease);
    a.add(esp, 4);
    a.bind(skip);
}

}  // namespace brindle::codegen
