#include "core/script/Operators.h"

#include "core/script/Fault.h"

#include <cmath>
#include <limits>

namespace script {

namespace {

[[noreturn]] void Overflow() { throw Fault("целочисленное переполнение"); }
[[noreturn]] void DivisionByZero() { throw Fault("деление на ноль"); }
[[noreturn]] void InvalidVariantOperation() { throw Fault("недопустимая операция с вариантом"); }

bool IsTextual(const Value& v) { return v.tag == Tag::String || v.tag == Tag::Empty; }

// A numeric operand of a variant operation: strings become numbers, Booleans are refused.
Value Numeric(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty: return Value::Integer(0);
    case Tag::Boolean: InvalidVariantOperation();
    case Tag::String: return Value::Real(ToReal(v));
    default: return v;
    }
}

Value IntegerOrWider(int64_t wide)
{
    // Variants widen instead of failing, as the platform's variants do.
    if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
        return Value::Real(static_cast<double>(wide));
    return Value::Integer(static_cast<int32_t>(wide));
}

} // namespace

int32_t IntAdd(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        Overflow();
    return r;
}

int32_t IntSub(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        Overflow();
    return r;
}

int32_t IntMul(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        Overflow();
    return r;
}

int32_t IntDiv(int32_t a, int32_t b)
{
    if (b == 0)
        DivisionByZero();
    if (a == std::numeric_limits<int32_t>::min() && b == -1)
        Overflow();
    return a / b;
}

int32_t IntMod(int32_t a, int32_t b)
{
    if (b == 0)
        DivisionByZero();
    if (b == -1)
        return 0;
    return a % b;
}

int32_t IntNeg(int32_t a)
{
    if (a == std::numeric_limits<int32_t>::min())
        Overflow();
    return -a;
}

int32_t IntShl(int32_t a, int32_t count)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) << (count & 31));
}

int32_t IntShr(int32_t a, int32_t count)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) >> (count & 31));
}

double CheckReal(double r)
{
    if (std::isfinite(r))
        return r;
    if (std::isnan(r))
        throw Fault("недопустимая операция с плавающей точкой");
    throw Fault("переполнение при вычислении с плавающей точкой");
}

double RealDivide(double a, double b)
{
    if (b == 0.0)
        DivisionByZero();
    return CheckReal(a / b);
}

void CheckLength(size_t length)
{
    if (length > kMaxStringLength)
        throw Fault("строка длиннее " + std::to_string(kMaxStringLength) + " символов");
}

Value VariantBinary(BinOp op, const Value& a, const Value& b)
{
    switch (op) {
    case BinOp::Add:
        if (IsTextual(a) && IsTextual(b) && (a.tag == Tag::String || b.tag == Tag::String)) {
            CheckLength(a.s.size() + b.s.size());
            return Value::String(a.s + b.s);
        }
        [[fallthrough]];
    case BinOp::Sub:
    case BinOp::Mul: {
        const Value x = Numeric(a), y = Numeric(b);
        if (x.tag == Tag::Integer && y.tag == Tag::Integer) {
            const int64_t p = x.i, q = y.i;
            return IntegerOrWider(op == BinOp::Add ? p + q : op == BinOp::Sub ? p - q : p * q);
        }
        const double p = ToReal(x), q = ToReal(y);
        return Value::Real(CheckReal(op == BinOp::Add ? p + q : op == BinOp::Sub ? p - q : p * q));
    }
    case BinOp::Divide:
        return Value::Real(RealDivide(ToReal(Numeric(a)), ToReal(Numeric(b))));
    case BinOp::IntDiv:
    case BinOp::Mod: {
        const int32_t p = ToInteger(Numeric(a)), q = ToInteger(Numeric(b));
        return Value::Integer(op == BinOp::IntDiv ? IntDiv(p, q) : IntMod(p, q));
    }
    case BinOp::And:
    case BinOp::Or:
    case BinOp::Xor:
        if (a.tag == Tag::Boolean && b.tag == Tag::Boolean) {
            const bool r = op == BinOp::And ? (a.b && b.b) : op == BinOp::Or ? (a.b || b.b) : (a.b != b.b);
            return Value::Boolean(r);
        } else {
            const int32_t p = ToInteger(a), q = ToInteger(b);
            return Value::Integer(op == BinOp::And ? (p & q) : op == BinOp::Or ? (p | q) : (p ^ q));
        }
    case BinOp::Shl: return Value::Integer(IntShl(ToInteger(a), ToInteger(b)));
    case BinOp::Shr: return Value::Integer(IntShr(ToInteger(a), ToInteger(b)));
    }
    InvalidVariantOperation();
}

Value VariantNegate(const Value& a)
{
    const Value x = Numeric(a);
    if (x.tag == Tag::Integer)
        return IntegerOrWider(-static_cast<int64_t>(x.i));
    return Value::Real(-x.r);
}

Value VariantNot(const Value& a)
{
    if (a.tag == Tag::Boolean)
        return Value::Boolean(!a.b);
    return Value::Integer(~ToInteger(a));
}

bool VariantCompare(Relation rel, const Value& a, const Value& b)
{
    if (IsTextual(a) && IsTextual(b))
        return Compare(rel, a.s, b.s);
    if (a.tag == Tag::Boolean && b.tag == Tag::Boolean)
        return Compare(rel, a.b, b.b);
    if (a.tag == Tag::Integer && b.tag == Tag::Integer)
        return Compare(rel, a.i, b.i);
    return Compare(rel, ToReal(a), ToReal(b));
}

} // namespace script
