#include "tools/report_templates/StateReportTemplates.h"

#include <memory>
#include <vector>

#include <QBuffer>
#include <QStringList>

#include "base/DateTime.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/RunContext.h"

namespace {

// Memo object flags: stretched and word-wrapped; the header texts also take their text's width.
constexpr uint16_t kMemoFlags = kFlagStretched | mfWordWrap;
constexpr uint16_t kAutoWidthFlags = kMemoFlags | mfAutoWidth;
constexpr TColor kRed = 0x0000FF;

constexpr uint16_t kLabelFrame = frRight | frBottom | frTop;
constexpr uint16_t kDataFrame = frRight | frBottom;

// A memo placed by its offset from the top of its band.
struct TMemoRow {
    const char* Name;
    const char* Text;
    int Left, Dy, Width, Height;
    int Size = 10;
    TFontStyles Style = 0;
    uint16_t Flags = kMemoFlags;
    TColor Color = 0;
    int32_t Alignment = taLeft;
    uint8_t BandAlign = baNone;
};

// One column of a table: its label in the page header and its data memo below it.
struct TColumn {
    QString Field;   // the data memo is "f" + Field, the label "l" + Field
    QString Label;
    int Width;
    int LabelX;
    int DataX;
    int LabelGapY = 1;
    QString Source;   // the field the data memo shows, when not Field
};

// The site details of every report title.
const TMemoRow kSiteRows[] = {
    {"meRegion", "Область", 20, 8, 340, 20},
    {"meArea", "Район", 368, 8, 340, 20},
    {"meCity", "Город", 20, 40, 340, 20},
    {"meElevator", "Элеватор", 368, 40, 340, 20},
};
// The error caption and the page number are centred across the page whatever its margins.
const TMemoRow kErrorRow = {"meError", "Аварийные измерения", 247, 64, 264, 20, 10, fsBold, kMemoFlags, kRed, taCenter,
                            baCenter};
const TMemoRow kProtocolHeaderRows[] = {
    {"meTime", "Протокол температур", 16, 2, 740, 24, 16, fsBold, kAutoWidthFlags},
    {"meTemp", "Протокол температур", 16, 27, 736, 18, 10, 0, kAutoWidthFlags},
    {"meAirTemp", "Температура воздуха XX.xx^C", 16, 47, 739, 20, 10, 0, kAutoWidthFlags},
};
// In the silo card the air temperature closes the title.
const TMemoRow kSiloCardAirRow = {"meAirTemp", "Температура воздуха XX.xx^C", 16, 64, 739, 20, 10, 0, kAutoWidthFlags};
constexpr int kProtocolLabelsDy = 70;
constexpr int kDataDy = 2;
constexpr int kSiloCardLabelsDy = 2;
constexpr int kFooterWidth = 135;

QString PageFooterText()
{
    return QStringLiteral("Страница № [PAGE#]");
}

QString FieldText(const QString& table, const QString& field)
{
    return QStringLiteral("[%1.\"%2\"]").arg(table, field);
}

// The temperature columns ТД №1 .. ТД №6, their fields TD1 .. TD6 followed by the half's suffix.
std::vector<TColumn> SensorColumns(const QString& suffix, int width, int firstX, int step, int labelGapY = 1)
{
    std::vector<TColumn> columns;
    for (int k = 1; k <= 6; ++k) {
        const int x = firstX + (k - 1) * step;
        columns.push_back({QStringLiteral("TD") + QString::number(k) + suffix, QStringLiteral("ТД №%1").arg(k), width,
                           x, x, labelGapY, {}});
    }
    return columns;
}

// Columns laid side by side from x, each the width of its data memo and the gap further on.
std::vector<TColumn> PlacedSideBySide(std::vector<TColumn> columns, int x = 16, int gap = 2)
{
    for (TColumn& column : columns) {
        column.LabelX = column.DataX = x;
        x += column.Width + gap;
    }
    return columns;
}

class TTemplateBuilder {
public:
    TTemplateBuilder(TrpReport& report, uint8_t orientation) : page_(*report.AddPage())
    {
        page_.ApplyPaper(kPaperA4, 0, 0, -1, orientation);
    }

    TrpPage& Page() { return page_; }

    TrpBandView& Band(int type, const char* name, int top, int height, const QString& dataSet = {})
    {
        auto* band = static_cast<TrpBandView*>(page_.AddObject(std::make_unique<TrpBandView>()));
        band->Name = QLatin1String(name);
        band->FrameTyp = uint16_t(type);
        band->SetBounds(0, top, kBandWidth, height);
        band->FormatText = dataSet;
        bandTop_ = top;
        return *band;
    }

    // The rows of a table: a row grows to the lines of its tallest cell, and every cell of it
    // with the row, so that a name or a text that wraps shows all its lines.
    void Rows(const char* name, int top, const QString& dataSet = {})
    {
        Band(btMasterData, name, top, kRowHeight, dataSet).Flags |= kFlagStretched;
    }

    TrpMemoView& Memo(const TMemoRow& row)
    {
        auto* memo = static_cast<TrpMemoView*>(page_.AddObject(std::make_unique<TrpMemoView>()));
        memo->Name = QLatin1String(row.Name);
        memo->Memo = QString::fromUtf8(row.Text).split(QLatin1Char('\n'));
        memo->SetBounds(row.Left, bandTop_ + row.Dy, row.Width, row.Height);
        memo->Font.Size = row.Size;
        memo->Font.Style = row.Style;
        memo->Font.Color = row.Color;
        memo->Flags = row.Flags;
        memo->Alignment = row.Alignment;
        memo->BandAlign = row.BandAlign;
        return *memo;
    }

    // The labels of the columns in the page header, the first of each group framed on all sides.
    void Labels(const std::vector<TColumn>& columns, int dy, int height, int size, TFontStyles style,
                const QStringList& groupStarts)
    {
        for (const TColumn& column : columns) {
            const QByteArray name = "l" + column.Field.toLatin1();
            const QByteArray text = column.Label.toUtf8();
            TrpMemoView& memo = Memo({name.constData(), text.constData(), column.LabelX, dy, column.Width, height, size,
                                      style, kMemoFlags, 0, taCenter});
            memo.FrameTyp = groupStarts.contains(column.Field) ? uint16_t(frAllSides) : kLabelFrame;
            memo.GapY = column.LabelGapY;
        }
    }

    // The data memos of the columns, each showing its field of the table.
    void Data(const std::vector<TColumn>& columns, const QString& table, int dy, int size,
              const QStringList& groupStarts)
    {
        for (const TColumn& column : columns) {
            const QByteArray name = "f" + column.Field.toLatin1();
            const QByteArray text = FieldText(table, column.Source.isEmpty() ? column.Field : column.Source).toUtf8();
            TrpMemoView& memo = Memo({name.constData(), text.constData(), column.DataX, dy, column.Width, 20, size, 0,
                                      kMemoFlags, 0, taCenter});
            memo.FrameTyp = groupStarts.contains(column.Field) ? uint16_t(kDataFrame | frLeft) : kDataFrame;
        }
    }

    void Footer(int top, int left)
    {
        Band(btPageFooter, "PageFooter1", top, 20);
        const QByteArray text = PageFooterText().toUtf8();
        Memo({"Memo6", text.constData(), left, 0, kFooterWidth, 20, 10, 0, kAutoWidthFlags, 0, taLeft, baCenter});
    }

    void Margins(int left, int top, int right, int bottom)
    {
        page_.LeftMargin = left;
        page_.TopMargin = top;
        page_.RightMargin = right;
        page_.BottomMargin = bottom;
    }

private:
    static constexpr int kBandWidth = 758;
    static constexpr int kRowHeight = 22;
    TrpPage& page_;
    int bandTop_ = 0;
};

void SiteTitle(TTemplateBuilder& b, int top, int height)
{
    b.Band(btReportTitle, "ReportTitle1", top, height);
    for (const TMemoRow& row : kSiteRows)
        b.Memo(row);
}

void ProtocolHeader(TTemplateBuilder& b, int top)
{
    b.Band(btPageHeader, "PageHeader1", top, 89);
    for (const TMemoRow& row : kProtocolHeaderRows)
        b.Memo(row);
}

// The protocols are laid out on the whole sheet; their margins place the sheet, shrunk to fit
// inside them, on the paper when it is shown or printed.
void Protocol(TTemplateBuilder& b)
{
    b.Margins(72, 0, 72, 0);
    b.Page().MarginsOn = false;
    SiteTitle(b, 64, 92);
    b.Memo(kErrorRow);
    ProtocolHeader(b, 172);
    std::vector<TColumn> columns = {{"SilName", "Силос", 89, 16, 16, 1, {}}, {"HardAddr", "Тех.№", 77, 108, 107, 1, {}}};
    const std::vector<TColumn> sensors = SensorColumns({}, 80, 188, 80);
    columns.insert(columns.end(), sensors.begin(), sensors.end());
    const QStringList starts = {QStringLiteral("SilName")};
    b.Labels(columns, kProtocolLabelsDy, 20, 10, fsBold, starts);
    b.Rows("MasterData1", 281);
    b.Data(columns, QStringLiteral("dmReport"), kDataDy, 10, starts);
    b.Footer(392, 311);
}

// Two suspensions side by side: sixteen columns of 8-point cells, each as wide as the engine
// finds its widest text needs on one line (the text, a gap of 2 on either side, the frame's line
// and 1; text widths in units): the technical number "255-256-12" 56 in 62, a temperature
// "-35.999" 37 in 43, a name "256-12" 36 in 42; a longer name wraps and its row grows. The cells
// of a half touch, the right side of one framing the next; the halves lie 4 apart, from x 16 to
// 744, on the A4 sheet 758 wide.
void Protocol2Col(TTemplateBuilder& b)
{
    constexpr int kNameCell = 42;
    constexpr int kAddressCell = 62;
    constexpr int kSensorCell = 43;
    constexpr int kCellGap = 0;
    constexpr int kHalvesGap = 4;
    b.Margins(36, 0, 108, 0);
    b.Page().MarginsOn = false;
    SiteTitle(b, 92, 92);
    b.Memo(kErrorRow);
    ProtocolHeader(b, 204);
    std::vector<TColumn> columns;
    for (const QString& suffix : {QString(), QStringLiteral("2")}) {
        columns.push_back({"SilName" + suffix, QStringLiteral("Силос"), kNameCell, 0, 0, 1, {}});
        columns.push_back({"HardAddr" + suffix, QStringLiteral("Тех.№"), kAddressCell, 0, 0, 1, {}});
        const std::vector<TColumn> sensors = SensorColumns(suffix, kSensorCell, 0, 0);
        columns.insert(columns.end(), sensors.begin(), sensors.end());
    }
    const auto half = columns.begin() + 8;
    std::vector<TColumn> left = PlacedSideBySide({columns.begin(), half}, 16, kCellGap);
    std::vector<TColumn> right =
        PlacedSideBySide({half, columns.end()}, left.back().DataX + kSensorCell + kCellGap + kHalvesGap, kCellGap);
    left.insert(left.end(), right.begin(), right.end());
    const QStringList starts = {QStringLiteral("SilName"), QStringLiteral("SilName2")};
    b.Labels(left, kProtocolLabelsDy, 20, 8, fsBold, starts);
    b.Rows("MasterData1", 313);
    b.Data(left, QStringLiteral("dmReport2Col"), kDataDy, 8, starts);
    b.Footer(424, 311);
}

// Every suspension with its record card. The moisture is stored in the table's field Weight and
// the weight in Wet, so the data memo under "Влажность" shows Weight and the one under "Вес" Wet.
// The technical number's column is as wide as the engine finds "255-256-12" needs at 8 points
// (56, the gaps, the frame's line and 1: 62), the name's as a name of ten characters such as
// "Силос 1024" needs (59: 65); a wider name or record-card text wraps and its row grows.
void SiloCard(TTemplateBuilder& b)
{
    b.Page().MarginsOn = true;
    SiteTitle(b, 36, 88);
    b.Memo(kSiloCardAirRow);
    b.Band(btPageHeader, "PageHeader1", 140, 37);
    std::vector<TColumn> columns = {{"SilName", "Силос", 65, 0, 0, 8, {}}, {"HardNo", "тех.№", 62, 0, 0, 8, {}}};
    const std::vector<TColumn> sensors = SensorColumns({}, 50, 0, 0, 8);
    columns.insert(columns.end(), sensors.begin(), sensors.end());
    columns.insert(columns.end(), {
                                      {"TypeCorn", "Наименование культуры", 100, 0, 0, 1, {}},
                                      {"ClassCorn", "Класс\nкультуры", 70, 0, 0, 1, {}},
                                      {"Wet", "Влажность, % ", 80, 0, 0, 1, "Weight"},
                                      {"Wegth", "Вес, тон", 60, 0, 0, 8, "Wet"},
                                      {"TMLoad", "Дата поступления", 80, 0, 0, 1, {}},
                                      {"Oper", "Оператор", 70, 0, 0, 8, {}},
                                  });
    columns = PlacedSideBySide(columns);
    const QStringList starts = {QStringLiteral("SilName")};
    b.Labels(columns, kSiloCardLabelsDy, 32, 8, fsBold | fsItalic, starts);
    b.Rows("MasterData1", 196, QStringLiteral("dsSilBin"));
    b.Data(columns, QStringLiteral("dmReportSiloBin"), kDataDy, 8, starts);
    b.Footer(252, 468);
}

// The report printer's current printer is the one whose name the writer stores: the printer the
// templates were laid out for, listed though not installed (it then prints into a PDF file).
void UseTemplatePrinter(TrpRunContext& context)
{
    context.PlatformPrinter =
        std::make_unique<TrpQtPrinter>([] { return QStringList{QString::fromLatin1(kTemplatePrinter)}; });
    StartReportPrinter(context);
}

}  // namespace

QString StateReportName(TStateReportTemplate which)
{
    switch (which) {
    case TStateReportTemplate::Protocol: return QStringLiteral("rpReport");
    case TStateReportTemplate::Protocol2Col: return QStringLiteral("rpReport2Col");
    case TStateReportTemplate::SiloCard: return QStringLiteral("rpSilBin");
    }
    return {};
}

QString StateReportFileName(TStateReportTemplate which)
{
    return StateReportName(which) + QStringLiteral(".template");
}

QByteArray WriteStateReportTemplate(TStateReportTemplate which)
{
    TrpRunContext context;
    UseTemplatePrinter(context);
    TrpReport report(context);
    report.setObjectName(StateReportName(which));
    TTemplateBuilder builder(report, which == TStateReportTemplate::SiloCard ? poLandscape : poPortrait);
    switch (which) {
    case TStateReportTemplate::Protocol: Protocol(builder); break;
    case TStateReportTemplate::Protocol2Col: Protocol2Col(builder); break;
    case TStateReportTemplate::SiloCard: SiloCard(builder); break;
    }
    report.ReportInfo.Created = EncodeDateTime(2024, 3, 1, 12, 0, 0, 0);
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    report.SaveToStream(stream);
    return stream.data();
}
