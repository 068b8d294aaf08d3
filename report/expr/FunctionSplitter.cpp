#include "report/expr/FunctionSplitter.h"

#include "report/expr/Parser.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/Variables.h"

TrpFunctionSplitter::TrpFunctionSplitter(const QStringList& functionNames, QStringList& foundCalls,
                                         const TrpVariables* variables)
    : functionNames_(functionNames), foundCalls_(foundCalls), variables_(variables)
{
}

void TrpFunctionSplitter::Split(const QString& expression)
{
    SplitNested(expression, 0);
}

bool TrpFunctionSplitter::VariableText(const QString& name, QString& text) const
{
    if (!variables_ || name.isEmpty())
        return false;
    const int i = variables_->IndexOf(name);
    if (i < 0)
        return false;
    text = VarToStr(variables_->ValueAt(i));
    return true;
}

void TrpFunctionSplitter::SplitNested(const QString& expression, int depth)
{
    if (depth > kMaxNesting)
        throw EParserError(QStringLiteral("Expression error: variables nested more than %1 deep (a variable that refers to itself?)")
                               .arg(kMaxNesting));
    const QString s = expression.trimmed();
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        // Blanks are passed first, so a bracket after an operator and a blank is still seen.
        while (i < n && s[i].unicode() <= ' ')
            ++i;
        if (i >= n)
            break;
        const int before = i;
        if (s[i] == QLatin1Char('\'')) {
            // A quoted text holds no calls, whatever it reads like.
            TrpParser::ScanQuotedString(s, i);
            continue;
        }
        if (s[i] == QLatin1Char('[')) {
            int start = i, end = i;
            QString inner = ScanBracketedExpression(s, start, end);
            VariableText(inner, inner);
            SplitNested(inner, depth + 1);
            i = end + 1;
            continue;
        }
        const QString operand = TrpParser::ScanOperand(s, i);
        const int operandStart = i - int(operand.size());
        QString text;
        if (i < n && s[i] == QLatin1Char('(')) {
            QString p1, p2, p3;
            TrpParser::ScanParameters(s, i, p1, p2, p3);
            for (const QString& p : {p1, p2, p3})
                SplitNested(p, depth + 1);
            if (functionNames_.contains(operand, Qt::CaseInsensitive))
                foundCalls_.append(s.mid(operandStart, i - operandStart));
        } else if (VariableText(operand, text)) {
            SplitNested(text, depth + 1);
        } else if (i < n && QStringLiteral("\r *+-/<=>").contains(s[i])) {
            ++i;
        } else if (operand.isEmpty()) {
            return;
        }
        if (i == before)
            ++i;
    }
}
