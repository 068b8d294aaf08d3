#pragma once
// Arithmetic, logic and comparison as the language defines them: checked 32-bit integers,
// IEEE doubles that fail instead of giving infinities, and variants that decide at run time.
#include "core/script/Value.h"

#include <cstddef>
#include <cstdint>

namespace script {

enum class BinOp : uint8_t { Add, Sub, Mul, Divide, IntDiv, Mod, And, Or, Xor, Shl, Shr };
enum class Relation : uint8_t { Eq, Ne, Lt, Gt, Le, Ge };

// Longest string a script may build; keeps a doubling loop from eating the memory.
constexpr size_t kMaxStringLength = size_t(1) << 20;

int32_t IntAdd(int32_t a, int32_t b);
int32_t IntSub(int32_t a, int32_t b);
int32_t IntMul(int32_t a, int32_t b);
int32_t IntDiv(int32_t a, int32_t b);
int32_t IntMod(int32_t a, int32_t b);
int32_t IntNeg(int32_t a);
int32_t IntShl(int32_t a, int32_t count);
int32_t IntShr(int32_t a, int32_t count);
double RealDivide(double a, double b);
// Fails when an operation of real numbers left the finite range.
double CheckReal(double r);
void CheckLength(size_t length);

Value VariantBinary(BinOp op, const Value& a, const Value& b);
Value VariantNegate(const Value& a);
Value VariantNot(const Value& a);
bool VariantCompare(Relation rel, const Value& a, const Value& b);

template <typename T>
bool Compare(Relation rel, const T& a, const T& b)
{
    switch (rel) {
    case Relation::Eq: return a == b;
    case Relation::Ne: return !(a == b);
    case Relation::Lt: return a < b;
    case Relation::Gt: return b < a;
    case Relation::Le: return !(b < a);
    case Relation::Ge: return !(a < b);
    }
    return false;
}

} // namespace script
