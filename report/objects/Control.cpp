#include "report/objects/Control.h"

#include <QPainter>

TrpControl::TrpControl()
{
    TypeCode = otAddIn;
    FillColor = clBtnFace;
    FrameTyp = 0;
}

void TrpControl::DeclareProperties()
{
    ClearProperties();
    AddProperty(QStringLiteral("Name"), pkNameText | pkText);
    for (const char* name : {"Left", "Top", "Width", "Height"})
        AddProperty(QLatin1String(name), pkPageUnits);
    AddProperty(QStringLiteral("Visible"), pkBoolean);
    AddProperty(QStringLiteral("Restrictions"), pkHasEditor);
}

void TrpControl::Draw(QPainter* canvas)
{
    const TrpViewScope current = BeginDraw(canvas);
    SaveAndScaleCoords();
    if (Canvas)
        Canvas->fillRect(TrpRect{Left, Top, Left + Width + 1, Top + Height + 1}.ToQRect(), ReportQColor(FillColor));
    RestoreCoords();
}
