#include "report/expr/VariantOps.h"

#include <cstdint>

#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/TextRoutines.h"

namespace {

enum class NumClass { Int, Real, Date };

struct Num {
    NumClass cls = NumClass::Int;
    int64_t i = 0;
    double r = 0;
    double Real() const { return cls == NumClass::Int ? double(i) : r; }
};

Num ToNum(const QVariant& v, TVarKind kind)
{
    // The common kinds are read in place: expressions combine numbers on every evaluation.
    switch (v.typeId()) {
    case QMetaType::Double: return {NumClass::Real, 0, *static_cast<const double*>(v.constData())};
    case QMetaType::Int: return {NumClass::Int, *static_cast<const int*>(v.constData()), 0};
    default: break;
    }
    switch (kind) {
    case TVarKind::Empty: return {};
    case TVarKind::Boolean: return {NumClass::Int, v.toBool() ? 1 : 0, 0};
    case TVarKind::Integer: return {NumClass::Int, v.toLongLong(), 0};
    case TVarKind::DateTime: return {NumClass::Date, 0, VarToDateTime(v)};
    default: return {NumClass::Real, 0, VarToReal(v)};   // reals, and strings read as numbers
    }
}

Num ToNum(const QVariant& v)
{
    return ToNum(v, VarKind(v));
}

enum class Op { Add, Sub, Mul };

QVariant Arithmetic(const QVariant& a, const QVariant& b, Op op)
{
    const TVarKind ka = VarKind(a);
    const TVarKind kb = VarKind(b);
    if (ka == TVarKind::Null || kb == TVarKind::Null)
        return VarNull();
    const Num x = ToNum(a, ka);
    const Num y = ToNum(b, kb);
    if (x.cls == NumClass::Int && y.cls == NumClass::Int) {
        int64_t result = 0;
        const bool overflow = op == Op::Add   ? __builtin_add_overflow(x.i, y.i, &result)
                              : op == Op::Sub ? __builtin_sub_overflow(x.i, y.i, &result)
                                              : __builtin_mul_overflow(x.i, y.i, &result);
        if (!overflow)
            return VarFromInt(result);
    }
    const double rx = x.Real();
    const double ry = y.Real();
    switch (op) {
    case Op::Add:
        if (x.cls == NumClass::Date || y.cls == NumClass::Date)
            return VarFromDateTime(rx + ry);
        return rx + ry;
    case Op::Sub:
        if (x.cls == NumClass::Date && y.cls != NumClass::Date)
            return VarFromDateTime(rx - ry);
        return rx - ry;
    case Op::Mul:
        break;
    }
    return rx * ry;
}

bool IsStringOrEmpty(const QVariant& v)
{
    const TVarKind k = VarKind(v);
    return k == TVarKind::String || k == TVarKind::Empty;
}

[[noreturn]] void DivisionByZero()
{
    throw EVariantError(QStringLiteral("Division by zero"));
}

template <typename Bitwise, typename Logical>
QVariant Logic(const QVariant& a, const QVariant& b, Bitwise bitwise, Logical logical)
{
    if (VarIsNull(a) || VarIsNull(b))
        return VarNull();
    if (VarKind(a) == TVarKind::Boolean && VarKind(b) == TVarKind::Boolean)
        return logical(a.toBool(), b.toBool());
    return VarFromInt(bitwise(VarToInt(a), VarToInt(b)));
}

int Sign(double d)
{
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int CompareNumbers(const Num& x, const Num& y)
{
    if (x.cls == NumClass::Int && y.cls == NumClass::Int)
        return x.i < y.i ? -1 : (x.i > y.i ? 1 : 0);
    return Sign(x.Real() - y.Real());
}

bool IsNullOrEmpty(TVarKind k)
{
    return k == TVarKind::Null || k == TVarKind::Empty;
}

}  // namespace

QVariant VarAdd(const QVariant& a, const QVariant& b)
{
    if ((VarIsString(a) && IsStringOrEmpty(b)) || (VarIsString(b) && IsStringOrEmpty(a)))
        return VarToStr(a) + VarToStr(b);
    return Arithmetic(a, b, Op::Add);
}

QVariant VarSub(const QVariant& a, const QVariant& b)
{
    return Arithmetic(a, b, Op::Sub);
}

QVariant VarMul(const QVariant& a, const QVariant& b)
{
    return Arithmetic(a, b, Op::Mul);
}

QVariant VarDiv(const QVariant& a, const QVariant& b)
{
    if (VarIsNull(a) || VarIsNull(b))
        return VarNull();
    const double divisor = ToNum(b).Real();
    if (divisor == 0)
        DivisionByZero();
    return ToNum(a).Real() / divisor;
}

QVariant VarMod(const QVariant& a, const QVariant& b)
{
    if (VarIsNull(a) || VarIsNull(b))
        return VarNull();
    const int64_t x = VarToInt(a);
    const int64_t y = VarToInt(b);
    if (y == 0)
        DivisionByZero();
    if (y == -1)
        return VarFromInt(0);
    return VarFromInt(x % y);
}

QVariant VarAnd(const QVariant& a, const QVariant& b)
{
    return Logic(a, b, [](int64_t x, int64_t y) { return x & y; }, [](bool x, bool y) { return x && y; });
}

QVariant VarOr(const QVariant& a, const QVariant& b)
{
    return Logic(a, b, [](int64_t x, int64_t y) { return x | y; }, [](bool x, bool y) { return x || y; });
}

QVariant VarNeg(const QVariant& a)
{
    if (VarIsNull(a))
        return VarNull();
    const Num x = ToNum(a);
    if (x.cls == NumClass::Int && x.i != INT64_MIN)
        return VarFromInt(-x.i);
    return -x.Real();
}

int VarCompare(const QVariant& a, const QVariant& b)
{
    const TVarKind ka = VarKind(a);
    const TVarKind kb = VarKind(b);
    if (ka == TVarKind::Null || kb == TVarKind::Null) {
        if (IsNullOrEmpty(ka) && IsNullOrEmpty(kb))
            return 0;
        return ka == TVarKind::Null ? -1 : 1;
    }
    if (ka == TVarKind::Other || kb == TVarKind::Other)
        throw EVariantError(QStringLiteral("Invalid variant operation"));
    if (ka == TVarKind::String && kb == TVarKind::String)
        return Sign(VarToStr(a).compare(VarToStr(b)));
    if (ka == TVarKind::String || kb == TVarKind::String) {
        const QVariant& text = ka == TVarKind::String ? a : b;
        const QVariant& other = ka == TVarKind::String ? b : a;
        double number = 0;
        int result = 0;
        if (VarKind(other) == TVarKind::Empty)
            result = Sign(VarToStr(text).compare(QString()));
        else if (TryStrToFloatAnySep(VarToStr(text), number))
            result = Sign(number - ToNum(other).Real());
        else
            result = Sign(VarToStr(text).compare(VarToStr(other)));
        return ka == TVarKind::String ? result : -result;
    }
    return CompareNumbers(ToNum(a, ka), ToNum(b, kb));
}

bool VarEqualsZero(const QVariant& value)
{
    return VarCompare(value, QVariant(0)) == 0;
}
