#pragma once
// Finds the aggregate calls (AVG, COUNT, MAX, MIN, SUM) in an object's text and script, for
// page preparation to register them with their data bands. Dictionary variables are looked
// into: their values are expressions.
#include <QStringList>

#include "report/expr/FunctionSplitter.h"

class TAggregateFunctionsSplitter : public TrpFunctionSplitter {
public:
    TAggregateFunctionsSplitter(QStringList& foundCalls, const TrpVariables* variables);

    // Every bracketed expression of every line of an object's text.
    void SplitText(const QStringList& lines);
    // Every expression of a compiled script (TrpInterpretator::CompileScript).
    void SplitScript(const QStringList& compiledScript);

    static const QStringList& AggregateNames();
};
