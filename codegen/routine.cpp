// A routine's operations: properties, texts, commands, conversions, stores and branches.
#include "codegen/routine.h"

#include "codegen/context.h"
#include "codegen/frame.h"

namespace brindle::codegen {

namespace x86 = asmjit::x86;
using asmjit::imm;
using x86::eax, x86::ebx, x86::ecx, x86::edx, x86::ebp, x86::esp;

namespace {

bool same_place(const Operand& a, const Operand& b) {
    return a.place == b.place && a.value == b.value && a.field == b.field;
}

int32_t as_imm(uint32_t v) { return static_cast<int32_t>(v); }

// Jumps to `target` when `cond` comes out as `sense`.
void jump_if(EmitContext& ctx, Frame& frame, const CondNode& cond, bool sense, asmjit::Label target) {
    auto& a = ctx.as();
    switch (cond.op) {
        case CondNode::Op::Compare: {
            frame.load(eax, cond.lhs);
            if (cond.rhs.place == Place::Immediate) {
                a.cmp(eax, imm(cond.rhs.value));
            } else if (cond.rhs.place == Place::Frame && frame.mine(cond.rhs)) {
                a.cmp(eax, x86::dword_ptr(ebp, cond.rhs.value));
            } else {
                frame.load(ecx, cond.rhs);
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
        case CondNode::Op::Not: return jump_if(ctx, frame, *cond.a.node, !sense, target);
        case CondNode::Op::And:
        case CondNode::Op::Or: {
            // Jump when the whole is `sense`: for And-true / Or-false both halves must agree.
            bool both_needed = (cond.op == CondNode::Op::And) == sense;
            if (!both_needed) {
                jump_if(ctx, frame, *cond.a.node, sense, target);
                jump_if(ctx, frame, *cond.b.node, sense, target);
                return;
            }
            auto skip = a.newLabel();
            jump_if(ctx, frame, *cond.a.node, !sense, skip);
            jump_if(ctx, frame, *cond.b.node, sense, target);
            a.bind(skip);
            return;
        }
    }
}

}  // namespace

Routine::Routine(EmitContext& ctx, std::string name, uint32_t argument_count)
    : ctx_(ctx), frame_(std::make_unique<Frame>(ctx, std::move(name), argument_count)) {}

Routine::~Routine() = default;

void Routine::end() { frame_->end(); }

void Routine::fail(const std::string& message) { frame_->fail(message); }

// ---- variables ----

TextVar Routine::text_var() { return frame_->text_var(); }
IntVar Routine::int_var() { return frame_->int_var(); }
FloatVar Routine::float_var() { return frame_->float_var(); }
DoubleVar Routine::double_var() {
    DoubleVar v;
    v.routine = this;
    v.where = frame_->double_var();
    return v;
}
RecordVar Routine::record_var(std::initializer_list<FieldType> fields) { return frame_->record_var(fields); }

TextVar Routine::text_field(const RecordVar& record, uint32_t index) {
    TextVar v;
    v.where = frame_->field(record, index, FieldType::Text);
    return v;
}

IntVar Routine::int_field(const RecordVar& record, uint32_t index) {
    return IntVar(frame_->field(record, index, FieldType::Int));
}

FloatVar Routine::float_field(const RecordVar& record, uint32_t index) {
    FloatVar v;
    v.where = frame_->field(record, index, FieldType::Float);
    return v;
}

Int Routine::argument(uint32_t index) { return frame_->argument(index); }

// ---- texts as operands ----

Text Routine::text(std::string_view utf8) {
    return Text{Operand{Place::Constant, static_cast<int32_t>(ctx_.text_constant(utf8)), 0}, -1};
}

Text Routine::materialize(const TextArg& t) {
    if (!t.text) return text(t.literal);
    frame_->readable(*t.text);
    return *t.text;
}

Int Routine::int_result() {
    Int result(frame_->scratch(4));
    frame_->store(result.where, eax);
    return result;
}

Text Routine::text_result() {
    Text t = frame_->temporary();
    frame_->store(t.where, eax);
    return t;
}

// ---- properties ----

// Leaves the property's value in eax.
void Routine::read_property(Control control, uint32_t property) {
    frame_->begin();
    auto& a = ctx_.as();
    a.push(imm(-1));
    a.push(imm(as_imm(property)));
    ctx_.push_listed(control.element_id, ReferenceList::Identifiers);
    ctx_.push_listed(control.window_id, ReferenceList::Identifiers);
    ctx_.call_service(abi::service::kReadProperty);
    a.add(esp, 16);
}

Int Routine::read_int(Control control, uint32_t property) {
    read_property(control, property);
    return int_result();
}

Text Routine::read_text(Control control) {
    read_property(control, abi::property::kText);
    return text_result();
}

Int Routine::read_selection(Control control) { return read_int(control, abi::property::kSelection); }
Int Routine::read_checked(Control control) { return read_int(control, abi::property::kChecked); }

void Routine::write_property(Control control, uint32_t property, const Operand& value) {
    frame_->begin();
    auto& a = ctx_.as();
    a.push(imm(0));
    frame_->push(value);
    a.push(imm(-1));
    a.push(imm(as_imm(property)));
    ctx_.push_listed(control.element_id, ReferenceList::Identifiers);
    ctx_.push_listed(control.window_id, ReferenceList::Identifiers);
    ctx_.call_service(abi::service::kWriteProperty);
    a.add(esp, 24);
}

void Routine::write_text(Control control, const TextArg& value) {
    frame_->begin();
    write_property(control, abi::property::kText, materialize(value).where);
}

void Routine::write_int(Control control, uint32_t property, const Int& value) {
    write_property(control, property, value.where);
}

void Routine::set_visible(Control window_element, bool visible) {
    write_int(window_element, abi::property::kVisible, visible ? 1 : 0);
}

// ---- texts ----

Text Routine::concat(std::initializer_list<TextArg> parts) { return concat(std::span<const TextArg>(parts.begin(), parts.size())); }

Text Routine::concat(std::span<const TextArg> parts) {
    frame_->begin();
    if (parts.empty()) {
        fail("a concatenation has at least one part");
        return text("");
    }
    auto& a = ctx_.as();
    for (size_t i = parts.size(); i-- > 0;) frame_->push(materialize(parts[i]).where);
    a.mov(ecx, imm(as_imm(static_cast<uint32_t>(parts.size()))));
    ctx_.call_helper(Helper::Concatenate);
    a.add(esp, imm(as_imm(static_cast<uint32_t>(parts.size() * 4))));
    return text_result();
}

Int Routine::compare(const TextArg& first, const TextArg& second) {
    frame_->begin();
    auto& a = ctx_.as();
    frame_->push(materialize(second).where);
    frame_->push(materialize(first).where);
    ctx_.call_helper(Helper::TextCompare);
    a.add(esp, 8);
    return int_result();
}

Cond Routine::is_empty(const TextArg& t) { return compare(t, "") == 0; }
Cond Routine::not_empty(const TextArg& t) { return compare(t, "") != 0; }

// ---- commands ----

void Routine::push_text_for_command(const Text& t) {
    if (t.where.place == Place::Constant) return frame_->push(t.where);
    auto& a = ctx_.as();
    auto present = a.newLabel();
    frame_->load(eax, t.where);
    a.test(eax, eax);
    a.jnz(present);
    ctx_.mov_relocated(eax, ctx_.empty_text(), RelocKind::Const);
    a.bind(present);
    a.push(eax);
}

void Routine::push_arg(const Arg& arg) {
    auto& a = ctx_.as();
    auto tag = [&](uint32_t t) { a.push(imm(as_imm(t))); };
    switch (arg.kind) {
    case Arg::Kind::Text:
        tag(abi::tag::kText);
        a.push(imm(0));
        push_text_for_command(materialize(arg.text));
        return;
    case Arg::Kind::Integer:
        tag(abi::tag::kInteger);
        a.push(imm(0));
        frame_->push(arg.value);
        return;
    case Arg::Kind::Float:
        tag(abi::tag::kFloat);
        a.push(imm(0));
        frame_->push(arg.value);
        return;
    case Arg::Kind::Double:
        tag(abi::tag::kDouble);
        if (arg.value.place != Place::Frame) return fail("a double argument that is not in the frame");
        if (!frame_->mine(arg.value)) return;
        a.push(x86::dword_ptr(ebp, arg.value.value + 4));
        a.push(x86::dword_ptr(ebp, arg.value.value));
        return;
    case Arg::Kind::Bytes:
        tag(abi::tag::kBytes);
        a.push(imm(0));
        ctx_.push_relocated(ctx_.pool().add_bytes(arg.block), RelocKind::Const);
        return;
    case Arg::Kind::Window:
        ctx_.push_listed(abi::tag::kWindowRef, ReferenceList::KindCodes);
        ctx_.push_listed(arg.control.element_id, ReferenceList::Identifiers);
        ctx_.push_listed(arg.control.window_id, ReferenceList::Identifiers);
        return;
    case Arg::Kind::Menu:
        ctx_.push_listed(abi::tag::kMenuRef, ReferenceList::KindCodes);
        ctx_.push_listed(arg.menu.menu_id, ReferenceList::Identifiers);
        ctx_.push_listed(arg.menu.window_id, ReferenceList::Identifiers);
        return;
    case Arg::Kind::Omitted:
        a.push(imm(0));
        a.push(imm(0));
        a.push(imm(0));
        return;
    }
}

// Leaves the command's result in eax (edx its high half).
void Routine::run_command(std::optional<uint32_t> library, uint32_t number, std::span<const Arg> args) {
    frame_->begin();
    auto& a = ctx_.as();
    for (size_t i = args.size(); i-- > 0;) push_arg(args[i]);
    a.push(imm(as_imm(static_cast<uint32_t>(args.size()))));
    a.mov(ebx, imm(as_imm(number)));
    if (library) ctx_.mov_listed(eax, *library, ReferenceList::LibraryNumbers);
    ctx_.call_service(library ? abi::service::kExtensionCommand : abi::service::kKernelCommand);
    a.add(esp, imm(as_imm(static_cast<uint32_t>(4 * (1 + 3 * args.size())))));
}

void Routine::command(uint32_t number, std::initializer_list<Arg> args) {
    run_command(std::nullopt, number, std::span(args.begin(), args.size()));
}

Int Routine::command_int(uint32_t number, std::initializer_list<Arg> args) {
    run_command(std::nullopt, number, std::span(args.begin(), args.size()));
    return int_result();
}

Text Routine::command_text(uint32_t number, std::initializer_list<Arg> args) {
    run_command(std::nullopt, number, std::span(args.begin(), args.size()));
    return text_result();
}

Double Routine::command_double(uint32_t number, std::initializer_list<Arg> args) {
    run_command(std::nullopt, number, std::span(args.begin(), args.size()));
    Double result{this, frame_->scratch(8)};
    auto& a = ctx_.as();
    a.mov(x86::dword_ptr(ebp, result.where.value), eax);
    a.mov(x86::dword_ptr(ebp, result.where.value + 4), edx);
    return result;
}

void Routine::extension_command(uint32_t library, uint32_t number, std::initializer_list<Arg> args) {
    run_command(library, number, std::span(args.begin(), args.size()));
}

void Routine::message_box(const TextArg& message, int32_t style, std::optional<TextArg> title) {
    command(abi::command::kMessageBox, {Arg(message), Arg(style), title ? Arg(*title) : Arg::omitted()});
}

void Routine::set_clipboard(const TextArg& t) { command(abi::command::kSetClipboardText, {Arg(t)}); }

void Routine::close_window(Control window) { command(abi::command::kCloseWindow, {Arg::window(window), Arg::omitted()}); }

void Routine::place_tray_icon(Control window, ByteView icon_file, const TextArg& tooltip) {
    command(abi::command::kPlaceTrayIcon, {Arg::window(window), Arg::bytes(icon_file), Arg(tooltip)});
}

void Routine::pop_up_menu(Control window, MenuRef menu) {
    command(abi::command::kPopUpMenu, {Arg::window(window), Arg(menu)});
}

void Routine::open_web_address(const TextArg& address) {
    extension_command(abi::kBrowserLibrary, abi::kOpenWebAddress, {Arg(address)});
}

// ---- conversions ----

Double Routine::to_number(const TextArg& t) { return command_double(abi::command::kToNumber, {Arg(t)}); }
Double Routine::to_number(const Double& d) { return command_double(abi::command::kToNumber, {Arg(d)}); }
Text Routine::to_text(const TextArg& t) { return command_text(abi::command::kToText, {Arg(t)}); }
Text Routine::to_text(const Int& i) { return command_text(abi::command::kToText, {Arg(i)}); }
Text Routine::to_text(const Float& f) { return command_text(abi::command::kToText, {Arg(f)}); }
Text Routine::to_text(const Double& d) { return command_text(abi::command::kToText, {Arg(d)}); }
Int Routine::to_int(const TextArg& t) { return command_int(abi::command::kToInteger, {Arg(t)}); }
Int Routine::to_int(const Int& i) { return command_int(abi::command::kToInteger, {Arg(i)}); }

void Routine::fld(const Operand& where, bool is_double) {
    if (!frame_->mine(where)) return;
    auto& a = ctx_.as();
    if (where.place == Place::Frame) {
        a.fld(is_double ? x86::qword_ptr(ebp, where.value) : x86::dword_ptr(ebp, where.value));
    } else if (where.place == Place::Field && !is_double) {
        a.mov(eax, x86::dword_ptr(ebp, where.value));
        a.fld(x86::dword_ptr(eax, where.field));
    } else {
        fail("a floating-point value that is neither in the frame nor a record's float field");
    }
}

Double Routine::multiply(const Double& d, double factor) {
    frame_->begin();
    auto& a = ctx_.as();
    fld(d.where, true);
    uint32_t constant = ctx_.pool().add_double(factor);
    a.fmul(x86::qword_ptr_abs(constant));
    ctx_.relocate_last(RelocKind::Const, constant);
    Double product{this, frame_->scratch(8)};
    a.fstp(x86::qword_ptr(ebp, product.where.value));
    return product;
}

Float Routine::narrow(const Double& d) {
    frame_->begin();
    fld(d.where, true);
    Float f{frame_->scratch(4)};
    ctx_.as().fstp(x86::dword_ptr(ebp, f.where.value));
    return f;
}

Double Routine::widen(const Float& f) {
    frame_->begin();
    fld(f.where, false);
    Double d{this, frame_->scratch(8)};
    ctx_.as().fstp(x86::qword_ptr(ebp, d.where.value));
    return d;
}

Int Routine::truncate(const Double& d) { return truncate(d.where, true); }
Int Routine::truncate(const Float& f) { return truncate(f.where, false); }

Int Routine::truncate(const Operand& where, bool is_double) {
    frame_->begin();
    fld(where, is_double);
    ctx_.call_helper(Helper::FloatToInteger);
    return int_result();
}

// ---- stores ----

void Routine::set(const TextVar& var, const TextArg& value) {
    frame_->begin();
    Text source = materialize(value);
    if (source.temp < 0 && same_place(source.where, var.where)) return;
    Operand fresh = source.where;
    if (source.where.place != Place::Constant && !frame_->hand_over(source)) {
        // Someone else keeps this text: the variable gets a copy of its own, so each is released once.
        Text copy = concat({TextArg(source)});
        frame_->hand_over(copy);
        fresh = copy.where;
    }
    frame_->release_if_present(var.where);
    frame_->load(eax, fresh);
    frame_->store(var.where, eax);
}

void Routine::set(const IntVar& var, const Int& value) {
    frame_->begin();
    frame_->load(eax, value.where);
    frame_->store(var.where, eax);
}

void Routine::set(const FloatVar& var, const Float& value) {
    frame_->begin();
    frame_->load(eax, value.where);
    frame_->store(var.where, eax);
}

void Routine::set(const DoubleVar& var, const Double& value) {
    frame_->begin();
    if (var.where.place != Place::Frame || value.where.place != Place::Frame) return fail("a double that is not in the frame");
    if (!frame_->mine(var.where) || !frame_->mine(value.where)) return;
    auto& a = ctx_.as();
    a.mov(eax, x86::dword_ptr(ebp, value.where.value));
    a.mov(edx, x86::dword_ptr(ebp, value.where.value + 4));
    a.mov(x86::dword_ptr(ebp, var.where.value), eax);
    a.mov(x86::dword_ptr(ebp, var.where.value + 4), edx);
}

// ---- control flow ----

void Routine::if_(const Cond& cond, const std::function<void()>& then, const std::function<void()>& otherwise) {
    frame_->begin();
    if (!cond.node) return fail("a branch without a condition");
    auto& a = ctx_.as();
    auto skip_then = a.newLabel();
    jump_if(ctx_, *frame_, *cond.node, false, skip_then);
    frame_->open_scope();
    if (then) then();
    frame_->close_scope();
    if (!otherwise) {
        a.bind(skip_then);
        return;
    }
    auto done = a.newLabel();
    a.jmp(done);
    a.bind(skip_then);
    frame_->open_scope();
    otherwise();
    frame_->close_scope();
    a.bind(done);
}

void Routine::return_() {
    frame_->begin();
    frame_->return_from_here();
}

}  // namespace brindle::codegen
