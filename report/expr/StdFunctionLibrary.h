#pragma once
// The standard library of report functions: text, date, number, dialog and aggregate
// functions. An aggregate call (SUM, MIN, MAX, AVG, COUNT) registers its value with a data band
// while page preparation scans the texts, and reads the accumulated value while the page is
// built (Aggregates.h).
#include "base/DateTime.h"
#include "report/expr/FunctionLibrary.h"

class TrpStdFunctionLibrary : public TrpFunctionLibrary {
public:
    // Function numbers, in List order.
    enum : int {
        fnAvg, fnCount, fnDayOf, fnFormatDateTime, fnFormatFloat, fnFormatText, fnInput, fnLength, fnLowerCase,
        fnMax, fnMaxNum, fnMessageBox, fnMin, fnMinNum, fnMonthOf, fnNameCase, fnPos, fnSum, fnTrim,
        fnUpperCase, fnYearOf
    };

    explicit TrpStdFunctionLibrary(TrpRunContext& context);

    QString ClassName() const override { return QStringLiteral("TrpStdFunctionLibrary"); }
    void CallFunction(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                      QVariant& value) override;

private:
    // The aggregate of an operation: the expression (none for COUNT), the band name and the
    // flag as written in the call.
    void Aggregate(int operation, const QVariant& expression, const QVariant& bandName, const QVariant& flag,
                   QVariant& value);
    TDateTime DateParameter(int functionNo, const QVariant& parameter) const;
    // A number that can be compared (not NaN), for MAXNUM and MINNUM.
    double ComparableNumber(int functionNo, const QVariant& value) const;
};
