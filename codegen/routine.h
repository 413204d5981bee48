#pragma once
// The builder in which an event routine is written. Each call emits its machine code at once and
// keeps the conventions the kernel relies on: the frame, zeroed variables, argument blocks, null
// texts replaced before commands, every obtained text released once, relocations and reference
// lists. Who owns which text, and when it is released, is the frame's business (codegen/frame.h):
// a text an operation returns lives until the end of the scope that made it.
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codegen/values.h"

namespace brindle::codegen {

// The emitter's state and the routine's frame stay inside codegen: they are asmjit's business.
class EmitContext;
class Frame;

class Routine {
public:
    ~Routine();

    // Variables, declared where they are first needed: zero at entry; text variables (and records'
    // text fields) are released at the end.
    TextVar text_var();
    IntVar int_var();
    FloatVar float_var();
    DoubleVar double_var();
    RecordVar record_var(std::initializer_list<FieldType> fields);
    TextVar text_field(const RecordVar& record, uint32_t index);
    IntVar int_field(const RecordVar& record, uint32_t index);
    FloatVar float_field(const RecordVar& record, uint32_t index);
    // The routine's 4-byte stack arguments, first nearest.
    Int argument(uint32_t index);

    Text text(std::string_view utf8);  // a constant

    // Properties.
    Text read_text(Control control);
    Int read_int(Control control, uint32_t property);
    Int read_selection(Control control);
    Int read_checked(Control control);
    void write_text(Control control, const TextArg& value);
    void write_int(Control control, uint32_t property, const Int& value);
    void set_visible(Control window_element, bool visible);

    // Texts.
    Text concat(std::initializer_list<TextArg> parts);
    Text concat(std::span<const TextArg> parts);
    Int compare(const TextArg& a, const TextArg& b);
    Cond is_empty(const TextArg& t);
    Cond not_empty(const TextArg& t);

    // Conversions through the kernel's commands and the float-to-integer helper.
    Double to_number(const TextArg& t);
    Double to_number(const Double& d);
    Text to_text(const TextArg& t);  // a fresh copy
    Text to_text(const Int& i);
    Text to_text(const Float& f);
    Text to_text(const Double& d);
    Int to_int(const TextArg& t);
    Int to_int(const Int& i);
    Double multiply(const Double& d, double factor);
    Float narrow(const Double& d);
    Double widen(const Float& f);
    Int truncate(const Double& d);
    Int truncate(const Float& f);

    // Commands.
    void message_box(const TextArg& message, int32_t style, std::optional<TextArg> title = std::nullopt);
    void set_clipboard(const TextArg& t);
    void close_window(Control window);
    void place_tray_icon(Control window, ByteView icon_file, const TextArg& tooltip);
    void pop_up_menu(Control window, MenuRef menu);
    void open_web_address(const TextArg& address);
    void command(uint32_t number, std::initializer_list<Arg> args);
    Int command_int(uint32_t number, std::initializer_list<Arg> args);
    Text command_text(uint32_t number, std::initializer_list<Arg> args);
    Double command_double(uint32_t number, std::initializer_list<Arg> args);
    void extension_command(uint32_t library, uint32_t number, std::initializer_list<Arg> args);

    // Stores. A text variable's old value is released after the new one is ready. A text of this
    // scope is handed over, any other text (a variable's, an outer scope's) is copied, and a constant
    // is stored as its pointer.
    void set(const TextVar& var, const TextArg& value);
    void set(const IntVar& var, const Int& value);
    void set(const FloatVar& var, const Float& value);
    void set(const DoubleVar& var, const Double& value);

    // Control flow. Each branch is a scope: the texts obtained in it are released when it ends.
    void if_(const Cond& cond, const std::function<void()>& then,
             const std::function<void()>& otherwise = {});
    void return_();

private:
    friend class Program;

    Routine(EmitContext& ctx, std::string name, uint32_t argument_count);
    void end();

    void fail(const std::string& message);
    // A text operand at the point where the code uses it: a literal becomes a constant then, so
    // constants lie in the order the code first refers to them.
    Text materialize(const TextArg& t);
    // The value a call left in eax, kept in the frame.
    Int int_result();
    Text text_result();
    Int truncate(const Operand& where, bool is_double);
    void push_text_for_command(const Text& t);
    void push_arg(const Arg& arg);
    void read_property(Control control, uint32_t property);
    void write_property(Control control, uint32_t property, const Operand& value);
    void run_command(std::optional<uint32_t> library, uint32_t number, std::span<const Arg> args);
    void fld(const Operand& where, bool is_double);

    EmitContext& ctx_;
    std::unique_ptr<Frame> frame_;
};

inline Double operator*(const Double& d, double factor) { return d.routine->multiply(d, factor); }

}  // namespace brindle::codegen
