#include "core/script/Value.h"
#include "core/script/Ascii.h"

#include "base/Rounding.h"
#include "core/script/Fault.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace script {

const char* TypeName(TypeKind type)
{
    switch (type) {
    case TypeKind::Void: return "пустой тип";
    case TypeKind::Integer: return "Integer";
    case TypeKind::Real: return "Double";
    case TypeKind::String: return "String";
    case TypeKind::Boolean: return "Boolean";
    case TypeKind::Variant: return "Variant";
    }
    return "?";
}

const char* TagName(Tag tag)
{
    switch (tag) {
    case Tag::Empty: return "Empty";
    case Tag::Integer: return "Integer";
    case Tag::Real: return "Double";
    case Tag::String: return "String";
    case Tag::Boolean: return "Boolean";
    }
    return "?";
}

Value Value::ZeroOf(TypeKind type)
{
    switch (type) {
    case TypeKind::Integer: return Integer(0);
    case TypeKind::Real: return Real(0.0);
    case TypeKind::String: return String({});
    case TypeKind::Boolean: return Boolean(false);
    default: return Value();
    }
}

namespace {

[[noreturn]] void CannotConvert(Tag from, const char* to)
{
    throw Fault(std::string("не удаётся преобразовать вариант типа (") + TagName(from) + ") в тип ("
                + to + ")");
}

std::string Trimmed(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

bool TextToInteger(const std::string& text, int32_t& out)
{
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    const bool hex = t[0] == '$';
    const char* begin = t.c_str() + (hex ? 1 : 0);
    if (*begin == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(begin, &end, hex ? 16 : 10);
    if (*end != '\0' || errno == ERANGE || v < std::numeric_limits<int32_t>::min()
        || v > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

int32_t RealToInteger(double r)
{
    if (!(r >= -2147483648.5 && r < 2147483647.5))
        throw Fault("целочисленное переполнение");
    return static_cast<int32_t>(Round(r));
}

} // namespace

bool TextToReal(const std::string& text, double& out)
{
    std::string t = Trimmed(text);
    if (t.empty())
        return false;
    for (char& c : t)
        if (c == ',')
            c = '.';
    // Only plain decimal forms: no hexadecimal floats, no "inf" or "nan" words.
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e'
              || c == 'E'))
            return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double ToReal(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty: return 0.0;
    case Tag::Integer: return v.i;
    case Tag::Real: return v.r;
    case Tag::Boolean: return v.b ? -1.0 : 0.0;
    case Tag::String: {
        double r = 0;
        if (!TextToReal(v.s, r))
            CannotConvert(v.tag, "Double");
        return r;
    }
    }
    return 0.0;
}

int32_t ToInteger(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty: return 0;
    case Tag::Integer: return v.i;
    case Tag::Real: return RealToInteger(v.r);
    case Tag::Boolean: return v.b ? -1 : 0;
    case Tag::String: {
        int32_t i = 0;
        if (TextToInteger(v.s, i))
            return i;
        double r = 0;
        if (!TextToReal(v.s, r))
            CannotConvert(v.tag, "Integer");
        return RealToInteger(r);
    }
    }
    return 0;
}

bool ToBoolean(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty: return false;
    case Tag::Integer: return v.i != 0;
    case Tag::Real: return v.r != 0.0;
    case Tag::Boolean: return v.b;
    case Tag::String: {
        std::string t = Trimmed(v.s);
        for (char& c : t)
            c = AsciiLower(c);
        if (t == "true")
            return true;
        if (t == "false")
            return false;
        double r = 0;
        if (!TextToReal(v.s, r))
            CannotConvert(v.tag, "Boolean");
        return r != 0.0;
    }
    }
    return false;
}

std::string ToString(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty: return {};
    case Tag::Integer: return std::to_string(v.i);
    case Tag::Real: return FloatToStr(v.r);
    case Tag::Boolean: return v.b ? "True" : "False";
    case Tag::String: return v.s;
    }
    return {};
}

std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // "1E+20" -> "1E20", "1E-05" -> "1E-5".
    const size_t e = text.find('E');
    if (e == std::string::npos)
        return text;
    std::string mantissa = text.substr(0, e);
    const char sign = text[e + 1];
    size_t digits = e + 2;
    while (digits + 1 < text.size() && text[digits] == '0')
        ++digits;
    return mantissa + "E" + (sign == '-' ? "-" : "") + text.substr(digits);
}

} // namespace script
