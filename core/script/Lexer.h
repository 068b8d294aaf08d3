#pragma once
// Splits a script text into tokens: names, keywords, numbers, quoted strings and symbols,
// skipping blanks and the three kinds of comments. Names and keywords compare without case.
#include "core/script/Fault.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace script {

enum class Tok : uint8_t {
    End, Ident, IntLit, RealLit, StrLit,
    // symbols
    Plus, Minus, Star, Slash, Eq, Ne, Lt, Gt, Le, Ge, LParen, RParen, LBracket, RBracket,
    Comma, Semicolon, Colon, Assign, Dot, DotDot,
    // keywords
    KwAnd, KwBegin, KwBreak, KwCase, KwConst, KwContinue, KwDiv, KwDo, KwDownto, KwElse, KwEnd,
    KwExit, KwFor, KwFunction, KwIf, KwMod, KwNot, KwOf, KwOr, KwProcedure, KwRepeat, KwShl,
    KwShr, KwThen, KwTo, KwUntil, KwVar, KwWhile, KwXor,
    // words the language reserves but does not support
    KwReserved,
};

struct Token {
    Tok kind = Tok::End;
    SourcePos pos;
    std::string text;    // the name as written, a string literal's value, or the word itself
    std::string key;     // a name in lower case (the symbol tables' key)
    int64_t intValue = 0;
    double realValue = 0.0;
};

// How a token reads in a message: "'begin'", "конец текста", "число 12".
std::string Describe(const Token& token);
// How a token kind reads in a message ("';'").
std::string Describe(Tok kind);
// How a symbol or keyword is written ("<>", "div"); nullptr for names, literals and the end.
const char* Spelling(Tok kind);

class Lexer {
public:
    explicit Lexer(std::string_view text);
    // The next token; raises CompileError on a bad character, number or unclosed comment/string.
    Token Next();

private:
    char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
    void Advance();
    void SkipBlanksAndComments();
    Token Number(SourcePos start);
    Token Name(SourcePos start);
    Token String(SourcePos start);
    SourcePos Here() const { return {line_, column_}; }

    std::string_view text_;
    size_t pos_ = 0;
    uint32_t line_ = 1;
    uint32_t column_ = 1;
};

} // namespace script
