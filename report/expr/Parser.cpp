#include "report/expr/Parser.h"

#include <cmath>
#include <vector>

#include <QVarLengthArray>

#include "base/Rounding.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/TextRoutines.h"
#include "report/expr/VariantOps.h"

namespace {

constexpr char16_t kOpenParen = '(';

bool IsOperandDelimiter(char16_t c)
{
    switch (c) {
    case '\r': case ' ': case '(': case ')': case '*': case '+': case '-': case '/':
    case '<': case '=': case '>': case '[': case ';':
        return true;
    default:
        return false;
    }
}

int Priority(char16_t op)
{
    switch (op) {
    case ParserOp::Int: case ParserOp::Frac: case ParserOp::Str: case ParserOp::Round:
        return 0;
    case ParserOp::Or: case ParserOp::And: case ParserOp::Not: case ParserOp::Mod: case '*': case '/':
        return 1;
    case ParserOp::Negate: case ParserOp::Plus: case '+': case '-':
        return 2;
    case ParserOp::GreaterEqual: case ParserOp::LessEqual: case ParserOp::NotEqual: case '<': case '=': case '>':
        return 3;
    case kOpenParen:
        return 5;
    default:
        return 4;
    }
}

// The operator a keyword operand stands for, or 0.
char16_t KeywordOperator(const QString& word)
{
    static const std::pair<const char*, char16_t> keywords[] = {
        {"INT", ParserOp::Int}, {"FRAC", ParserOp::Frac}, {"ROUND", ParserOp::Round},
        {"OR", ParserOp::Or}, {"AND", ParserOp::And}, {"NOT", ParserOp::Not},
        {"STR", ParserOp::Str}, {"MOD", ParserOp::Mod}};
    if (word.size() < 2 || word.size() > 5)
        return 0;
    for (const auto& [name, code] : keywords)
        if (word.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return code;
    return 0;
}

bool StartsNumber(QStringView text)
{
    if (text.isEmpty())
        return false;
    const QChar c = text[0];
    return c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('.');
}

bool IsDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}

// Whether the sign at text[sign] belongs to a number's exponent ("1e-300"): the operand so far,
// from start, is digits and separators closed by E, and a digit follows the sign.
bool IsExponentSign(const QString& text, int start, int sign)
{
    if (sign - start < 2 || sign + 1 >= text.size() || !IsDigit(text[sign + 1].unicode()))
        return false;
    const char16_t e = text[sign - 1].unicode();
    if (e != 'e' && e != 'E')
        return false;
    bool hasDigit = false;
    for (int i = start; i < sign - 1; ++i) {
        const char16_t c = text[i].unicode();
        if (!IsDigit(c) && c != ',' && c != '.')
            return false;
        hasDigit = hasDigit || IsDigit(c);
    }
    return hasDigit;
}

// The operator stack of the conversion; its top is the back.
class OperatorStack {
public:
    explicit OperatorStack(QString& output) : output_(output) {}

    void Place(char16_t op)
    {
        const int p = Priority(op);
        if (!stack_.empty() && p >= Priority(stack_.back()))
            while (!stack_.empty() && p >= Priority(stack_.back()))
                Emit();
        stack_.push_back(op);
    }
    void OpenParen() { stack_.push_back(kOpenParen); }
    void CloseParen()
    {
        bool hasOpen = false;
        for (char16_t op : stack_)
            hasOpen = hasOpen || op == kOpenParen;
        if (!hasOpen)
            return;
        while (stack_.back() != kOpenParen)
            Emit();
        stack_.pop_back();
    }
    void Flush()
    {
        while (!stack_.empty())
            Emit();
    }

private:
    void Emit()
    {
        output_ += QChar(stack_.back());
        stack_.pop_back();
    }
    QString& output_;
    std::vector<char16_t> stack_;
};

// A value within 1e-10 of a whole number counts as that number. NaN raises; values beyond the
// integers (infinities too) are whole already.
double IntPart(double x)
{
    const double r = RoundToWhole(x);
    return std::fabs(r - x) < 1e-10 ? r : std::trunc(x);
}

double FracPart(double x)
{
    const double r = RoundToWhole(x);
    if (std::isinf(r) || std::fabs(r - x) < 1e-10)
        return 0.0;
    return x - std::trunc(x);
}

QString Unquote(const QString& quoted)
{
    QString body = quoted.mid(1, quoted.endsWith(QLatin1Char('\'')) && quoted.size() >= 2 ? quoted.size() - 2 : -1);
    return body.replace(QStringLiteral("''"), QStringLiteral("'"));
}

int TextToInt(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

}  // namespace

QString ScanBracketedExpression(const QString& text, int& start, int& end)
{
    const int n = int(text.size());
    end = start;
    if (start < 0 || start >= n || text[start] != QLatin1Char('['))
        return QString();
    bool outsideApostrophes = true;
    bool outsideQuotes = true;
    int depth = 0;
    end = start - 1;
    do {
        ++end;
        const char16_t c = text[end].unicode();
        if (outsideApostrophes && outsideQuotes) {
            if (c == '[') {
                if (depth == 0)
                    start = end;
                ++depth;
            } else if (c == ']') {
                --depth;
            }
        }
        if (outsideApostrophes && c == '"')
            outsideQuotes = !outsideQuotes;
        if (outsideQuotes && c == '\'')
            outsideApostrophes = !outsideApostrophes;
    } while (depth != 0 && end < n - 1);
    return text.mid(start + 1, std::max(0, end - start - 1));
}

QString TrpParser::ScanOperand(const QString& text, int& position)
{
    return ScanOperandView(text, position).toString();
}

QStringView TrpParser::ScanOperandView(const QString& text, int& position)
{
    const int n = int(text.size());
    while (position < n && text[position].unicode() <= ' ')
        ++position;
    const int start = position;
    int quotes = 0;
    while (position < n) {
        const char16_t c = text[position].unicode();
        if (c == '"')
            ++quotes;
        else if (quotes % 2 == 0 && IsOperandDelimiter(c)
                 && !((c == '-' || c == '+') && IsExponentSign(text, start, position)))
            break;
        ++position;
    }
    return QStringView(text).mid(start, position - start);
}

QString TrpParser::ScanQuotedString(const QString& text, int& position)
{
    const int n = int(text.size());
    const int start = position;
    int p = position + 1;
    while (p < n) {
        if (text[p] == QLatin1Char('\'')) {
            if (p + 1 < n && text[p + 1] == QLatin1Char('\'')) {
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        ++p;
    }
    position = p;
    return text.mid(start, p - start);
}

void TrpParser::ScanParameters(const QString& text, int& position, QString& p1, QString& p2, QString& p3)
{
    QString* params[] = {&p1, &p2, &p3};
    for (QString* p : params)
        p->clear();
    const int n = int(text.size());
    int depth = 0;
    int index = 0;
    int partStart = position + 1;
    bool insideApostrophes = false;
    for (int p = position; p < n; ++p) {
        const char16_t c = text[p].unicode();
        if (c == '\'') {
            insideApostrophes = !insideApostrophes;
        } else if (!insideApostrophes) {
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0) {
                    *params[index] = text.mid(partStart, p - partStart);
                    position = p + 1;
                    return;
                }
            } else if (c == ',' && depth == 1 && index < 2) {
                *params[index++] = text.mid(partStart, p - partStart);
                partStart = p + 1;
            }
        }
    }
    throw EParserError(std::string());
}

QString TrpParser::ToPostfix(const QString& s) const
{
    QString out;
    OperatorStack ops(out);
    bool operandPrecedes = false;
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const char16_t c = s[i].unicode();
        if (c == '\r' || c == ' ') {
            ++i;
        } else if (c == ';') {
            break;
        } else if (c == '(') {
            ops.OpenParen();
            operandPrecedes = false;
            ++i;
        } else if (c == ')') {
            ops.CloseParen();
            ++i;
        } else if (c == '*' || c == '+' || c == '-' || c == '/' || c == '<' || c == '=' || c == '>') {
            char16_t op = c;
            const char16_t next = i + 1 < n ? s[i + 1].unicode() : 0;
            if (c == '<' && next == '>')
                op = ParserOp::NotEqual;
            else if (c == '>' && next == '=')
                op = ParserOp::GreaterEqual;
            else if (c == '<' && next == '=')
                op = ParserOp::LessEqual;
            i += op == c ? 1 : 2;
            if (!operandPrecedes && op == '-')
                op = ParserOp::Negate;
            else if (!operandPrecedes && op == '+')
                op = ParserOp::Plus;
            operandPrecedes = false;
            ops.Place(op);
        } else {
            while (i < n && s[i].unicode() <= ' ')
                ++i;
            if (i >= n)
                break;
            operandPrecedes = true;
            const int start = i;
            QString text;
            if (s[i] == QLatin1Char('%')) {
                text = s.mid(i, 2);
                i += 2;
            }
            if (i < n && s[i] == QLatin1Char('\'')) {
                text += ScanQuotedString(s, i);
            } else if (i < n && s[i] == QLatin1Char('[')) {
                int bracket = i, end = i;
                text += QLatin1Char('[') + ScanBracketedExpression(s, bracket, end) + QLatin1Char(']');
                i = end + 1;
            } else {
                text += ScanOperand(s, i);
                if (i < n && s[i] == QLatin1Char('[')) {
                    int bracket = i, end = i;
                    text += QLatin1Char('[') + ScanBracketedExpression(s, bracket, end) + QLatin1Char(']');
                    i = end + 1;
                }
            }
            if (StartsNumber(text)) {
                out += text + QLatin1Char(' ');
            } else if (const char16_t op = KeywordOperator(text)) {
                operandPrecedes = false;
                ops.Place(op);
            } else if (i < n && s[i] == QLatin1Char('(')) {
                QString p1, p2, p3;
                ScanParameters(s, i, p1, p2, p3);
                out += s.mid(start, i - start);
            } else {
                out += text + QLatin1Char(' ');
            }
            if (i == start)
                ++i;   // never stand still on a character no rule takes
        }
    }
    ops.Flush();
    return out;
}

// One run over a postfix string: a fixed stack of pending values, slot 0 preset to the
// integer 0 and holding the result.
class TrpParser::Evaluation {
public:
    Evaluation(TrpParser& parser, const QString& postfix) : parser_(parser), s_(postfix) {}

    QVariant Run()
    {
        const int n = int(s_.size());
        int i = 0;
        while (i < n) {
            const char16_t c = s_[i].unicode();
            if (Binary(c) || Unary(c) || c == ' ' || c == ParserOp::Plus) {
                ++i;
            } else if (c == '[') {
                int start = i, end = i;
                const QString name = ScanBracketedExpression(s_, start, end);
                Push(parser_.Value(name));
                i = end + 1;
            } else if (c == '\'') {
                Push(Unquote(ScanQuotedString(s_, i)));
                ++i;
            } else {
                i = Operand(i);
            }
        }
        return count_ > 0 ? slots_[0] : QVariant(0);
    }

private:
    // The operators that take the two top values; false for any other character.
    bool Binary(char16_t c)
    {
            switch (c) {
        case ParserOp::GreaterEqual: Compare([](int r) { return r >= 0; }); return true;
        case ParserOp::LessEqual: Compare([](int r) { return r <= 0; }); return true;
        case ParserOp::NotEqual: Compare([](int r) { return r != 0; }); return true;
        case '<': Compare([](int r) { return r < 0; }); return true;
        case '=': Compare([](int r) { return r == 0; }); return true;
        case '>': Compare([](int r) { return r > 0; }); return true;
        case ParserOp::Or: Combine(VarOr); return true;
        case ParserOp::And: Combine(VarAnd); return true;
        case ParserOp::Mod: Combine(VarMod); return true;
        case '*': Combine(VarMul); return true;
        case '+': Combine(VarAdd); return true;
        case '-': Combine(VarSub); return true;
        case '/':
            Combine([](const QVariant& a, const QVariant& b) { return VarEqualsZero(b) ? QVariant(0) : VarDiv(a, b); });
            return true;
        default:
            return false;
        }
    }

    bool Unary(char16_t c)
    {
            switch (c) {
        case ParserOp::Int: Top() = IntPart(VarToReal(Top())); return true;
        case ParserOp::Frac: Top() = FracPart(VarToReal(Top())); return true;
        case ParserOp::Round: Top() = RoundToWhole(VarToReal(Top())); return true;
        case ParserOp::Negate: Top() = VarNeg(Top()); return true;
        case ParserOp::Str: Top() = VarToStr(Top()); return true;
        case ParserOp::Not: Top() = VarEqualsZero(Top()) ? 1 : 0; return true;
        default: return false;
        }
    }

    // Scans one operand from i and pushes its value; returns the position of the next token.
    int Operand(int i)
    {
        const QStringView text = ScanOperandView(s_, i);
        const int n = int(s_.size());
        if (StartsNumber(text)) {
            Push(StrToFloatAnySep(text));
        } else if (text.size() == 4 && text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) {
            Push(true);
        } else if (text.size() == 5 && text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
            Push(false);
        } else if (i < n && s_[i] == QLatin1Char('[')) {
            int start = i, end = i;
            const QString index = ScanBracketedExpression(s_, start, end);
            Push(parser_.Evaluate(QStringLiteral("GETARRAY(") + text.toString() + QStringLiteral(", ") + index + QLatin1Char(')')));
            i = end;
        } else if (i < n && s_[i] == QLatin1Char('(')) {
            QString p1, p2, p3;
            ScanParameters(s_, i, p1, p2, p3);
            Push(parser_.Call(text.toString().toUpper(), p1, p2, p3));
            return i;   // already after the call: the next token starts here
        } else {
            Push(parser_.Value(text.toString().toUpper()));
        }
        return i + 1;
    }

    void Push(const QVariant& value)
    {
        if (count_ >= kStackSize)
            throw EParserError(QStringLiteral("Expression too complex: more than %1 pending values").arg(kStackSize));
        slots_.append(value);
        ++count_;
    }
    QVariant& Top()
    {
        if (count_ < 1)
            MissingOperand();
        return slots_[count_ - 1];
    }
    template <typename Op>
    void Combine(Op op)
    {
        if (count_ < 2)
            MissingOperand();
        slots_[count_ - 2] = op(slots_[count_ - 2], slots_[count_ - 1]);
        slots_.removeLast();
        --count_;
    }
    template <typename Test>
    void Compare(Test test)
    {
        Combine([&](const QVariant& a, const QVariant& b) { return QVariant(test(VarCompare(a, b)) ? 1 : 0); });
    }
    [[noreturn]] static void MissingOperand()
    {
        throw EParserError(QStringLiteral("Expression error: an operator lacks its operand"));
    }

    TrpParser& parser_;
    const QString& s_;
    // Only the values pending are built and destroyed, in place.
    QVarLengthArray<QVariant, kStackSize> slots_;
    int count_ = 0;
};

QVariant TrpParser::EvaluatePostfix(const QString& postfix)
{
    if (nesting_ >= kMaxNesting)
        throw EParserError(QStringLiteral("Expression error: more than %1 nested evaluations").arg(kMaxNesting));
    ++nesting_;
    try {
        QVariant result = Evaluation(*this, postfix).Run();
        --nesting_;
        return result;
    } catch (...) {
        --nesting_;
        throw;
    }
}

QVariant TrpParser::Value(const QString& name)
{
    QVariant value = VarNull();
    if (OnGetValue)
        OnGetValue(name, value);
    return value;
}

QVariant TrpParser::Call(const QString& name, const QString& p1, const QString& p2, const QString& p3)
{
    if (name == QLatin1String("COPY")) {
        const QString text = VarToStr(Evaluate(p1));
        const int from = std::max(1, TextToInt(VarToStr(Evaluate(p2))));
        const int count = TextToInt(VarToStr(Evaluate(p3)));
        return count <= 0 ? QString() : text.mid(from - 1, count);
    }
    if (name == QLatin1String("IF")) {
        const QVariant condition = Evaluate(p1);
        // A Boolean condition is taken as it is; anything else through its text as a number.
        const bool chosen = VarKind(condition) == TVarKind::Boolean
                                ? condition.toBool()
                                : std::trunc(StrToFloatAnySep(VarToStr(condition))) != 0;
        return Evaluate(chosen ? p2 : p3);
    }
    if (name == QLatin1String("STRTODATE") || name == QLatin1String("STRTOTIME")) {
        const bool isDate = name == QLatin1String("STRTODATE");
        const QString text = VarToStr(Evaluate(p1));
        TDateTime value = 0;
        if (isDate ? !TryStrToDate(text, value) : !TryStrToTime(text, value))
            throw ConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, isDate ? QStringLiteral("date") : QStringLiteral("time")));
        return VarFromDateTime(value);
    }
    QVariant value = VarNull();
    if (OnFunction)
        OnFunction(name, QVariant(p1), QVariant(p2), QVariant(p3), value);
    return value;
}
