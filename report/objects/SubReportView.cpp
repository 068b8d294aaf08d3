#include "report/objects/SubReportView.h"

#include <QPainter>

#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/file/RecordWriter.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/ReportFont.h"
#include "report/objects/ViewXml.h"
#include "report/runtime/RunContext.h"

TrpSubReportView::TrpSubReportView()
{
    TypeCode = otSubReport;
    BaseName = QStringLiteral("SubReport");
}

TrpPage* TrpSubReportView::SubPage() const
{
    if (!Report || SubPageIndex < 0 || size_t(SubPageIndex) >= Report->Pages.size())
        return nullptr;
    TrpPage* page = Report->Pages[size_t(SubPageIndex)].get();
    for (const auto& object : page->Objects)
        if (object.get() == this)
            return nullptr;
    return page;
}

void TrpSubReportView::Draw(QPainter* canvas)
{
    const TrpViewScope current = BeginDraw(canvas);
    const TrpRunContext& c = Context();
    if (!Canvas || c.PrintModeFlag)
        return;
    FrameWidth = 1;
    SaveAndScaleCoords();
    QPainter& p = *Canvas;
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRect(Left, Top, Width, Height));   // the outline covers Left to Left + Width
    TrpFont font;
    font.Size = 8;
    font.Charset = c.DefaultCharset;
    p.setFont(ReportQFont(font, FontPixelHeight(font.Size)));
    p.setClipRect(QRect(Left, Top, Width + 1, Height + 1), Qt::IntersectClip);
    p.drawText(QRect(Left + 2, Top + 2, Width, Height), Qt::AlignLeft | Qt::AlignTop, Name);
    p.restore();
    RestoreCoords();
}

void TrpSubReportView::SaveRecord(TrpRecordWriter& record)
{
    TrpView::SaveRecord(record);
    record.Int(SubPageIndex);
}

void TrpSubReportView::LoadFromStream(QIODevice& stream)
{
    TrpView::LoadFromStream(stream);
    SubPageIndex = ReadFrInt(stream);
}

void TrpSubReportView::SaveToXml(QIODevice& stream)
{
    TrpView::SaveToXml(stream);
    WriteXmlAttribute(stream, "Page", QStringLiteral("Page%1").arg(SubPageIndex + 1));
}
