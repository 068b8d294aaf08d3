#include "app/reports/ReportTables.h"

#include "report/data/MemoryTable.h"

namespace {

constexpr int kWhole = 0;   // no size: the text is kept whole

void AddText(TMemoryTable& table, const QString& name, int size, const QString& label = {})
{
    table.AddField(name, ftString, size)->DisplayLabel = label;
}

// A temperature field, tagged with its sensor's number and the half's suffix (TD3: 3, TD32: 32).
TMemoryField* AddSensor(TMemoryTable& table, int k, const QString& suffix = {})
{
    TMemoryField* field = table.AddField(QStringLiteral("TD%1").arg(k) + suffix, ftFloat);
    field->Tag = (QString::number(k) + suffix).toInt();
    return field;
}

void AddAlarm(TMemoryTable& table, int k, const QString& suffix = {})
{
    table.AddField(QStringLiteral("Alarm%1").arg(k) + suffix, ftBoolean);
}

}  // namespace

void DefineReportTable(TMemoryTable& table)
{
    AddText(table, QStringLiteral("BinName"), kWhole, QStringLiteral("Силкорпус"));
    AddText(table, QStringLiteral("SilName"), kWhole, QStringLiteral("Силос"));
    for (int k = 1; k <= 6; ++k)
        AddSensor(table, k)->DisplayLabel = QStringLiteral("ТД №%1").arg(k);
    for (int k = 1; k <= 6; ++k)
        AddAlarm(table, k);
    AddText(table, QStringLiteral("HardAddr"), 10);
}

void DefineReport2ColTable(TMemoryTable& table)
{
    AddText(table, QStringLiteral("BinName"), kWhole);
    AddText(table, QStringLiteral("SilName"), kWhole);
    AddText(table, QStringLiteral("HardAddr"), 10);
    for (int k = 1; k <= 6; ++k)
        AddSensor(table, k);
    for (int k = 1; k <= 6; ++k)
        AddAlarm(table, k);
    const QString right = QLatin1String(kRightHalf);
    AddText(table, QStringLiteral("SilName") + right, kWhole);
    AddText(table, QStringLiteral("BinName") + right, kWhole);
    AddText(table, QStringLiteral("HardAddr") + right, 10);
    // The right-hand sensors come in falling order, TD62 first.
    for (int k = 6; k >= 1; --k)
        AddSensor(table, k, right);
    for (int k = 6; k >= 1; --k)
        AddAlarm(table, k, right);
}

void DefineSiloBinTable(TMemoryTable& table)
{
    AddText(table, QStringLiteral("BinName"), kWhole, QStringLiteral("Силкорпус"));
    AddText(table, QStringLiteral("SilName"), kWhole, QStringLiteral("Силос"));
    AddText(table, QStringLiteral("TypeCorn"), kWhole, QStringLiteral("Культура"));
    AddText(table, QStringLiteral("ClassCorn"), kWhole, QStringLiteral("Класс"));
    AddText(table, QStringLiteral("TMLoad"), 30, QStringLiteral("Поступление"));
    AddText(table, QStringLiteral("Weight"), 30, QStringLiteral("Вес"));
    AddText(table, QStringLiteral("Wet"), 30, QStringLiteral("Влажность"));
    AddText(table, QStringLiteral("Oper"), kWhole, QStringLiteral("Оператор"));
    for (int k = 6; k >= 1; --k)
        AddSensor(table, k);
    AddText(table, QStringLiteral("HardNo"), 12);
}

void OpenEmpty(TMemoryTable& table)
{
    if (!table.Active())
        table.Open();
    table.EmptyTable();
}
