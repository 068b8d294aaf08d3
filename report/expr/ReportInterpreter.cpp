#include "report/expr/ReportInterpreter.h"

#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/engine/ProgressWindow.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

bool Is(const QString& name, const char* word)
{
    return name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

}  // namespace

void TInterpretator::GetVariable(const QString& name, QVariant& value)
{
    if (context_.ReportParser.OnGetValue)
        context_.ReportParser.OnGetValue(name, value);
}

void TInterpretator::SetVariable(const QString& name, const QVariant& value)
{
    TrpVariables& variables = context_.ScriptVariables;
    TrpReport* report = context_.CurrentReport;
    TrpPage* page = context_.CurrentPage;
    TrpBand* band = context_.CurrentBand;
    if (variables.IndexOf(name) >= 0) {
        variables.SetValueByName(name, value);
    } else if (report && report->Dictionary.Variables.IndexOf(name) >= 0) {
        report->Dictionary.Variables.SetValueByName(name, value);
    } else if (Is(name, "MODALRESULT")) {
        if (page && page->Type == ptDialog)
            page->ModalResult = int(VarToInt(value));
    } else if (Is(name, "CURY")) {
        if (band && (band->PendingPageBreaks > 0 || band->PendingColumnBreaks > 0))
            band->CurYAssigned = true;
        if (page)
            page->PosY = int(VarToInt(value));
    } else if (Is(name, "PROGRESS")) {
        if (TrpProgressWindow* window = context_.ProgressWindow) {
            window->SetSecondLine(VarToStr(value));
            window->ProcessEvents();
        }
    } else {
        TrpObject* object = nullptr;
        QString property;
        ResolveObjectProperty(context_, name, object, property);
        if (object && object->FindProperty(property))
            object->SetPropertyValue(property, value);
        else
            variables.SetValueByName(name, value);
    }
}

void TInterpretator::CallFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                  QVariant& value)
{
    if (context_.ReportParser.OnFunction)
        context_.ReportParser.OnFunction(name, p1, p2, p3, value);
}

bool TInterpretator::KeepRunning()
{
    if (TrpProgressWindow* window = context_.ProgressWindow)
        window->ProcessEvents();
    return !(context_.RootReport && context_.RootReport->Terminated);
}
