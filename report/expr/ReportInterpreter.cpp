#include "report/expr/ReportInterpreter.h"

#include "report/engine/Band.h"
#include "report/runtime/EngineRoutines.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/runtime/ReportContext.h"
#include "report/runtime/ReportGlobals.h"
#include "report/expr/ReportVariant.h"

namespace {

bool Is(const QString& name, const char* word)
{
    return name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

}  // namespace

void TInterpretator::GetVariable(const QString& name, QVariant& value)
{
    if (ReportParser().OnGetValue)
        ReportParser().OnGetValue(name, value);
}

void TInterpretator::SetVariable(const QString& name, const QVariant& value)
{
    TrpVariables& variables = ScriptVariables();
    if (variables.IndexOf(name) >= 0) {
        variables.SetValueByName(name, value);
    } else if (CurrentReport && CurrentReport->Dictionary.Variables.IndexOf(name) >= 0) {
        CurrentReport->Dictionary.Variables.SetValueByName(name, value);
    } else if (Is(name, "MODALRESULT")) {
        if (CurrentPage && CurrentPage->Type == ptDialog)
            CurrentPage->ModalResult = int(VarToInt(value));
    } else if (Is(name, "CURY")) {
        if (CurrentBand && (CurrentBand->PendingPageBreaks > 0 || CurrentBand->PendingColumnBreaks > 0))
            CurrentBand->CurYAssigned = true;
        if (CurrentPage)
            CurrentPage->PosY = int(VarToInt(value));
    } else if (Is(name, "PROGRESS")) {
        if (ReportHooks.ShowProgressText)
            ReportHooks.ShowProgressText(VarToStr(value));
    } else {
        TrpObject* object = nullptr;
        QString property;
        ResolveObjectProperty(name, object, property);
        if (object && object->FindProperty(property))
            object->SetPropertyValue(property, value);
        else
            variables.SetValueByName(name, value);
    }
}

void TInterpretator::CallFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                  QVariant& value)
{
    if (ReportParser().OnFunction)
        ReportParser().OnFunction(name, p1, p2, p3, value);
}
