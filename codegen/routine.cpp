// A routine's frame, variables, operands, text ownership, stores and branches.
#include "codegen/routine.h"

#include <algorithm>

namespace brindle::codegen {

namespace x86 = asmjit::x86;
using asmjit::imm;
using x86::eax, x86::ebx, x86::ecx, x86::edx, x86::ebp, x86::esp;

namespace {

bool same_place(const Operand& a, const Operand& b) {
    return a.place == b.place && a.value == b.value && a.field == b.field;
}

int32_t as_imm(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

Routine::Routine(EmitContext& ctx, std::string name, uint32_t argument_count)
    : ctx_(ctx), name_(std::move(name)), argument_count_(argument_count), serial_(ctx.next_routine_serial()) {
    epilogue_ = ctx_.as().newLabel();
}

void Routine::fail(const std::string& message) { ctx_.fail("routine " + name_ + ": " + message); }

// ---- frame and variables ----

int32_t Routine::allocate(uint32_t bytes) {
    frame_size_ += bytes;
    return -static_cast<int32_t>(frame_size_);
}

Operand Routine::new_slot(uint32_t bytes) { return Operand{Place::Frame, allocate(bytes), 0, serial_}; }

Text Routine::new_text_temp() {
    temps_.push_back(Temp{true, depth_});
    return Text{new_slot(4), static_cast<int32_t>(temps_.size() - 1)};
}

bool Routine::declaring() {
    if (!body_started_) return true;
    fail("variables are declared before the first operation");
    return false;
}

TextVar Routine::text_var() {
    TextVar v;
    v.where = new_slot(4);
    if (declaring()) variables_.push_back({VarKind::Text, v.where.value, {}});
    return v;
}

IntVar Routine::int_var() {
    IntVar v(new_slot(4));
    if (declaring()) variables_.push_back({VarKind::Int, v.where.value, {}});
    return v;
}

FloatVar Routine::float_var() {
    FloatVar v;
    v.where = new_slot(4);
    if (declaring()) variables_.push_back({VarKind::Float, v.where.value, {}});
    return v;
}

DoubleVar Routine::double_var() {
    DoubleVar v;
    v.routine = this;
    v.where = new_slot(8);
    if (declaring()) variables_.push_back({VarKind::Double, v.where.value, {}});
    return v;
}

RecordVar Routine::record_var(std::initializer_list<FieldType> fields) {
    RecordVar r;
    r.pointer_slot = allocate(4);
    r.owner = serial_;
    if (fields.size() == 0) fail("a record has at least one field");
    if (declaring()) {
        r.variable = static_cast<int32_t>(variables_.size());
        variables_.push_back({VarKind::Record, r.pointer_slot, std::vector<FieldType>(fields)});
    }
    return r;
}

Operand Routine::field_operand(const RecordVar& record, uint32_t index, FieldType type) {
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

TextVar Routine::text_field(const RecordVar& record, uint32_t index) {
    TextVar v;
    v.where = field_operand(record, index, FieldType::Text);
    return v;
}

IntVar Routine::int_field(const RecordVar& record, uint32_t index) {
    return IntVar(field_operand(record, index, FieldType::Int));
}

FloatVar Routine::float_field(const RecordVar& record, uint32_t index) {
    FloatVar v;
    v.where = field_operand(record, index, FieldType::Float);
    return v;
}

Int Routine::argument(uint32_t index) {
    if (index >= argument_count_) fail("argument " + std::to_string(index) + " is beyond the routine's arguments");
    return Int(Operand{Place::Frame, static_cast<int32_t>(8 + 4 * index), 0, serial_});
}

// The frame, the zeroed variables and the allocated records, emitted before the first operation.
void Routine::body() {
    if (body_started_) return;
    body_started_ = true;
    auto& a = ctx_.as();
    a.push(ebp);
    a.mov(ebp, esp);
    a.long_().sub(esp, imm(0));  // the frame's size is known at the end
    frame_size_at_ = ctx_.offset() - 4;
    a.xor_(eax, eax);
    for (const auto& v : variables_) {
        if (v.kind == VarKind::Record) continue;
        a.mov(x86::dword_ptr(ebp, v.slot), eax);
        if (v.kind == VarKind::Double) a.mov(x86::dword_ptr(ebp, v.slot + 4), eax);
    }
    for (const auto& v : variables_) {
        if (v.kind != VarKind::Record) continue;
        auto skip = a.newLabel();
        a.push(imm(as_imm(static_cast<uint32_t>(v.fields.size() * 4))));
        ctx_.call_service(abi::service::kAllocate);
        a.add(esp, 4);
        a.mov(x86::dword_ptr(ebp, v.slot), eax);
        a.test(eax, eax);
        a.jz(skip);
        for (size_t i = 0; i < v.fields.size(); ++i) a.mov(x86::dword_ptr(eax, static_cast<int32_t>(i * 4)), 0);
        a.bind(skip);
    }
}

void Routine::end() {
    body();
    auto& a = ctx_.as();
    if (std::any_of(temps_.begin(), temps_.end(), [](const Temp& t) { return t.live; }))
        fail("a text obtained here is never used, so it would never be released");
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
        a.ret(imm(as_imm(argument_count_ * 4)));
    else
        a.ret();
    store_u32le(ctx_.data() + frame_size_at_, frame_size_);
}

// ---- operands ----

bool Routine::mine(const Operand& where) {
    if ((where.place != Place::Frame && where.place != Place::Field) || where.owner == serial_) return true;
    fail("a value of another routine is used here");
    return false;
}

void Routine::load(const x86::Gp& reg, const Operand& where) {
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

// `reg` must not be ecx, which addresses a record field.
void Routine::store(const Operand& where, const x86::Gp& reg) {
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

void Routine::push_value(const Operand& where) {
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

// ---- text ownership ----

Text Routine::text(std::string_view utf8) {
    return Text{Operand{Place::Constant, static_cast<int32_t>(ctx_.text_constant(utf8)), 0}, -1};
}

Text Routine::materialize(const TextArg& t, std::vector<Text>& taken) {
    if (!t.text) return text(t.literal);
    if (take(*t.text)) taken.push_back(*t.text);
    return *t.text;
}

bool Routine::take(const Text& t) {
    if (t.temp < 0) return false;
    if (!mine(t.where)) return false;
    if (static_cast<size_t>(t.temp) >= temps_.size()) {
        fail("a text handle that belongs to another routine");
        return false;
    }
    Temp& temp = temps_[t.temp];
    if (!temp.live) {
        fail("a temporary text is used after it was released; keep a text needed twice in a TextVar");
        return false;
    }
    if (temp.depth != depth_) {
        fail("a temporary text made outside a branch is used inside it; keep it in a TextVar");
        return false;
    }
    temp.live = false;
    return true;
}

void Routine::release_if_present(const Operand& where) {
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

void Routine::release_taken(const std::vector<Text>& taken) {
    for (const auto& t : taken) release_if_present(t.where);
}

// ---- stores ----

void Routine::set(const TextVar& var, const TextArg& value) {
    body();
    std::vector<Text> taken;
    Text source = materialize(value, taken);
    Operand fresh = source.where;
    if (source.temp < 0 && source.where.place != Place::Constant) {
        if (same_place(source.where, var.where)) return;
        // Another variable's text: the variable gets a copy of its own, so each is released once.
        Text copy = concat({TextArg(source)});
        take(copy);
        fresh = copy.where;
    } else if (source.temp >= 0 && taken.empty()) {
        return;  // a temporary that could not be taken; the fault is recorded
    }
    release_if_present(var.where);
    load(eax, fresh);
    store(var.where, eax);
}

void Routine::set(const IntVar& var, const Int& value) {
    body();
    load(eax, value.where);
    store(var.where, eax);
}

void Routine::set(const FloatVar& var, const Float& value) {
    body();
    load(eax, value.where);
    store(var.where, eax);
}

void Routine::set(const DoubleVar& var, const Double& value) {
    body();
    if (var.where.place != Place::Frame || value.where.place != Place::Frame) return fail("a double that is not in the frame");
    if (!mine(var.where) || !mine(value.where)) return;
    auto& a = ctx_.as();
    a.mov(eax, x86::dword_ptr(ebp, value.where.value));
    a.mov(edx, x86::dword_ptr(ebp, value.where.value + 4));
    a.mov(x86::dword_ptr(ebp, var.where.value), eax);
    a.mov(x86::dword_ptr(ebp, var.where.value + 4), edx);
}

// ---- control flow ----

void Routine::jump_if(const CondNode& cond, bool sense, asmjit::Label target) {
    auto& a = ctx_.as();
    switch (cond.op) {
    case CondNode::Op::Compare: {
        load(eax, cond.lhs);
        if (cond.rhs.place == Place::Immediate) {
            a.cmp(eax, imm(cond.rhs.value));
        } else if (cond.rhs.place == Place::Frame && mine(cond.rhs)) {
            a.cmp(eax, x86::dword_ptr(ebp, cond.rhs.value));
        } else {
            load(ecx, cond.rhs);
            a.cmp(eax, ecx);
        }
        static constexpr Comparison kOpposite[] = {Comparison::Ne, Comparison::Eq, Comparison::Ge,
                                                   Comparison::Gt, Comparison::Le, Comparison::Lt};
        Comparison c = sense ? cond.comparison : kOpposite[static_cast<size_t>(cond.comparison)];
        switch (c) {
        case Comparison::Eq: a.je(target); break;
        case Comparison::Ne: a.jne(target); break;
        case Comparison::Lt: a.jl(target); break;
        case Comparison::Le: a.jle(target); break;
        case Comparison::Gt: a.jg(target); break;
        case Comparison::Ge: a.jge(target); break;
        }
        return;
    }
    case CondNode::Op::Not: return jump_if(*cond.a.node, !sense, target);
    case CondNode::Op::And:
    case CondNode::Op::Or: {
        // Jump when the whole is `sense`: for And-true / Or-false both halves must agree.
        bool both_needed = (cond.op == CondNode::Op::And) == sense;
        if (!both_needed) {
            jump_if(*cond.a.node, sense, target);
            jump_if(*cond.b.node, sense, target);
            return;
        }
        auto skip = a.newLabel();
        jump_if(*cond.a.node, !sense, skip);
        jump_if(*cond.b.node, sense, target);
        a.bind(skip);
        return;
    }
    }
}

void Routine::close_branch() {
    for (auto& t : temps_) {
        if (t.live && t.depth == depth_) {
            fail("a text obtained in a branch is never used there, so it would never be released");
            t.live = false;
        }
    }
    --depth_;
}

void Routine::if_(const Cond& cond, const std::function<void()>& then, const std::function<void()>& otherwise) {
    body();
    if (!cond.node) return fail("a branch without a condition");
    auto& a = ctx_.as();
    auto skip_then = a.newLabel();
    jump_if(*cond.node, false, skip_then);
    ++depth_;
    if (then) then();
    close_branch();
    if (!otherwise) {
        a.bind(skip_then);
        return;
    }
    auto done = a.newLabel();
    a.jmp(done);
    a.bind(skip_then);
    ++depth_;
    otherwise();
    close_branch();
    a.bind(done);
}

void Routine::return_() {
    body();
    if (std::any_of(temps_.begin(), temps_.end(), [](const Temp& t) { return t.live; }))
        fail("a return leaves a text obtained here unreleased");
    ctx_.as().jmp(epilogue_);
}

}  // namespace brindle::codegen
