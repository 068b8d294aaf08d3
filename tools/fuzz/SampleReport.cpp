#include "tools/fuzz/SampleReport.h"

#include <QBuffer>
#include <QImage>

#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/LineView.h"
#include "report/objects/MemoView.h"
#include "report/objects/PictureView.h"
#include "report/objects/RichView.h"
#include "report/objects/SubReportView.h"

namespace {

template <class T>
T* Add(TrpPage& page, int left, int top, int width, int height, const QString& name)
{
    auto* view = static_cast<T*>(page.AddObject(std::make_unique<T>()));
    view->SetBounds(left, top, width, height);
    view->Name = name;
    return view;
}

TrpBandView* AddBand(TrpPage& page, int type, int top, int height, const QString& name)
{
    auto* band = Add<TrpBandView>(page, 0, top, 700, height, name);
    band->FrameTyp = uint16_t(type);
    return band;
}

TrpMemoView* AddMemo(TrpPage& page, int left, int top, int width, int height, const QString& text,
                     const QString& name)
{
    auto* memo = Add<TrpMemoView>(page, left, top, width, height, name);
    memo->Memo = text.split(QLatin1Char('\n'));
    return memo;
}

QByteArray SamplePng()
{
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray octets;
    QBuffer buffer(&octets);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return octets;
}

} // namespace

TSampleData::TSampleData()
{
    Table.setObjectName(QStringLiteral("tbSilo"));
    Table.setParent(this);
    Table.AddField(QStringLiteral("Silo"), ftString, 20);
    Table.AddField(QStringLiteral("Temp"), ftFloat);
    Table.Open();
    const struct {
        const char* silo;
        double temp;
    } rows[] = {{"1-1", 12.5}, {"1-2", -3.25}, {"2-1", 30}};
    for (const auto& row : rows) {
        Table.Append();
        Table.Field(QStringLiteral("Silo"))->SetValue(QString::fromUtf8(row.silo));
        Table.Field(QStringLiteral("Temp"))->SetValue(row.temp);
        Table.Post();
    }
    Source.setObjectName(QStringLiteral("dsSilo"));
    Source.setParent(this);
    Source.SetDataSet(&Table);
}

std::unique_ptr<TrpReport> MakeSampleReport(TrpRunContext& context, TSampleData& data)
{
    auto report = std::make_unique<TrpReport>(context, &data);
    report->setObjectName(QStringLiteral("rpSample"));
    TrpPage& page = *report->AddPage();

    AddBand(page, btReportTitle, 10, 40, QStringLiteral("Title"));
    auto* title = AddMemo(page, 10, 12, 400, 30, QStringLiteral("Протокол [DATE]"), QStringLiteral("fTitle"));
    title->FrameTyp = frAllSides;
    title->Alignment = taCenter;

    auto* master = AddBand(page, btMasterData, 60, 30, QStringLiteral("Row"));
    master->FormatText = QStringLiteral("dsSilo");
    AddMemo(page, 10, 62, 100, 24, QStringLiteral("[tbSilo.\"Silo\"]"), QStringLiteral("fSilo"));
    auto* temp = AddMemo(page, 120, 62, 100, 24, QStringLiteral("[tbSilo.\"Temp\"]"), QStringLiteral("fTemp"));
    temp->FrameTyp = frAllSides;
    temp->ScriptLines = {QStringLiteral("if [LINE#] = 2 then Left := 130")};
    Add<TrpLineView>(page, 230, 62, 100, 0, QStringLiteral("Line"));
    auto* picture = Add<TrpPictureView>(page, 340, 62, 24, 24, QStringLiteral("Picture"));
    picture->Picture = TrpGraphic(gkBitmap, SamplePng());
    auto* rich = Add<TrpRichView>(page, 370, 62, 200, 24, QStringLiteral("Rich"));
    rich->RichEdit->setHtml(QStringLiteral("<b>[tbSilo.\"Silo\"]</b> <i>курсив</i>"));

    AddBand(page, btReportSummary, 100, 30, QStringLiteral("Summary"));
    AddMemo(page, 10, 102, 300, 24, QStringLiteral("Средняя: [AVG([tbSilo.\"Temp\"])]"), QStringLiteral("fAvg"));
    auto* sub = Add<TrpSubReportView>(page, 320, 102, 200, 24, QStringLiteral("Sub"));
    sub->SubPageIndex = 1;

    AddBand(page, btPageFooter, 1000, 30, QStringLiteral("Footer"));
    AddMemo(page, 10, 1002, 200, 24, QStringLiteral("Стр. [PAGE#] из [TOTALPAGES]"), QStringLiteral("fPage"));

    TrpPage& target = *report->AddPage();
    AddBand(target, btMasterData, 0, 20, QStringLiteral("SubRow"));
    AddMemo(target, 0, 0, 150, 18, QStringLiteral("вложенный"), QStringLiteral("fSub"));
    report->TwoPass = true;
    return report;
}
