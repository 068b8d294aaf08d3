#include "report/engine/Aggregates.h"

#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/expr/ReportVariant.h"

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
    return BandName + kSeparator + QChar(char16_t(Operation)) + kSeparator + Expression + kSeparator + Flag;
}

bool TAggregateName::Parse(const QString& text, TAggregateName& name)
{
    const QStringList fields = text.split(kSeparator);
    if (fields.size() != 4 || fields[1].size() != 1)
        return false;
    const int operation = fields[1][0].unicode();
    if (operation < aoSum || operation > aoCount)
        return false;
    name = TAggregateName{fields[0], operation, fields[2], fields[3]};
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

void TrpBand::SetAggregateValue(const QString& name, const QVariant& value)
{
    AggregateValues.SetValueByName(name, value);
}

QVariant TrpBand::AggregateValue(const QString& name) const
{
    const QVariant value = AggregateValues.GetValueByName(name);
    TAggregateName parsed;
    if (!TAggregateName::Parse(name, parsed) || parsed.Operation != aoAvg || VarIsNull(value))
        return value;
    return AggregateCount == 0 ? QVariant(0) : QVariant(VarToReal(value) / AggregateCount);
}
