#pragma once
// The base of the export filters: a component that receives the objects of prepared pages and
// writes them into a file of another format. Each object hands itself over while an export
// runs (the report's CurrentFilter): every object through OnData, a memo's text lines through
// OnText. Coordinates are page units of the prepared page.
#include <QObject>
#include <QString>

#include "report/objects/ReportRect.h"

class TrpView;

class TrpExportFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void OnData(int x, int y, TrpView* view) { Q_UNUSED(x); Q_UNUSED(y); Q_UNUSED(view); }
    // One text line of a memo: its frame rectangle, the line's position, the line and the frame
    // sides that belong to that line.
    virtual void OnText(const TrpRect& drawRect, int x, int y, const QString& text, int frameTyp, TrpView* view)
    {
        Q_UNUSED(drawRect); Q_UNUSED(x); Q_UNUSED(y); Q_UNUSED(text); Q_UNUSED(frameTyp); Q_UNUSED(view);
    }
};
