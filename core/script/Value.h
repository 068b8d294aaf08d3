#pragma once
// The script engine's value: one slot of the machine's stack, of a variable or of a variant.
// Statically typed code reads only the member its type names; a variant also keeps its tag.
#include <cstdint>
#include <string>

namespace script {

// Static types of the language.
enum class TypeKind : uint8_t { Void, Integer, Real, String, Boolean, Variant };

// Dynamic tag of a variant (and of any value handed to or from the host).
enum class Tag : uint8_t { Empty, Integer, Real, String, Boolean };

const char* TypeName(TypeKind type);
const char* TagName(Tag tag);

struct Value {
    Tag tag = Tag::Empty;
    union {
        double r = 0.0;
        int32_t i;
        bool b;
        uint64_t bits;   // the whole scalar, for copies that need not know its type
    };
    std::string s;

    Value() = default;
    static Value Integer(int32_t v) { Value x; x.tag = Tag::Integer; x.i = v; return x; }
    static Value Real(double v) { Value x; x.tag = Tag::Real; x.r = v; return x; }
    static Value Boolean(bool v) { Value x; x.tag = Tag::Boolean; x.b = v; return x; }
    static Value String(std::string v) { Value x; x.tag = Tag::String; x.s = std::move(v); return x; }

    // The zero value of a static type, tagged (a variant starts empty).
    static Value ZeroOf(TypeKind type);

    // Copies only what a scalar of a static type needs: cheaper than a whole copy.
    void CopyScalar(const Value& from) { tag = from.tag; bits = from.bits; }
};

// Conversions of a tagged value as a variant converts; a failed conversion raises Fault.
double ToReal(const Value& v);
int32_t ToInteger(const Value& v);
bool ToBoolean(const Value& v);
std::string ToString(const Value& v);

// The shortest text that reads back as the same number (up to 15 significant digits), with a
// point as the decimal separator and "E" exponents ("56.1", "1E20", "1E-5").
std::string FloatToStr(double value);

// Parses a whole text as a number; a comma is accepted as the decimal separator too.
bool TextToReal(const std::string& text, double& out);

} // namespace script
