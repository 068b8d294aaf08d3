#include "report/engine/Aggregates.h"

#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/VariantOps.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr QChar kSeparator(1);
constexpr double kAboveEveryValue = 1e300;

int LevelDataBandType(int bandType)
{
    switch (bandType) {
    case btDetailHeader: case btDetailData: case btDetailFooter:
        return btDetailData;
    case btSubDetailHeader: case btSubDetailData: case btSubDetailFooter:
        return btSubDetailData;
    case btCrossHeader: case btCrossData: case btCrossFooter:
        return btCrossData;
    default:
        return btMasterData;
    }
}

}  // namespace

QString TAggregateName::Text() const
{
    const QString text =
        BandName + kSeparator + QChar(char16_t(Operation)) + kSeparator + Expression + kSeparator + Flag;
    if (Column == kNoColumn)
        return text;
    return (Column == kAllColumns ? QStringLiteral("*") : QString::number(Column)) + kSeparator + text;
}

bool TAggregateName::Parse(const QString& text, TAggregateName& name)
{
    QStringList fields = text.split(kSeparator);
    int column = kNoColumn;
    if (fields.size() == 5) {
        const QString first = fields.takeFirst();
        bool isNumber = false;
        column = first == QLatin1String("*") ? kAllColumns : first.toInt(&isNumber);
        if (column != kAllColumns && (!isNumber || column < 0))
            return false;
    }
    if (fields.size() != 4 || fields[1].size() != 1)
        return false;
    const int operation = fields[1][0].unicode();
    if (operation < aoSum || operation > aoCount)
        return false;
    name = TAggregateName{fields[0], operation, fields[2], fields[3], column};
    return true;
}

QVariant AggregateStartValue(int operation)
{
    switch (operation) {
    case aoMin: return kAboveEveryValue;
    case aoMax: return -kAboveEveryValue;
    default: return 0;
    }
}

TrpBand* ClosedDataBand(const TrpBand& band)
{
    if (band.DataBand)
        return band.DataBand;
    return band.Page ? band.Page->Bands[size_t(LevelDataBandType(band.BandType))] : nullptr;
}

TrpBand* CrossedBand(const TrpBand& band)
{
    return band.BandType == btCrossData ? band.AggregateBand : nullptr;
}

TrpBand* CornerRow(const TrpBand& band)
{
    return band.BandType == btCrossHeader || band.BandType == btCrossFooter ? band.CornerOf : nullptr;
}

void TrpBand::SetAggregateValue(const QString& name, const QVariant& value)
{
    AggregateValues.SetValueByName(name, value);
}

QVariant TrpBand::AggregateValue(const QString& name) const
{
    const QVariant value = AggregateValues.GetValueByName(name);
    TAggregateName parsed;
    if (!TAggregateName::Parse(name, parsed) || VarIsNull(value))
        return value;
    switch (parsed.Operation) {
    case aoAvg: {
        const int count = AverageCounts.value(AggregateValues.NameAt(AggregateValues.IndexOf(name)));
        return count == 0 ? QVariant(0) : QVariant(VarToReal(value) / count);
    }
    case aoMin: case aoMax:
        // Still where it started: no record reached it, and an empty group shows 0.
        return VarIsNumeric(value) && VarToReal(value) == VarToReal(AggregateStartValue(parsed.Operation))
                   ? QVariant(0) : value;
    default:
        return value;
    }
}

void TrpBand::ResetAggregates()
{
    TrpRunContext& c = Page->Context();
    if (BandType == btGroupHeader) {
        // The values a group started with: this header's and those of the groups inside it.
        try {
            for (TrpBand* header = this; header; header = header->Next)
                header->GroupValue = c.ReportParser.EvaluatePostfix(header->Condition);
        } catch (const std::exception& error) {
            SetCalculationError(c, error);
        }
        return;
    }
    if (!AggregateBand)
        return;
    TrpVariables& values = AggregateBand->AggregateValues;
    for (int i = 0; i < values.Count(); ++i) {
        TAggregateName name;
        if (TAggregateName::Parse(values.NameAt(i), name) && name.BandName.compare(Name, Qt::CaseInsensitive) == 0) {
            values.SetValueAt(i, AggregateStartValue(name.Operation));
            if (name.Operation == aoAvg)
                AggregateBand->AverageCounts.remove(values.NameAt(i));
        }
    }
}

void TrpBand::AddColumnValues(int column)
{
    QStringList copies;
    for (int i = 0; i < AggregateValues.Count(); ++i) {
        TAggregateName name;
        if (TAggregateName::Parse(AggregateValues.NameAt(i), name) && name.Column == 0) {
            name.Column = column;
            copies << name.Text();
        }
    }
    for (const QString& copy : copies)
        if (AggregateValues.IndexOf(copy) < 0) {
            TAggregateName name;
            TAggregateName::Parse(copy, name);
            AggregateValues.SetValueByName(copy, AggregateStartValue(name.Operation));
        }
}

void TrpBand::Accumulate(int column)
{
    TrpRunContext& c = Page->Context();
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    if (column > 0)
        AddColumnValues(column);
    QString lastExpression;
    QVariant lastResult;
    bool haveLast = false;
    try {
        for (int i = 0; i < AggregateValues.Count(); ++i) {
            TAggregateName name;
            if (!TAggregateName::Parse(AggregateValues.NameAt(i), name))
                continue;
            // A record adds to the band's values, a cell to its column's and to the corners'.
            if (column > 0 ? name.Column != column && name.Column != TAggregateName::kAllColumns
                           : name.Column != TAggregateName::kNoColumn)
                continue;
            if (!Visible && !name.CountsWhileInvisible())
                continue;
            QVariant result = 0;
            if (name.Operation != aoCount) {
                // Several aggregates of one expression evaluate it once.
                if (!haveLast || name.Expression != lastExpression) {
                    lastResult = c.ReportParser.Evaluate(name.Expression);
                    lastExpression = name.Expression;
                    haveLast = true;
                }
                result = VarIsNull(lastResult) || VarIsEmpty(lastResult) ? QVariant(0) : lastResult;
            }
            QVariant value = AggregateValues.ValueAt(i);
            if (VarIsNull(value) || VarIsEmpty(value))
                value = 0;
            switch (name.Operation) {
            case aoSum: value = VarAdd(value, result); break;
            case aoAvg:
                value = VarAdd(value, result);
                ++AverageCounts[AggregateValues.NameAt(i)];
                break;
            case aoMin: if (VarCompare(result, value) < 0) value = result; break;
            case aoMax: if (VarCompare(result, value) > 0) value = result; break;
            case aoCount: value = VarAdd(value, 1); break;
            default: break;
            }
            AggregateValues.SetValueAt(i, value);
        }
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
}
