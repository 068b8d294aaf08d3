#include "report/expr/AggregateFunctionsSplitter.h"

#include <algorithm>

#include "report/expr/Interpreter.h"
#include "report/expr/Parser.h"

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(QStringList& foundCalls, const TrpVariables* variables)
    : TrpFunctionSplitter(AggregateNames(), foundCalls, variables)
{
}

const QStringList& TAggregateFunctionsSplitter::AggregateNames()
{
    static const QStringList names{"AVG", "COUNT", "MAX", "MIN", "SUM"};
    return names;
}

void TAggregateFunctionsSplitter::SplitText(const QStringList& lines)
{
    for (const QString& line : lines) {
        int start = int(line.indexOf(QLatin1Char('[')));
        while (start >= 0) {
            int end = start;
            const QString expression = ScanBracketedExpression(line, start, end);
            Split(expression);
            start = int(line.indexOf(QLatin1Char('['), std::max(end, start) + 1));
        }
    }
}

void TAggregateFunctionsSplitter::SplitScript(const QStringList& compiledScript)
{
    TrpInterpretator interpreter;
    interpreter.SplitExpressions(compiledScript, AggregateNames(), foundCalls_, variables_);
}
