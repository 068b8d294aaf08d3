#include "app/reports/ProtocolData.h"

#include "app/detail/HistoryActions.h"
#include "app/reports/ReportTables.h"
#include "core/Device/Silos.h"
#include "core/Parameters.h"
#include "report/data/MemoryTable.h"

#include <cmath>

namespace {

constexpr int kSensorFields = 6;

// The fields of dmReport, looked up once for all the rows.
struct TProtocolFields {
    explicit TProtocolFields(const TMemoryTable& table)
        : BinName(table.Field(QStringLiteral("BinName"))),
          SilName(table.Field(QStringLiteral("SilName"))),
          HardAddr(table.Field(QStringLiteral("HardAddr")))
    {
        for (int k = 0; k < kSensorFields; ++k) {
            TD[k] = table.Field(QStringLiteral("TD%1").arg(k + 1));
            Alarm[k] = table.Field(QStringLiteral("Alarm%1").arg(k + 1));
        }
    }

    TMemoryField* BinName;
    TMemoryField* SilName;
    TMemoryField* HardAddr;
    TMemoryField* TD[kSensorFields];
    TMemoryField* Alarm[kSensorFields];
};

// Fills the appended row from the suspension's readings; true when the row is to be kept.
bool FillRow(const TProtocolFields& fields, const TBoardSuspension& cell, const TTITPoint& poll,
             const Parameters& settings, const TProtocolFilter& filter)
{
    const TSilos& silos = *cell.Silos;
    fields.BinName->SetValue(cell.BinName);
    fields.SilName->SetValue(silos.GetName());
    fields.HardAddr->SetValue(TechAddress(cell.BinNo, silos));
    bool hasValue = false;
    bool overMaximum = false;
    for (int k = 0; k < silos.TITCount() && k < kSensorFields; ++k) {
        const TTIT& sensor = *silos.GetTIT(k);
        const auto point = FindAverage(sensor, poll.UnixTime);
        if (!point)
            continue;
        const double v = point->Value;
        if (!filter.HasRange() || (filter.Minimum <= v && v <= filter.Maximum)) {
            fields.TD[k]->SetValue(v);
            const bool alarm = settings.UseCheckSpeed && std::fabs(sensor.CalcSpeed(poll.Time)) > settings.CheckSpeed;
            fields.Alarm[k]->SetValue(alarm);
            hasValue = true;
        }
        if (v > settings.MaxT)
            overMaximum = true;
    }
    return hasValue && (!filter.ErrorsOnly || overMaximum);
}

void CopyHalf(TMemoryTable& from, TMemoryTable& to, const QString& suffix)
{
    for (int i = 0; i < from.FieldCount(); ++i) {
        const TField* field = from.FieldAt(i);
        to.Field(field->FieldName() + suffix)->SetValue(field->Value());
    }
}

}  // namespace

void FillReportData(TMemoryTable& dmReport, const TBoardSuspensions& board, const TTITPoint& poll,
                    const Parameters& settings, const TProtocolFilter& filter, bool sortBySilos)
{
    OpenEmpty(dmReport);
    const TProtocolFields fields(dmReport);
    for (const TBoardSuspension& cell : board) {
        dmReport.Append();
        try {
            if (FillRow(fields, cell, poll, settings, filter))
                dmReport.Post();
            else
                dmReport.Cancel();
        } catch (...) {
            dmReport.Cancel();
            throw;
        }
    }
    dmReport.SortOnField(sortBySilos ? QStringLiteral("SilName") : QStringLiteral("BinName"));
    dmReport.First();
}

void CopyToTwoColumn(TMemoryTable& dmReport, TMemoryTable& dmReport2Col)
{
    OpenEmpty(dmReport2Col);
    const QString right = QLatin1String(kRightHalf);
    dmReport.First();
    while (!dmReport.Eof()) {
        dmReport2Col.Append();
        try {
            CopyHalf(dmReport, dmReport2Col, {});
            dmReport.Next();
            if (!dmReport.Eof()) {
                CopyHalf(dmReport, dmReport2Col, right);
                dmReport.Next();
            }
            dmReport2Col.Post();
        } catch (...) {
            dmReport2Col.Cancel();
            throw;
        }
    }
    dmReport.First();
    dmReport2Col.First();
}
