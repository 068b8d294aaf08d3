#include "report/expr/StdFunctionLibrary.h"

#include <cmath>

#include "base/FormatDateTime.h"
#include "report/engine/Aggregates.h"
#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/expr/EditMask.h"
#include "report/expr/FunctionDescriptions.h"
#include "report/expr/NumberFormat.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

struct TParameterRange {
    int least, most;
};

// The parameters each function takes, by function number.
constexpr TParameterRange kParameters[] = {
    {1, 3}, {0, 2}, {1, 1}, {2, 2}, {2, 2}, {2, 2}, {1, 2}, {1, 1}, {1, 1}, {1, 3}, {2, 2},
    {3, 3}, {1, 3}, {2, 2}, {1, 1}, {1, 1}, {2, 2}, {1, 3}, {1, 1}, {1, 1}, {1, 1},
};

// Blanks and control characters off both ends.
QString TrimBlanks(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first].unicode() <= ' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= ' ')
        --last;
    return text.mid(first, last - first);
}

QString NameCase(const QString& text)
{
    QString result = text.toLower();
    if (!result.isEmpty())
        result[0] = result[0].toUpper();
    return result;
}

int Pos(const QString& part, const QString& text)
{
    return part.isEmpty() ? 0 : int(text.indexOf(part)) + 1;
}

}  // namespace

TrpStdFunctionLibrary::TrpStdFunctionLibrary(TrpRunContext& context) : TrpFunctionLibrary(context)
{
    List = QStringList{"AVG",    "COUNT",      "DAYOF",   "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "INPUT",
                       "LENGTH", "LOWERCASE",  "MAX",     "MAXNUM",         "MESSAGEBOX",  "MIN",        "MINNUM",
                       "MONTHOF", "NAMECASE",  "POS",     "SUM",            "TRIM",        "UPPERCASE",  "YEAROF"};
    static_assert(std::size(kParameters) == fnYearOf + 1);
    DescribeStandardFunctions(*this);
}

void TrpStdFunctionLibrary::CallFunction(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                         QVariant& value)
{
    if (functionNo < 0 || functionNo > fnYearOf)
        return;
    CheckParameters(functionNo, p1, p2, p3, kParameters[functionNo].least, kParameters[functionNo].most);
    TrpRunContext& c = Context();
    switch (functionNo) {
    case fnAvg: Aggregate(aoAvg, p1, p2, p3, value); break;
    case fnCount: Aggregate(aoCount, QString(), p1, p2, value); break;
    case fnMax: Aggregate(aoMax, p1, p2, p3, value); break;
    case fnMin: Aggregate(aoMin, p1, p2, p3, value); break;
    case fnSum: Aggregate(aoSum, p1, p2, p3, value); break;
    case fnDayOf: value = DecodeDateTime(DateParameter(functionNo, p1)).day; break;
    case fnMonthOf: value = DecodeDateTime(DateParameter(functionNo, p1)).month; break;
    case fnYearOf: value = DecodeDateTime(DateParameter(functionNo, p1)).year; break;
    case fnFormatDateTime: {
        const QString layout = EvaluateText(p1);
        value = QString::fromStdString(FormatDateTime(layout.toStdString(), DateParameter(functionNo, p2)));
        break;
    }
    case fnFormatFloat: {
        const QString layout = EvaluateText(p1);
        value = FormatFloat(layout, VarToReal(Evaluate(p2)), ReportDecimalSeparator(), ReportThousandSeparator());
        break;
    }
    case fnFormatText: {
        const QString mask = EditMaskPositions(EvaluateText(p1));
        value = FormatMaskText(mask, EvaluateText(p2), QLatin1Char(' '));
        break;
    }
    case fnInput: {
        const QString prompt = EvaluateText(p1);
        const QString defaultText = IsBlankParameter(p2) ? QString() : EvaluateText(p2);
        value = c.InputBox ? c.InputBox(prompt, defaultText) : defaultText;
        break;
    }
    case fnMessageBox: {
        const QString text = EvaluateText(p1);
        const QString title = EvaluateText(p2);
        const int flags = int(VarToInt(Evaluate(p3)));
        value = c.MessageBox ? c.MessageBox(text, title, flags) : 0;
        break;
    }
    case fnMaxNum:
    case fnMinNum: {
        const QVariant a = Evaluate(p1);
        const QVariant b = Evaluate(p2);
        const double x = ComparableNumber(functionNo, a);
        const double y = ComparableNumber(functionNo, b);
        value = (functionNo == fnMaxNum ? x > y : x < y) ? a : b;
        break;
    }
    case fnLength: value = int(EvaluateText(p1).size()); break;
    case fnLowerCase: value = EvaluateText(p1).toLower(); break;
    case fnUpperCase: value = EvaluateText(p1).toUpper(); break;
    case fnNameCase: value = NameCase(EvaluateText(p1)); break;
    case fnTrim: value = TrimBlanks(EvaluateText(p1)); break;
    case fnPos: {
        const QString part = EvaluateText(p1);
        value = Pos(part, EvaluateText(p2));
        break;
    }
    }
}

void TrpStdFunctionLibrary::Aggregate(int operation, const QVariant& expression, const QVariant& bandName,
                                      const QVariant& flag, QVariant& value)
{
    TrpRunContext& c = Context();
    TrpBand* band = c.CurrentBand;
    if (!band)
        return;
    TAggregateName aggregate{band->Name, operation, expression.toString().trimmed(), flag.toString().trimmed()};
    if (TrpBand* crossed = CrossedBand(*band)) {
        // A Cross data cell shows the totals of its column of the band it crosses.
        band = crossed;
        aggregate.BandName = band->Name;
        aggregate.Column = c.PrepareScanFlag || !c.CurrentPage ? 0 : c.CurrentPage->ColumnNo;
    } else if (TrpBand* row = CornerRow(*band)) {
        // A corner of the table shows the totals of every cell of the footer's records.
        band = row;
        aggregate.BandName = band->Name;
        aggregate.Column = TAggregateName::kAllColumns;
    }
    const QString name = aggregate.Text();
    if (!c.PrepareScanFlag) {
        if (band->AggregateBand && band->AggregateBand->AggregateValues.IndexOf(name) >= 0)
            value = band->AggregateBand->AggregateValue(name);
        return;
    }
    TrpBand* source = c.CurrentPage ? c.CurrentPage->AggregateSource : nullptr;
    if (!source)
        return;
    QString target = bandName.toString().trimmed();
    if (target.isEmpty()) {
        const TrpBand* closed = ClosedDataBand(*band);
        target = closed ? closed->Name : QString();
    }
    if (target.isEmpty() || target.compare(source->Name, Qt::CaseInsensitive) != 0)
        return;
    source->SetAggregateValue(name, AggregateStartValue(operation));
    band->AggregateBand = source;
}

TDateTime TrpStdFunctionLibrary::DateParameter(int functionNo, const QVariant& parameter) const
{
    const TDateTime date = VarToDateTime(Evaluate(parameter));
    if (!IsDateTimeInRange(date))
        throw EParserError(QStringLiteral("Функция %1: дата вне допустимого диапазона (%2)")
                               .arg(List.value(functionNo), QString::number(date, 'g', 17)));
    return date;
}

double TrpStdFunctionLibrary::ComparableNumber(int functionNo, const QVariant& value) const
{
    const double number = VarToReal(value);
    if (std::isnan(number))
        throw EParserError(QStringLiteral("Функция %1: значение не является числом").arg(List.value(functionNo)));
    return number;
}
