#pragma once
// The compiled form of a script: 32-bit instruction words (8-bit operation, signed 24-bit
// operand), constant pools, the functions with their frames, the globals, and the imports of
// host functions that the machine resolves by name when it loads the program.
#include "core/script/Fault.h"
#include "core/script/Value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace script {

enum class Op : uint8_t {
    // locals (operand: slot in the frame) and globals (operand: global index)
    LoadLocal,       // a number or a Boolean: copies the scalar only
    LoadLocalStr,    // a string or a variant: copies the whole value
    StoreLocal,
    StoreLocalStr,
    LoadGlobal,
    LoadGlobalStr,
    StoreGlobal,
    StoreGlobalStr,
    // constants
    PushInt,         // operand: the value itself
    PushIntConst,    // operand: index into the integer pool
    PushReal,        // operand: index into the real pool
    PushString,      // operand: index into the string pool
    PushBool,        // operand: 0 or 1
    Pop,
    // conversions; operand 0 works on the top, 1 on the value below it
    IntToReal,
    TagAs,           // operand: (Tag << 1) | depth; gives a typed value its variant tag
    VarToInt,
    VarToReal,
    VarToStr,
    VarToBool,
    // typed arithmetic
    AddInt, SubInt, MulInt, DivInt, ModInt, NegInt, AndInt, OrInt, XorInt, NotInt, ShlInt, ShrInt,
    AddReal, SubReal, MulReal, DivReal, NegReal,
    AddStr,
    NotBool, XorBool,
    VarBinary,       // operand: BinOp
    VarNeg, VarNot,
    // comparisons, operand: Relation; each leaves a Boolean
    CmpInt, CmpReal, CmpStr, CmpBool, CmpVar,
    // control; operand: target instruction
    Jump,
    JumpIfFalse,     // pops the condition
    JumpIfTrue,      // pops the condition
    JumpIfFalseKeep, // jumps keeping a false condition, else pops it (short-circuit "and")
    JumpIfTrueKeep,  // the same for "or"
    Call,            // operand: function index
    CallHost,        // operand: import index
    Return,
};

struct FunctionCode {
    std::string name;
    uint32_t entry = 0;
    uint32_t paramCount = 0;
    std::vector<TypeKind> paramTypes;
    TypeKind result = TypeKind::Void;     // Void for a procedure
    std::vector<TypeKind> localTypes;     // parameters, then Result, then variables and temporaries
    uint32_t maxOperands = 0;             // deepest operand stack of the body
};

struct Import {
    std::string name;
    std::vector<TypeKind> paramTypes;
    TypeKind result = TypeKind::Void;
};

struct GlobalVar {
    std::string name;
    TypeKind type = TypeKind::Integer;
};

struct Program {
    std::vector<uint32_t> code;
    std::vector<SourcePos> positions;   // one per instruction, for run-time messages
    std::vector<int32_t> ints;
    std::vector<double> reals;
    std::vector<std::string> strings;
    std::vector<FunctionCode> functions;
    std::vector<Import> imports;
    std::vector<GlobalVar> globals;

    // Case-insensitive lookups; -1 when absent.
    int FindFunction(std::string_view name) const;
    int FindGlobal(std::string_view name) const;
};

constexpr int32_t kMaxOperand = (1 << 23) - 1;

inline uint32_t Encode(Op op, int32_t operand)
{
    return static_cast<uint32_t>(op) | (static_cast<uint32_t>(operand) << 8);
}
inline Op OpOf(uint32_t word) { return static_cast<Op>(word & 0xFF); }
inline int32_t OperandOf(uint32_t word) { return static_cast<int32_t>(word) >> 8; }

bool SameNameNoCase(std::string_view a, std::string_view b);

} // namespace script
