#include "report/objects/LineView.h"

#include "report/objects/ReportColor.h"
#include "report/objects/ViewXml.h"

TrpLineView::TrpLineView()
{
    TypeCode = otLine;
    BaseName = QStringLiteral("Line");
    FrameTyp = frLeft;
    FillColor = clWhite;
}

void TrpLineView::DeclareProperties()
{
    TrpView::DeclareProperties();
    AddProperty(QStringLiteral("Stretched"), pkBoolean);
}

void TrpLineView::Draw(QPainter* canvas)
{
    const TrpViewScope current = BeginDraw(canvas);
    if (Height < Width) {
        Height = 0;
        FrameTyp = frTop;
    } else {
        Width = 0;
        FrameTyp = frLeft;
    }
    SaveAndScaleCoords();
    DrawFrame();
    RestoreCoords();
}

TrpRect TrpLineView::GetClipRegion(bool extended)
{
    const double w = FrameWidth;
    const bool twin = FrameStyle == psDouble;
    const int before = int(twin ? w * 1.5 : w * 0.5);
    const int after = twin ? int(int((w - 1) / 2) + w) : int((w - 1) / 2);
    TrpRect r{Left, Top, Left + Width + 1, Top + Height + 1};
    if (FrameTyp == frLeft) {
        r.Left -= before;
        r.Right += after;
    } else {
        r.Top -= before;
        r.Bottom += after;
    }
    if (extended)
        r = TrpRect{r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10};
    return r;
}

void TrpLineView::SaveToXml(QIODevice& stream)
{
    TrpView::SaveToXml(stream);
    if (!(Flags & kFlagStretched))
        WriteXmlAttribute(stream, "Stretched", QStringLiteral("False"));
}
