#include "core/PSExportFunctions.h"

#include "base/DateTime.h"
#include "base/FormatDateTime.h"
#include "core/script/Fault.h"
#include "core/script/Operators.h"

#include <cmath>

using script::Value;

const char* const kScriptFunctionDeclarations[17] = {
    "function now: double",
    "function Int(const X: Extended): Extended",
    "function Frac(const X: Extended): Extended",
    "function Exp(const X: Extended): Extended",
    "function Cos(const X: Extended): Extended",
    "function Sin(const X: Extended): Extended",
    "function Ln(const X: Extended): Extended",
    "function ArcTan(const X: Extended): Extended",
    "function Sqrt(const X: Extended): Extended",
    "function Sqr(const X: Extended): Extended",
    "function Pi: Extended",
    "function Power(const Base, Exponent: Extended): Extended",
    "function Tan(const X: Extended): Extended",
    "function Str(const Value: Variant): string",
    "function FormatDateTime(const Fmt: string; const Value: Variant): string",
    "function PS_IF(const Expr: Variant; const Statment1, Statment2: Variant): Variant",
    "function getValue(VarName: string): Variant",
};

namespace {

// The machine checks every real result for infinities and NaN, so these stay plain.
void SetReal(Value& out, double v)
{
    out.tag = script::Tag::Real;
    out.r = v;
}

void FnNow(Value*, Value& out) { SetReal(out, Now()); }
void FnInt(Value* a, Value& out) { SetReal(out, std::trunc(a[0].r)); }
void FnFrac(Value* a, Value& out) { SetReal(out, a[0].r - std::trunc(a[0].r)); }
void FnExp(Value* a, Value& out) { SetReal(out, std::exp(a[0].r)); }
void FnCos(Value* a, Value& out) { SetReal(out, std::cos(a[0].r)); }
void FnSin(Value* a, Value& out) { SetReal(out, std::sin(a[0].r)); }
void FnLn(Value* a, Value& out)
{
    if (a[0].r == 0.0)
        throw script::Fault("деление на ноль");   // the logarithm of zero
    SetReal(out, std::log(a[0].r));
}
void FnArcTan(Value* a, Value& out) { SetReal(out, std::atan(a[0].r)); }
void FnSqrt(Value* a, Value& out) { SetReal(out, std::sqrt(a[0].r)); }
void FnSqr(Value* a, Value& out) { SetReal(out, a[0].r * a[0].r); }
void FnPi(Value*, Value& out) { SetReal(out, 3.1415926535897932385); }
void FnPower(Value* a, Value& out) { SetReal(out, std::pow(a[0].r, a[1].r)); }
void FnTan(Value* a, Value& out) { SetReal(out, std::tan(a[0].r)); }

void FnStr(Value* a, Value& out)
{
    out = Value::String(script::ToString(a[0]));
}

void FnFormatDateTime(Value* a, Value& out)
{
    const double t = script::ToReal(a[1]);
    if (!IsDateTimeInRange(t))
        throw script::Fault("недопустимое значение даты и времени: " + script::FloatToStr(t));
    out = Value::String(FormatDateTime(a[0].s, t));
}

void FnIf(Value* a, Value& out)
{
    const Value& expr = a[0];
    const bool yes = expr.tag == script::Tag::Boolean
                         ? expr.b
                         : script::VariantCompare(script::Relation::Ne, expr, Value::Integer(0));
    out = yes ? a[1] : a[2];
}

} // namespace

bool RegisterScriptDeclarations(script::Compiler& compiler, const std::string& unitName)
{
    if (unitName != "SYSTEM")
        return false;
    for (const char* declaration : kScriptFunctionDeclarations)
        compiler.AddFunction(declaration);
    return true;
}

void RegisterScriptFunctions(script::Machine& machine)
{
    machine.RegisterFunction("now", FnNow);
    machine.RegisterFunction("Int", FnInt);
    machine.RegisterFunction("Frac", FnFrac);
    machine.RegisterFunction("Exp", FnExp);
    machine.RegisterFunction("Cos", FnCos);
    machine.RegisterFunction("Sin", FnSin);
    machine.RegisterFunction("Ln", FnLn);
    machine.RegisterFunction("ArcTan", FnArcTan);
    machine.RegisterFunction("Sqrt", FnSqrt);
    machine.RegisterFunction("Sqr", FnSqr);
    machine.RegisterFunction("Pi", FnPi);
    machine.RegisterFunction("Power", FnPower);
    machine.RegisterFunction("Tan", FnTan);
    machine.RegisterFunction("Str", FnStr);
    machine.RegisterFunction("FormatDateTime", FnFormatDateTime);
    machine.RegisterFunction("PS_IF", FnIf);
}
