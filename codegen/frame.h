#pragma once
// A routine's stack frame and who owns what in it. Internal to codegen, which alone sees asmjit;
// routines are written through program.h and routine.h.
//
// Variables may be declared anywhere in a routine: every variable is zero when the routine starts
// (the frame is set up by an initialisation block that the prologue jumps to, emitted once the
// routine's variables are all known), and text variables and records are released when it returns.
//
// A text that an operation obtains (a property read, a command result, a concatenation) is a
// temporary owned by the scope that made it: the routine's body, or the branch of an if_. It may
// be used any number of times in that scope and in the branches inside it, and it is released
// when its scope ends. Storing it into a text variable in the same scope hands it over to the
// variable (no copy); the temporary is then spent.
#include <asmjit/x86.h>

#include <string>
#include <vector>

#include "codegen/context.h"
#include "codegen/values.h"

namespace brindle::codegen {

class Frame {
public:
    Frame(EmitContext& ctx, std::string name, uint32_t argument_count);

    void fail(const std::string& message);
    uint32_t serial() const { return serial_; }

    // Variables.
    TextVar text_var();
    IntVar int_var();
    FloatVar float_var();
    Operand double_var();
    RecordVar record_var(std::initializer_list<FieldType> fields);
    Operand field(const RecordVar& record, uint32_t index, FieldType type);
    Int argument(uint32_t index);

    // A slot for an intermediate value (integers, numbers) that nobody releases.
    Operand scratch(uint32_t bytes);
    // A slot for a text the current scope owns.
    Text temporary();
    // Whether `t` may be read here: it is this routine's and not yet handed to a variable.
    bool readable(const Text& t);
    // Hands a temporary of the current scope to a variable; false when it belongs to an outer
    // scope (the variable then needs a copy) or is not a temporary.
    bool hand_over(const Text& t);

    // Scopes: entering a branch, and leaving it (its temporaries are released there).
    void open_scope();
    void close_scope();

    // Code: the prologue before the first operation, a jump to the epilogue that releases every
    // temporary alive on the way, and the end of the routine.
    void begin();
    void return_from_here();
    void end();

    // Operands of this frame in registers.
    bool mine(const Operand& where);
    void load(const asmjit::x86::Gp& reg, const Operand& where);
    void store(const Operand& where, const asmjit::x86::Gp& reg);  // not through ecx
    void push(const Operand& where);
    void release_if_present(const Operand& where);

private:
    enum class VarKind : uint8_t { Text, Int, Float, Double, Record };
    struct Variable {
        VarKind kind;
        int32_t slot;
        std::vector<FieldType> fields;
    };
    struct Temporary {
        int32_t slot;
        size_t scope;
        bool spent;
    };

    int32_t allocate(uint32_t bytes);
    int32_t declare(VarKind kind, uint32_t bytes, std::vector<FieldType> fields = {});
    void release_scope(size_t scope);
    void emit_initialisation();

    EmitContext& ctx_;
    std::string name_;
    uint32_t argument_count_;
    uint32_t serial_;
    bool begun_ = false;
    uint32_t frame_size_ = 0;
    uint32_t frame_size_at_ = 0;
    std::vector<Variable> variables_;
    std::vector<Temporary> temporaries_;
    size_t depth_ = 0;
    asmjit::Label body_;
    asmjit::Label initialisation_;
    asmjit::Label epilogue_;
};

}  // namespace brindle::codegen
