#pragma once
// Report expressions: the bracket scanner, the conversion of an infix expression into a
// postfix string, and its evaluation. The parser knows no names and only the functions COPY,
// IF, STRTODATE and STRTOTIME: every name goes to OnGetValue, every other call to OnFunction.
//
// Postfix string: an operand is its text and a blank (a number, a name, a quoted string, a
// bracketed name "[...]"); a function call is its whole source text, name to closing
// parenthesis, without a blank; an operator is one character (the codes below, or
// "*", "+", "-", "/", "<", "=", ">").
//
// Priorities (smaller binds tighter, equal ones group from the left): INT FRAC STR ROUND 0;
// * / AND OR NOT MOD 1; + - and the prefix signs 2; comparisons 3. So a > 1 and b < 2 is
// ((a > (1 and b)) < 2): conditions need parentheses. Comparisons give the integers 1 and 0.
#include <functional>

#include <QString>
#include <QStringView>
#include <QVariant>

namespace ParserOp {
constexpr char16_t GreaterEqual = 1;
constexpr char16_t LessEqual = 2;
constexpr char16_t NotEqual = 3;
constexpr char16_t Or = 4;
constexpr char16_t And = 5;
constexpr char16_t Int = 6;
constexpr char16_t Frac = 7;
constexpr char16_t Negate = 9;
constexpr char16_t Plus = 10;
constexpr char16_t Str = 11;
constexpr char16_t Not = 12;
constexpr char16_t Mod = 13;
constexpr char16_t Round = 14;
}  // namespace ParserOp

// The value of a name; the value arrives preset to null.
using TGetValueEvent = std::function<void(const QString& name, QVariant& value)>;
// A call the parser does not know: the name in upper case, the texts of up to three parameter
// expressions (unevaluated; empty strings when absent); the result arrives preset to null.
using TFunctionEvent = std::function<void(const QString& name, const QVariant& p1, const QVariant& p2,
                                          const QVariant& p3, QVariant& value)>;

// From the "[" at start (0-based) to its matching "]" (brackets inside apostrophes or double
// quotes do not count): the text between them; end is left on the closing bracket. A start
// past the text, or one that holds no "[", gives "" with end = start.
QString ScanBracketedExpression(const QString& text, int& start, int& end);

class TrpParser {
public:
    TGetValueEvent OnGetValue;
    TFunctionEvent OnFunction;

    QString ToPostfix(const QString& infix) const;
    QVariant EvaluatePostfix(const QString& postfix);
    QVariant Evaluate(const QString& infix) { return EvaluatePostfix(ToPostfix(infix)); }

    // Skips characters up to code 32, then takes characters up to the next carriage return,
    // blank, "(", ")", "*", "+", "-", "/", "<", "=", ">", "[" or ";" (not counting those
    // inside double quotes). The position is left on the delimiter. The ";" ends an operand
    // too, so that "a; b" ends after a.
    static QString ScanOperand(const QString& text, int& position);
    // From the apostrophe at position to its closing one (doubled apostrophes do not close),
    // both included; the position is left after it.
    static QString ScanQuotedString(const QString& text, int& position);
    // From the "(" at position: the texts of up to three parameters (a fourth and later ones
    // stay in the third). The position is left after the closing parenthesis; an unclosed
    // call raises EParserError with an empty message.
    static void ScanParameters(const QString& text, int& position, QString& p1, QString& p2, QString& p3);

    // Pending values one evaluation may hold, and nested evaluations (IF and COPY arguments,
    // names that are expressions themselves) one parser may run.
    static constexpr int kStackSize = 32;
    static constexpr int kMaxNesting = 128;

private:
    class Evaluation;
    static QStringView ScanOperandView(const QString& text, int& position);
    QVariant Value(const QString& name);
    QVariant Call(const QString& name, const QString& p1, const QString& p2, const QString& p3);

    int nesting_ = 0;
};
