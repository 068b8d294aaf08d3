#include "core/script/Lexer.h"

#include "base/CodePage.h"
#include "core/script/Ascii.h"

#include <cctype>
#include <unordered_map>
#include <cmath>
#include <cstdlib>

namespace script {

namespace {

struct Keyword {
    const char* word;
    Tok kind;
};

constexpr Keyword kKeywords[] = {
    {"and", Tok::KwAnd},         {"begin", Tok::KwBegin},   {"break", Tok::KwBreak},
    {"case", Tok::KwCase},       {"const", Tok::KwConst},   {"continue", Tok::KwContinue},
    {"div", Tok::KwDiv},         {"do", Tok::KwDo},         {"downto", Tok::KwDownto},
    {"else", Tok::KwElse},       {"end", Tok::KwEnd},       {"exit", Tok::KwExit},
    {"for", Tok::KwFor},         {"function", Tok::KwFunction}, {"if", Tok::KwIf},
    {"mod", Tok::KwMod},         {"not", Tok::KwNot},       {"of", Tok::KwOf},
    {"or", Tok::KwOr},           {"procedure", Tok::KwProcedure}, {"repeat", Tok::KwRepeat},
    {"shl", Tok::KwShl},         {"shr", Tok::KwShr},       {"then", Tok::KwThen},
    {"to", Tok::KwTo},           {"until", Tok::KwUntil},   {"var", Tok::KwVar},
    {"while", Tok::KwWhile},     {"xor", Tok::KwXor},
    // Reserved in the language family, not supported by this engine: a clear error, not a
    // confusing "unknown name".
    {"array", Tok::KwReserved},  {"record", Tok::KwReserved}, {"type", Tok::KwReserved},
    {"with", Tok::KwReserved},   {"goto", Tok::KwReserved},   {"label", Tok::KwReserved},
    {"uses", Tok::KwReserved},   {"program", Tok::KwReserved}, {"unit", Tok::KwReserved},
    {"in", Tok::KwReserved},     {"nil", Tok::KwReserved},    {"try", Tok::KwReserved},
    {"except", Tok::KwReserved}, {"finally", Tok::KwReserved}, {"raise", Tok::KwReserved},
    {"class", Tok::KwReserved},  {"set", Tok::KwReserved},    {"file", Tok::KwReserved},
    {"interface", Tok::KwReserved}, {"implementation", Tok::KwReserved},
    {"packed", Tok::KwReserved}, {"object", Tok::KwReserved}, {"out", Tok::KwReserved},
};

const char* SymbolText(Tok kind)
{
    switch (kind) {
    case Tok::Plus: return "+";
    case Tok::Minus: return "-";
    case Tok::Star: return "*";
    case Tok::Slash: return "/";
    case Tok::Eq: return "=";
    case Tok::Ne: return "<>";
    case Tok::Lt: return "<";
    case Tok::Gt: return ">";
    case Tok::Le: return "<=";
    case Tok::Ge: return ">=";
    case Tok::LParen: return "(";
    case Tok::RParen: return ")";
    case Tok::LBracket: return "[";
    case Tok::RBracket: return "]";
    case Tok::Comma: return ",";
    case Tok::Semicolon: return ";";
    case Tok::Colon: return ":";
    case Tok::Assign: return ":=";
    case Tok::Dot: return ".";
    case Tok::DotDot: return "..";
    default: return nullptr;
    }
}

// The keyword a lower-case word is, or Ident.
Tok KeywordKind(const std::string& key)
{
    static const std::unordered_map<std::string_view, Tok> table = [] {
        std::unordered_map<std::string_view, Tok> m;
        for (const auto& k : kKeywords)
            m.emplace(k.word, k.kind);
        return m;
    }();
    if (key.size() > 14)
        return Tok::Ident;
    const auto it = table.find(key);
    return it == table.end() ? Tok::Ident : it->second;
}

} // namespace

const char* Spelling(Tok kind)
{
    if (const char* symbol = SymbolText(kind))
        return symbol;
    for (const auto& k : kKeywords)
        if (k.kind == kind && kind != Tok::KwReserved)
            return k.word;
    return nullptr;
}

std::string Describe(Tok kind)
{
    if (const char* spelling = Spelling(kind))
        return std::string("'") + spelling + "'";
    switch (kind) {
    case Tok::End: return "конец текста";
    case Tok::Ident: return "имя";
    case Tok::IntLit:
    case Tok::RealLit: return "число";
    case Tok::StrLit: return "строка";
    default: return "слово";
    }
}

std::string Describe(const Token& token)
{
    switch (token.kind) {
    case Tok::Ident:
    case Tok::KwReserved: return "'" + token.text + "'";
    case Tok::IntLit:
    case Tok::RealLit: return "число " + token.text;
    case Tok::StrLit: return "строка '" + token.text + "'";
    default: return Describe(token.kind);
    }
}

Lexer::Lexer(std::string_view text) : text_(text) {}

void Lexer::Advance()
{
    const char c = text_[pos_++];
    if (c == '\n') {
        ++line_;
        column_ = 1;
    } else if (c == '\r') {
        if (Peek() != '\n') {
            ++line_;
            column_ = 1;
        }
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        ++column_;   // columns count characters, not the bytes of UTF-8
    }
}

void Lexer::SkipBlanksAndComments()
{
    for (;;) {
        const char c = Peek();
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            Advance();
        } else if (c == '/' && Peek(1) == '/') {
            // Comments are most of a typical procedure's text: skip to the line's end at once.
            size_t stop = pos_;
            while (stop < text_.size() && text_[stop] != '\n' && text_[stop] != '\r')
                ++stop;
            for (size_t i = pos_; i < stop; ++i)
                column_ += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80 ? 1 : 0;
            pos_ = stop;
        } else if (c == '{' || (c == '(' && Peek(1) == '*')) {
            const SourcePos start = Here();
            const bool brace = c == '{';
            Advance();
            if (!brace)
                Advance();
            for (;;) {
                if (pos_ >= text_.size())
                    throw CompileError("незакрытый комментарий", start);
                if (brace && Peek() == '}') {
                    Advance();
                    break;
                }
                if (!brace && Peek() == '*' && Peek(1) == ')') {
                    Advance();
                    Advance();
                    break;
                }
                Advance();
            }
        } else {
            return;
        }
    }
}

Token Lexer::Next()
{
    SkipBlanksAndComments();
    const SourcePos start = Here();
    Token t;
    t.pos = start;
    if (pos_ >= text_.size())
        return t;
    const char c = Peek();
    if (IsDigit(c) || c == '$')
        return Number(start);
    if (IsNameStart(c))
        return Name(start);
    if (c == '\'' || c == '#')
        return String(start);
    auto one = [&](Tok kind) {
        Advance();
        t.kind = kind;
        return t;
    };
    auto two = [&](Tok kind) {
        Advance();
        Advance();
        t.kind = kind;
        return t;
    };
    switch (c) {
    case '+': return one(Tok::Plus);
    case '-': return one(Tok::Minus);
    case '*': return one(Tok::Star);
    case '/': return one(Tok::Slash);
    case '=': return one(Tok::Eq);
    case '(': return one(Tok::LParen);
    case ')': return one(Tok::RParen);
    case '[': return one(Tok::LBracket);
    case ']': return one(Tok::RBracket);
    case ',': return one(Tok::Comma);
    case ';': return one(Tok::Semicolon);
    case '<': return Peek(1) == '>' ? two(Tok::Ne) : Peek(1) == '=' ? two(Tok::Le) : one(Tok::Lt);
    case '>': return Peek(1) == '=' ? two(Tok::Ge) : one(Tok::Gt);
    case ':': return Peek(1) == '=' ? two(Tok::Assign) : one(Tok::Colon);
    case '.': return Peek(1) == '.' ? two(Tok::DotDot) : one(Tok::Dot);
    default: break;
    }
    std::string shown(1, c);
    size_t n = 1;
    while ((static_cast<unsigned char>(Peek(n)) & 0xC0) == 0x80)
        shown += Peek(n++);
    throw CompileError("недопустимый символ '" + shown + "'", start);
}

Token Lexer::Number(SourcePos start)
{
    Token t;
    t.pos = start;
    const size_t begin = pos_;
    if (Peek() == '$') {
        Advance();
        uint64_t v = 0;
        size_t digits = 0;
        while (IsHexDigit(Peek())) {
            v = v * 16 + static_cast<uint64_t>(HexValue(Peek()));
            ++digits;
            Advance();
        }
        t.text = std::string(text_.substr(begin, pos_ - begin));
        if (digits == 0)
            throw CompileError("ожидались шестнадцатеричные цифры после '$'", start);
        if (digits > 8)
            throw CompileError("слишком большое число " + t.text, start);
        t.intValue = static_cast<int64_t>(v);
    } else {
        while (IsDigit(Peek()))
            Advance();
        bool real = false;
        if (Peek() == '.' && IsDigit(Peek(1))) {
            real = true;
            Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            const size_t sign = (Peek(1) == '+' || Peek(1) == '-') ? 1 : 0;
            if (IsDigit(Peek(1 + sign))) {
                real = true;
                Advance();
                if (sign)
                    Advance();
                while (IsDigit(Peek()))
                    Advance();
            }
        }
        t.text = std::string(text_.substr(begin, pos_ - begin));
        t.realValue = std::strtod(t.text.c_str(), nullptr);
        if (real) {
            if (!std::isfinite(t.realValue))
                throw CompileError("слишком большое число " + t.text, start);
            t.kind = Tok::RealLit;
            return t;
        }
        if (t.realValue > INT32_MAX) {
            // Whole numbers beyond the integer range are real constants.
            if (!std::isfinite(t.realValue))
                throw CompileError("слишком большое число " + t.text, start);
            t.kind = Tok::RealLit;
            return t;
        }
        t.intValue = std::strtoll(t.text.c_str(), nullptr, 10);
    }
    if (t.intValue > INT32_MAX) {
        t.kind = Tok::RealLit;
        t.realValue = static_cast<double>(t.intValue);
        return t;
    }
    t.kind = Tok::IntLit;
    return t;
}

Token Lexer::Name(SourcePos start)
{
    Token t;
    t.pos = start;
    const size_t begin = pos_;
    size_t end = pos_;
    while (end < text_.size() && IsNamePart(text_[end]))
        ++end;
    // Names are ASCII: one column per byte.
    column_ += static_cast<uint32_t>(end - pos_);
    pos_ = end;
    t.text = std::string(text_.substr(begin, pos_ - begin));
    t.key = t.text;
    for (char& ch : t.key)
        ch = AsciiLower(ch);
    t.kind = KeywordKind(t.key);
    return t;
}

Token Lexer::String(SourcePos start)
{
    // 'text' with '' for a quote, joined with #code characters: 'a'#13#10'b'.
    Token t;
    t.pos = start;
    t.kind = Tok::StrLit;
    for (;;) {
        if (Peek() == '\'') {
            const SourcePos open = Here();
            Advance();
            for (;;) {
                if (pos_ >= text_.size() || Peek() == '\n' || Peek() == '\r')
                    throw CompileError("незакрытая строка", open);
                if (Peek() == '\'') {
                    if (Peek(1) == '\'') {
                        t.text += '\'';
                        Advance();
                        Advance();
                        continue;
                    }
                    Advance();
                    break;
                }
                t.text += Peek();
                Advance();
            }
        } else if (Peek() == '#') {
            const SourcePos at = Here();
            Advance();
            const bool hex = Peek() == '$';
            if (hex)
                Advance();
            uint32_t code = 0;
            size_t digits = 0;
            while (hex ? IsHexDigit(Peek()) : IsDigit(Peek())) {
                code = code * (hex ? 16 : 10) + static_cast<uint32_t>(HexValue(Peek()));
                if (code > 0xFFFF)
                    throw CompileError("код символа больше 65535", at);
                ++digits;
                Advance();
            }
            if (digits == 0)
                throw CompileError("ожидался код символа после '#'", at);
            AppendUtf8(t.text, code);
        } else {
            return t;
        }
    }
}

} // namespace script
