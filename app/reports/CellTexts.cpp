#include "app/reports/CellTexts.h"

#include "core/Device/SensorLimits.h"
#include "core/Parameters.h"
#include "core/TemperatureText.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/MemoView.h"

namespace {

bool IsEmptyCell(const QVariant& value)
{
    return VarIsEmpty(value) || VarIsNull(value);
}

TColor OverSetPoints(double v, bool rateAlarm, const Parameters& settings)
{
    TColor colour = kPlainCellColour;
    const std::pair<int, TColor> setPoints[] = {{settings.CheckT1, settings.PrintColorCheckT1},
                                                {settings.CheckT2, settings.PrintColorCheckT2},
                                                {settings.CheckT3, settings.PrintColorCheckT3}};
    for (const auto& [setPoint, setPointColour] : setPoints)
        if (setPoint > 0 && v > setPoint)
            colour = setPointColour;
    if (v > settings.MaxT)
        colour = settings.PrintColorMaxT;
    if (settings.UseCheckSpeed && rateAlarm)
        colour = settings.PrintColorSpeed;
    return colour;
}

bool RateAlarm(const TMemoryField& field)
{
    const TDataSet* table = field.DataSet();
    const TField* alarm = table ? table->FindField(QStringLiteral("Alarm%1").arg(field.Tag)) : nullptr;
    return alarm && !alarm->IsNull() && alarm->Value().toBool();
}

}  // namespace

QString TemperatureCellText(const QVariant& value, const Parameters& settings)
{
    return IsEmptyCell(value) ? QString() : SensorValueText(value.toDouble(), settings);
}

TColor TemperatureCellColour(const QVariant& value, bool rateAlarm, const Parameters& settings)
{
    if (IsEmptyCell(value))
        return kPlainCellColour;
    const double v = value.toDouble();
    if (v == kNoData)
        return kNoReadingColour;
    if (IsShortCircuit(v))
        return settings.PrintColorKz;
    if (IsOpenLine(v))
        return settings.PrintColorX;
    return OverSetPoints(v, rateAlarm, settings);
}

void InstallCellTexts(TMemoryTable& table, const TCellTextSource& source)
{
    for (int i = 0; i < table.FieldCount(); ++i) {
        auto* field = static_cast<TMemoryField*>(table.FieldAt(i));
        if (!field->FieldName().startsWith(QLatin1String("TD")))
            continue;
        field->OnGetText = [source](TMemoryField& cell, QString& text, bool) {
            const QVariant value = cell.Value();
            const Parameters& settings = *source.Settings;
            text = TemperatureCellText(value, settings);
            TrpReport* report = source.Report ? source.Report() : nullptr;
            auto* memo = report ? dynamic_cast<TrpMemoView*>(report->FindObject(QLatin1Char('f') + cell.FieldName()))
                                : nullptr;
            if (!memo)
                return;
            memo->Font.Style = 0;
            if (source.ColourPrinting && source.ColourPrinting())
                memo->FillColor = TemperatureCellColour(value, RateAlarm(cell), settings);
        };
    }
}
