#include "report/objects/Stretcheable.h"

#include "report/engine/Report.h"

void TrpStretcheable::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                 QVariant& result)
{
    TrpView::CallMethod(name, p1, p2, p3, result);
    if (name == QLatin1String("CALCHEIGHT"))
        result = CalcHeight();
}

bool TrpStretcheable::BeginMeasure()
{
    PassMode = pmMeasured;
    RunScript();
    if (!Visible)
        return false;
    WorkText = Memo;
    OwnerReport().BeforePrintHook(WorkText, this);
    return true;
}
