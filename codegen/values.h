#pragma once
// The typed handles a routine is written with: texts, integers, floats, doubles, records, controls,
// command arguments and conditions. Routine makes them; they only say where a value lives.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/bytes.h"

namespace brindle::codegen {

class Routine;

enum class Place : uint8_t {
    Immediate,  // value is the number itself
    Frame,      // value is an ebp displacement
    Field,      // value is the ebp displacement of a record pointer, field the byte offset in the block
    Global,     // value is an offset into the var memory
    Constant,   // value is an offset into the constant data
};

struct Operand {
    Place place = Place::Immediate;
    int32_t value = 0;
    int32_t field = 0;
    uint32_t owner = 0;  // for Frame and Field: the serial of the routine whose frame holds it
};

// A control (or the window's own element) addressed by window id and element id.
struct Control {
    uint32_t window_id;
    uint32_t element_id;
};

// A menu of a window, for the menu-reference argument.
struct MenuRef {
    uint32_t window_id;
    uint32_t menu_id;
};

// A text: a constant, a variable, or a temporary the routine owns. A temporary is used once: the
// operation that takes it releases it afterwards. Keep a text that is needed twice in a TextVar.
struct Text {
    Operand where;
    int32_t temp = -1;  // owned temporary's number, -1 when not owned
};
struct TextVar : Text {};

// An integer: an immediate, a variable, a temporary, a global or the routine's argument.
struct Int {
    Int() = default;
    Int(int32_t immediate) : where{Place::Immediate, immediate, 0, 0} {}  // NOLINT: literals read naturally
    explicit Int(Operand operand) : where(operand) {}
    Operand where;
};
struct IntVar : Int {
    IntVar() = default;
    explicit IntVar(Operand operand) : Int(operand) {}
};

struct Float {
    Operand where;
};
struct FloatVar : Float {};

// A double lives in 8 bytes of the frame; `* constant` needs the routine that emits the product.
struct Double {
    Routine* routine = nullptr;
    Operand where;
};
struct DoubleVar : Double {};

enum class FieldType : uint8_t { Text, Int, Float };

// A record variable: a zero-filled block of 4-byte fields allocated when the routine starts.
struct RecordVar {
    int32_t pointer_slot = 0;  // ebp displacement of the block pointer
    int32_t variable = -1;     // the routine's variable number, for field type checks
    uint32_t owner = 0;
};

// A text operand as written in the source: a Text handle or a UTF-8 literal.
struct TextArg {
    TextArg(const Text& t) : text(t) {}                  // NOLINT
    TextArg(const char* utf8) : literal(utf8) {}          // NOLINT
    TextArg(std::string_view utf8) : literal(utf8) {}     // NOLINT
    TextArg(const std::string& utf8) : literal(utf8) {}   // NOLINT
    std::optional<Text> text;
    std::string literal;
};

// One argument of a runtime command: becomes a triple {value, high, tag} in the argument block.
struct Arg {
    enum class Kind : uint8_t { Text, Integer, Float, Double, Bytes, Window, Menu, Omitted };

    Arg(const TextArg& t) : kind(Kind::Text), text(t) {}          // NOLINT
    Arg(const Text& t) : kind(Kind::Text), text(t) {}             // NOLINT
    Arg(const char* utf8) : kind(Kind::Text), text(utf8) {}       // NOLINT
    Arg(const Int& i) : kind(Kind::Integer), value(i.where) {}    // NOLINT
    Arg(int32_t i) : kind(Kind::Integer), value(Int(i).where) {}  // NOLINT
    Arg(const Float& f) : kind(Kind::Float), value(f.where) {}    // NOLINT
    Arg(const Double& d) : kind(Kind::Double), value(d.where) {}  // NOLINT
    Arg(const MenuRef& m) : kind(Kind::Menu), menu(m) {}          // NOLINT

    // A reference to the window whose own element `window` names.
    static Arg window(Control window) { Arg a(Kind::Window); a.control = window; return a; }
    // A byte block constant (the block's bytes, without the dimension and count prefix).
    static Arg bytes(ByteView block) { Arg a(Kind::Bytes); a.block = block; return a; }
    static Arg omitted() { return Arg(Kind::Omitted); }

    Kind kind;
    TextArg text{""};
    Operand value;
    Control control{};
    MenuRef menu{};
    ByteView block;

private:
    explicit Arg(Kind k) : kind(k) {}
};

// A condition over integers, read when the branch that tests it is emitted.
enum class Comparison : uint8_t { Eq, Ne, Lt, Le, Gt, Ge };

struct CondNode;
struct Cond {
    std::shared_ptr<const CondNode> node;
};
struct CondNode {
    enum class Op : uint8_t { Compare, And, Or, Not } op;
    Comparison comparison = Comparison::Eq;
    Operand lhs, rhs;
    Cond a, b;
};

inline Cond compare(const Int& lhs, Comparison c, const Int& rhs) {
    return Cond{std::make_shared<const CondNode>(CondNode{CondNode::Op::Compare, c, lhs.where, rhs.where, {}, {}})};
}
inline Cond operator==(const Int& l, const Int& r) { return compare(l, Comparison::Eq, r); }
inline Cond operator!=(const Int& l, const Int& r) { return compare(l, Comparison::Ne, r); }
inline Cond operator<(const Int& l, const Int& r) { return compare(l, Comparison::Lt, r); }
inline Cond operator<=(const Int& l, const Int& r) { return compare(l, Comparison::Le, r); }
inline Cond operator>(const Int& l, const Int& r) { return compare(l, Comparison::Gt, r); }
inline Cond operator>=(const Int& l, const Int& r) { return compare(l, Comparison::Ge, r); }
inline Cond operator&&(const Cond& a, const Cond& b) {
    return Cond{std::make_shared<const CondNode>(CondNode{CondNode::Op::And, {}, {}, {}, a, b})};
}
inline Cond operator||(const Cond& a, const Cond& b) {
    return Cond{std::make_shared<const CondNode>(CondNode{CondNode::Op::Or, {}, {}, {}, a, b})};
}
inline Cond operator!(const Cond& a) {
    return Cond{std::make_shared<const CondNode>(CondNode{CondNode::Op::Not, {}, {}, {}, a, {}})};
}

}  // namespace brindle::codegen
