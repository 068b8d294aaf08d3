#include "app/reports/ReportLayout.h"

#include "app/reports/ProtocolData.h"
#include "base/FormatDateTime.h"
#include "core/Device/TIT.h"
#include "core/Parameters.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"

namespace {

constexpr int kFirstColumnX = 16;
constexpr int kColumnGap = 2;
// The two-column protocol's cells touch, so that both halves take the widest values on the page.
constexpr int kTwoColumnGap = 0;
constexpr int kHalvesGap = 4;
constexpr int kDataGapY = 1;

const char* const kProtocolColumns[] = {"SilName", "HardAddr", "TD1", "TD2", "TD3", "TD4", "TD5", "TD6"};

// The silo card's columns: width and the label's vertical text gap. The technical number's
// column is as wide as the widest number, "255-256-12", needs on one line, the name's as a name
// of ten characters such as "Силос 1024" needs.
struct TSilBinColumn {
    const char* Field;
    int Width;
    int LabelGapY;
};
const TSilBinColumn kSilBinColumns[] = {
    {"SilName", 65, 8}, {"HardNo", 62, 8}, {"TD1", 50, 8},       {"TD2", 50, 8},     {"TD3", 50, 8},
    {"TD4", 50, 8},     {"TD5", 50, 8},    {"TD6", 50, 8},       {"TypeCorn", 100, 1}, {"ClassCorn", 70, 1},
    {"Wet", 80, 1},     {"Wegth", 60, 8},  {"TMLoad", 80, 1},    {"Oper", 70, 8},
};

void SetText(const TrpReport& report, const QString& name, const QString& text)
{
    if (TrpMemoView* memo = ReportMemo(report, name))
        memo->Memo = QStringList{text};
}

void SetVisible(const TrpReport& report, const QString& name, bool visible)
{
    if (TrpMemoView* memo = ReportMemo(report, name))
        memo->Visible = visible;
}

void Centre(TrpMemoView& memo, int x)
{
    memo.Left = x;
    memo.Alignment = (memo.Alignment & ~taJustify) | taCenter;
}

// Places label and data memo of each field at the cursor, the gap between them; gives the cursor
// after the last.
int PlaceColumns(const TrpReport& report, const QString& suffix, int x, int gap)
{
    for (const char* field : kProtocolColumns) {
        TrpMemoView* label = ReportMemo(report, QLatin1Char('l') + QLatin1String(field) + suffix);
        TrpMemoView* data = ReportMemo(report, QLatin1Char('f') + QLatin1String(field) + suffix);
        if (!label || !data)
            continue;
        Centre(*label, x);
        Centre(*data, x);
        x += data->Width + gap;
    }
    return x;
}

}  // namespace

TrpMemoView* ReportMemo(const TrpReport& report, const QString& name)
{
    return dynamic_cast<TrpMemoView*>(report.FindObject(name));
}

void SetSiteTexts(TrpReport& report, const ElevatorProperty& site, const TTIT* airSensor, const Parameters& settings)
{
    SetText(report, QStringLiteral("meRegion"), QStringLiteral("Район: ") + site.District);
    SetText(report, QStringLiteral("meArea"), QStringLiteral("Область: ") + site.Region);
    SetText(report, QStringLiteral("meCity"), QStringLiteral("Город: ") + site.Town);
    SetText(report, QStringLiteral("meElevator"), QStringLiteral("Элеватор: ") + site.Elevator);
    const QString air = airSensor ? QStringLiteral("Температура воздуха %1°").arg(airSensor->GetValueText(settings))
                                  : QString();
    SetText(report, QStringLiteral("meAirTemp"), air);
}

QString ProtocolTimeText(TDateTime reportTime)
{
    return QStringLiteral("Протокол температур на ") +
           QString::fromStdString(FormatDateTime("dd.mm.yy hh:mm:ss", reportTime));
}

void SetProtocolHeader(TrpReport& report, TDateTime reportTime, const TProtocolFilter& filter)
{
    SetText(report, QStringLiteral("meTime"), ProtocolTimeText(reportTime));
    SetVisible(report, QStringLiteral("meTemp"), filter.HasRange());
    if (filter.HasRange())
        SetText(report, QStringLiteral("meTemp"),
                QStringLiteral("Диапазон температур от %1° до %2°").arg(filter.Minimum).arg(filter.Maximum));
    SetVisible(report, QStringLiteral("meError"), filter.ErrorsOnly);
}

void PlaceReportColumns(TrpReport& report, bool twoColumns)
{
    const int gap = twoColumns ? kTwoColumnGap : kColumnGap;
    const int x = PlaceColumns(report, {}, kFirstColumnX, gap);
    if (twoColumns)
        PlaceColumns(report, QStringLiteral("2"), x + kHalvesGap, gap);
}

void PlaceSilBinColumns(TrpReport& report)
{
    int x = kFirstColumnX;
    for (const TSilBinColumn& column : kSilBinColumns) {
        for (const char prefix : {'l', 'f'}) {
            TrpMemoView* memo = ReportMemo(report, QLatin1Char(prefix) + QLatin1String(column.Field));
            if (!memo)
                continue;
            Centre(*memo, x);
            memo->Width = column.Width;
            memo->GapY = prefix == 'l' ? column.LabelGapY : kDataGapY;
        }
        x += column.Width + kColumnGap;
    }
}
