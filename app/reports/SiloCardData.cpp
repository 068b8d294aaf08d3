#include "app/reports/SiloCardData.h"

#include "app/reports/ReportTables.h"
#include "base/FormatDateTime.h"
#include "core/Device/Silos.h"
#include "report/data/MemoryTable.h"

#include <QLocale>

namespace {

// Two decimals with the system's decimal separator, as the record card shows them.
QString CardNumberText(double value)
{
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString LoadDateText(TDateTime loaded)
{
    // 0 is the record card's "never loaded", not a date to print.
    if (loaded == 0)
        return {};
    return QString::fromStdString(FormatDateTime("dd:mm:yy", loaded));
}

void FillRow(TMemoryTable& table, const TBoardSuspension& cell)
{
    const TSilos& silos = *cell.Silos;
    const auto set = [&](const char* name, const QVariant& value) { table.Field(QLatin1String(name))->SetValue(value); };
    set("BinName", cell.BinName);
    set("HardNo", TechAddress(cell.BinNo, silos));
    set("SilName", silos.GetName());
    set("TypeCorn", silos.TypeCorn);
    set("ClassCorn", silos.ClassCorn);
    set("Oper", silos.OperName);
    set("TMLoad", LoadDateText(silos.LoadData));
    set("Weight", CardNumberText(silos.Weight));
    set("Wet", CardNumberText(silos.Wet));
    for (int k = 0; k < silos.TITCount() && k < 6; ++k)
        table.Field(QStringLiteral("TD%1").arg(k + 1))->SetValue(silos.GetTIT(k)->GetValue());
}

}  // namespace

void FillSiloCardData(TMemoryTable& dmReportSiloBin, const TBoardSuspensions& board)
{
    TMemoryTable& table = dmReportSiloBin;
    OpenEmpty(table);
    for (const TBoardSuspension& cell : board) {
        table.Append();
        try {
            FillRow(table, cell);
            table.Post();
        } catch (...) {
            table.Cancel();
            throw;
        }
    }
    table.First();
}
