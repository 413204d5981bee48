// The routine's calls into the kernel and the helpers: properties, texts, commands, conversions.
#include "codegen/routine.h"

#include <algorithm>

namespace brindle::codegen {

namespace x86 = asmjit::x86;
using asmjit::imm;
using x86::eax, x86::ebx, x86::ecx, x86::edx, x86::ebp, x86::esp;

namespace {

int32_t as_imm(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

// ---- properties ----

Int Routine::read_int(Control control, uint32_t property) {
    body();
    auto& a = ctx_.as();
    a.push(imm(-1));
    a.push(imm(as_imm(property)));
    ctx_.push_listed(control.element_id, ReferenceList::Identifiers);
    ctx_.push_listed(control.window_id, ReferenceList::Identifiers);
    ctx_.call_service(abi::service::kReadProperty);
    a.add(esp, 16);
    Int result(new_slot(4));
    store(result.where, eax);
    return result;
}

Text Routine::read_text(Control control) {
    Int value = read_int(control, abi::property::kText);
    temps_.push_back(Temp{true, depth_});
    return Text{value.where, static_cast<int32_t>(temps_.size() - 1)};
}

Int Routine::read_selection(Control control) { return read_int(control, abi::property::kSelection); }
Int Routine::read_checked(Control control) { return read_int(control, abi::property::kChecked); }

void Routine::write_text(Control control, const TextArg& value) {
    body();
    auto& a = ctx_.as();
    std::vector<Text> taken;
    a.push(imm(0));
    push_value(materialize(value, taken).where);
    a.push(imm(-1));
    a.push(imm(as_imm(abi::property::kText)));
    ctx_.push_listed(control.element_id, ReferenceList::Identifiers);
    ctx_.push_listed(control.window_id, ReferenceList::Identifiers);
    ctx_.call_service(abi::service::kWriteProperty);
    a.add(esp, 24);
    release_taken(taken);
}

void Routine::write_int(Control control, uint32_t property, const Int& value) {
    body();
    auto& a = ctx_.as();
    a.push(imm(0));
    push_value(value.where);
    a.push(imm(-1));
    a.push(imm(as_imm(property)));
    ctx_.push_listed(control.element_id, ReferenceList::Identifiers);
    ctx_.push_listed(control.window_id, ReferenceList::Identifiers);
    ctx_.call_service(abi::service::kWriteProperty);
    a.add(esp, 24);
}

void Routine::set_visible(Control window_element, bool visible) {
    write_int(window_element, abi::property::kVisible, visible ? 1 : 0);
}

// ---- texts ----

Text Routine::concat(std::initializer_list<TextArg> parts) { return concat(std::span<const TextArg>(parts.begin(), parts.size())); }

Text Routine::concat(std::span<const TextArg> parts) {
    body();
    if (parts.empty()) {
        fail("a concatenation has at least one part");
        return text("");
    }
    auto& a = ctx_.as();
    std::vector<Text> taken;
    for (size_t i = parts.size(); i-- > 0;) push_value(materialize(parts[i], taken).where);
    a.mov(ecx, imm(as_imm(static_cast<uint32_t>(parts.size()))));
    ctx_.call_helper(Helper::Concatenate);
    a.add(esp, imm(as_imm(static_cast<uint32_t>(parts.size() * 4))));
    Text result = new_text_temp();
    store(result.where, eax);
    std::reverse(taken.begin(), taken.end());
    release_taken(taken);
    return result;
}

Int Routine::compare(const TextArg& first, const TextArg& second) {
    body();
    auto& a = ctx_.as();
    std::vector<Text> taken;
    push_value(materialize(second, taken).where);
    push_value(materialize(first, taken).where);
    ctx_.call_helper(Helper::TextCompare);
    a.add(esp, 8);
    Int result(new_slot(4));
    store(result.where, eax);
    std::reverse(taken.begin(), taken.end());
    release_taken(taken);
    return result;
}

Cond Routine::is_empty(const TextArg& t) { return compare(t, "") == 0; }
Cond Routine::not_empty(const TextArg& t) { return compare(t, "") != 0; }

// ---- commands ----

void Routine::push_text_for_command(const Text& t) {
    if (t.where.place == Place::Constant) return push_value(t.where);
    auto& a = ctx_.as();
    auto present = a.newLabel();
    load(eax, t.where);
    a.test(eax, eax);
    a.jnz(present);
    ctx_.mov_relocated(eax, ctx_.empty_text(), RelocKind::Const);
    a.bind(present);
    a.push(eax);
}

void Routine::push_arg(const Arg& arg, std::vector<Text>& taken) {
    auto& a = ctx_.as();
    auto tag = [&](uint32_t t) { a.push(imm(as_imm(t))); };
    switch (arg.kind) {
    case Arg::Kind::Text:
        tag(abi::tag::kText);
        a.push(imm(0));
        push_text_for_command(materialize(arg.text, taken));
        return;
    case Arg::Kind::Integer:
        tag(abi::tag::kInteger);
        a.push(imm(0));
        push_value(arg.value);
        return;
    case Arg::Kind::Float:
        tag(abi::tag::kFloat);
        a.push(imm(0));
        push_value(arg.value);
        return;
    case Arg::Kind::Double:
        tag(abi::tag::kDouble);
        if (arg.value.place != Place::Frame) return fail("a double argument that is not in the frame");
        if (!mine(arg.value)) return;
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

Operand Routine::run_command(std::optional<uint32_t> library, uint32_t number, std::span<const Arg> args,
                             ResultKind result) {
    body();
    auto& a = ctx_.as();
    std::vector<Text> taken;
    for (size_t i = args.size(); i-- > 0;) push_arg(args[i], taken);
    a.push(imm(as_imm(static_cast<uint32_t>(args.size()))));
    a.mov(ebx, imm(as_imm(number)));
    if (library) ctx_.mov_listed(eax, *library, ReferenceList::LibraryNumbers);
    ctx_.call_service(library ? abi::service::kExtensionCommand : abi::service::kKernelCommand);
    a.add(esp, imm(as_imm(static_cast<uint32_t>(4 * (1 + 3 * args.size())))));
    Operand out;
    switch (result) {
    case ResultKind::None: break;
    case ResultKind::Int:
        out = new_slot(4);
        store(out, eax);
        break;
    case ResultKind::Text: {
        Text t = new_text_temp();
        out = t.where;
        store(out, eax);
        break;
    }
    case ResultKind::Double:
        out = new_slot(8);
        a.mov(x86::dword_ptr(ebp, out.value), eax);
        a.mov(x86::dword_ptr(ebp, out.value + 4), edx);
        break;
    }
    std::reverse(taken.begin(), taken.end());
    release_taken(taken);
    return out;
}

void Routine::command(uint32_t number, std::initializer_list<Arg> args) {
    run_command(std::nullopt, number, std::span(args.begin(), args.size()), ResultKind::None);
}

Int Routine::command_int(uint32_t number, std::initializer_list<Arg> args) {
    return Int(run_command(std::nullopt, number, std::span(args.begin(), args.size()), ResultKind::Int));
}

Text Routine::command_text(uint32_t number, std::initializer_list<Arg> args) {
    Operand where = run_command(std::nullopt, number, std::span(args.begin(), args.size()), ResultKind::Text);
    return Text{where, static_cast<int32_t>(temps_.size() - 1)};
}

Double Routine::command_double(uint32_t number, std::initializer_list<Arg> args) {
    return Double{this, run_command(std::nullopt, number, std::span(args.begin(), args.size()), ResultKind::Double)};
}

void Routine::extension_command(uint32_t library, uint32_t number, std::initializer_list<Arg> args) {
    run_command(library, number, std::span(args.begin(), args.size()), ResultKind::None);
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
    if (!mine(where)) return;
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
    body();
    auto& a = ctx_.as();
    fld(d.where, true);
    uint32_t constant = ctx_.pool().add_double(factor);
    a.fmul(x86::qword_ptr_abs(constant));
    ctx_.relocate_last(RelocKind::Const, constant);
    Double product{this, new_slot(8)};
    a.fstp(x86::qword_ptr(ebp, product.where.value));
    return product;
}

Float Routine::narrow(const Double& d) {
    body();
    fld(d.where, true);
    Float f{new_slot(4)};
    ctx_.as().fstp(x86::dword_ptr(ebp, f.where.value));
    return f;
}

Double Routine::widen(const Float& f) {
    body();
    fld(f.where, false);
    Double d{this, new_slot(8)};
    ctx_.as().fstp(x86::qword_ptr(ebp, d.where.value));
    return d;
}

Int Routine::truncate(const Double& d) {
    body();
    fld(d.where, true);
    ctx_.call_helper(Helper::FloatToInteger);
    Int i(new_slot(4));
    store(i.where, eax);
    return i;
}

Int Routine::truncate(const Float& f) {
    body();
    fld(f.where, false);
    ctx_.call_helper(Helper::FloatToInteger);
    Int i(new_slot(4));
    store(i.where, eax);
    return i;
}

}  // namespace brindle::codegen
