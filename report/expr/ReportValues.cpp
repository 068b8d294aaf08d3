// How a report being built turns names into values, routes function calls and formats values.
#include "report/engine/Report.h"

#include "report/runtime/EngineRoutines.h"
#include "report/expr/FunctionLibrary.h"
#include "report/runtime/ReportContext.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/ReportGlobals.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/TextRoutines.h"
#include "report/expr/ValueFormat.h"
#include "report/expr/VariantOps.h"

namespace {

const TrpReport* boundReport = nullptr;

// Clears EvalGuardName when the evaluation of a name as an expression ends, also by an error.
class GuardNameScope {
public:
    explicit GuardNameScope(const QString& name) { EvalGuardName = name; }
    ~GuardNameScope() { EvalGuardName.clear(); }
    GuardNameScope(const GuardNameScope&) = delete;
    GuardNameScope& operator=(const GuardNameScope&) = delete;
};

int BandCounter(bool throughCount)
{
    if (!CurrentBand)
        return 0;
    const TrpBand* band = CurrentBand->CounterBand();
    return throughCount ? band->LineThroughNo : band->LineNo;
}

// The report's own variables; names compared exactly.
bool ReportVariable(const TrpReport& report, const QString& name, QVariant& value)
{
    const TrpReportInfo& info = report.ReportInfo;
    if (name == QLatin1String("VALUE"))
        value = CurValue;
    else if (name == QLatin1String("PAGE#"))
        value = PageNo + 1;
    else if (name == QLatin1String("DATE"))
        value = VarFromDateTime(CurDate);
    else if (name == QLatin1String("TIME"))
        value = VarFromDateTime(CurTime);
    else if (name == QLatin1String("LINE#"))
        value = BandCounter(false);
    else if (name == QLatin1String("LINETHROUGH#"))
        value = BandCounter(true);
    else if (name == QLatin1String("COLUMN#"))
        value = CurrentPage ? CurrentPage->ColumnNo : 0;
    else if (name == QLatin1String("CURRENT#"))
        value = CurrentPage ? CurrentPage->CurrentNo : 0;
    else if (name == QLatin1String("TOTALPAGES"))
        value = TotalPages;
    else if (name == QLatin1String("REPORTCOMMENT"))
        value = info.Comment;
    else if (name == QLatin1String("REPORTNAME"))
        value = info.Name;
    else if (name == QLatin1String("REPORTAUTOR"))
        value = info.Author;
    else if (name == QLatin1String("VMAJOR"))
        value = info.VersionMajor;
    else if (name == QLatin1String("VMINOR"))
        value = info.VersionMinor;
    else if (name == QLatin1String("VRELEASE"))
        value = info.VersionRelease;
    else if (name == QLatin1String("VBUILD"))
        value = info.VersionBuild;
    else if (name == QLatin1String("REPORTDATE"))
        value = VarFromDateTime(info.Created);
    else if (name == QLatin1String("REPORTLASTCHANGE"))
        value = VarFromDateTime(info.LastChange);
    else if (name == QLatin1String("CALCWIDTH"))
        value = CurrentView ? CurrentView->CalcWidth() : 0;
    else
        return false;
    return true;
}

// The name of the array element a SETARRAY or GETARRAY call addresses in the script variables.
QString ArrayElementName(const QString& array, const QVariant& index)
{
    const QString indexText = VarIsString(index) ? VarToStr(index) : QString::number(VarToInt(index));
    return QStringLiteral("Arr_") + array + QLatin1Char('_') + indexText;
}

// The object and upper-cased property of an array name with a point ("Memo1.Lines"), if any.
TrpObject* ArrayObject(const QString& array, QString& property)
{
    if (!array.contains(QLatin1Char('.')))
        return nullptr;
    TrpObject* object = nullptr;
    ResolveObjectProperty(array, object, property);
    property = property.toUpper();
    return object;
}

}  // namespace

void TrpReport::BindParser()
{
    TrpParser& parser = ReportParser();
    parser.OnGetValue = [this](const QString& name, QVariant& value) { ResolveVariable(name, value); };
    parser.OnFunction = [this](const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                               QVariant& value) { CallParserFunction(name, p1, p2, p3, value); };
    boundReport = this;
}

void TrpReport::UnbindParser()
{
    if (boundReport != this)
        return;
    boundReport = nullptr;
    if (TrpGlobals* globals = ExistingReportGlobals()) {
        globals->ReportParser.OnGetValue = nullptr;
        globals->ReportParser.OnFunction = nullptr;
    }
}

void TrpReport::ExpandExpression(const QString& expression, QString& text)
{
    EvalGuardName.clear();
    uint32_t format = CurrentView ? CurrentView->FormatCode : 0;
    QString formatText = CurrentView ? CurrentView->FormatText : QString();
    QString plain = expression;
    ApplyFormatOverride(plain, format, formatText);
    CurExpression = plain;
    CurValue = 0;
    ResolveVariable(plain, CurValue);
    if (CurrentView && (CurrentView->Flags & kFlagHideZeros) && !VarIsString(CurValue)) {
        try {
            if (VarCompare(CurValue, 0) == 0)
                CurValue = QString();
        } catch (const std::exception&) {
            // A value that cannot be compared with 0 prints as it is.
        }
    }
    if (!PrepareScanFlag)
        text = FormatValue(CurValue, format, formatText);
}

QString TrpReport::ExpandExpression(const QString& expression)
{
    QString text;
    ExpandExpression(expression, text);
    return text;
}

void TrpReport::ResolveVariable(const QString& name, QVariant& value)
{
    value = QVariant();
    if (OnGetValue) {
        OnGetValue(name, value);
        if (!VarIsEmpty(value))
            return;
    }
    value = 0;
    if (Dictionary.IsVariable(name)) {
        value = Dictionary.GetValue(name);
        return;
    }
    if (ReportVariable(*this, name, value))
        return;
    const TrpVariables& scriptVariables = ScriptVariables();
    if (scriptVariables.IndexOf(name) >= 0) {
        value = scriptVariables.GetValueByName(name);
        return;
    }
    value = QVariant();
    GetSystemValue(name, value);
    if (!VarIsEmpty(value))
        return;
    if (name != EvalGuardName) {
        // Not a known name: an expression (or a name the parser hands back, upper-cased).
        GuardNameScope guard(name);
        value = ReportParser().Evaluate(name);
    } else if (!PrepareScanFlag) {
        throw EParserError(LoadFrResString(55439) + QStringLiteral(" \"") + name + QLatin1Char('"'));
    }
}

void TrpReport::GetSystemValue(const QString& name, QVariant& value)
{
    if (CurrentPage) {
        if (name == QLatin1String("CURY")) {
            value = CurrentPage->PosY;
            return;
        }
        if (name == QLatin1String("FREESPACE")) {
            value = CurrentPage->LimitY - CurrentPage->PosY;
            return;
        }
        if (name == QLatin1String("PAGEHEIGHT")) {
            value = CurrentPage->LimitY;
            return;
        }
        if (name == QLatin1String("PAGEWIDTH")) {
            value = CurrentPage->RightLimit();
            return;
        }
    }
    if (name == QLatin1String("FINALPASS")) {
        value = RootReport ? RootReport->FinalPass : false;
        return;
    }
    TrpObject* object = nullptr;
    QString property;
    ResolveObjectProperty(name, object, property);
    if (object && object->FindProperty(property)) {
        value = object->GetPropertyValue(property);
        return;
    }
    const TrpVariables& constants = ReportConstants();
    if (constants.IndexOf(name) >= 0)
        value = constants.GetValueByName(name);
}

void TrpReport::CallParserFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                   QVariant& value)
{
    value = QStringLiteral("0");
    for (const auto& library : FunctionLibraries())
        if (library->TryCallFunction(name, p1, p2, p3, value))
            return;
    CallInterpreterFunction(name, p1, p2, p3, value);
    if (OnUserFunction)
        OnUserFunction(name, p1, p2, p3, value);
}

void TrpReport::CallInterpreterFunction(const QString& name, const QVariant& p1, const QVariant& p2,
                                        const QVariant& p3, QVariant& value)
{
    if (name == QLatin1String("STOPREPORT")) {
        if (CurrentReport)
            CurrentReport->Terminated = true;
    } else if (name == QLatin1String("NEWPAGE")) {
        if (CurrentBand)
            ++CurrentBand->PendingPageBreaks;
    } else if (name == QLatin1String("NEWCOLUMN")) {
        if (CurrentBand)
            ++CurrentBand->PendingColumnBreaks;
    } else if (name == QLatin1String("SHOWBAND")) {
        if (CurrentPage)
            CurrentPage->PrintBandByName(VarToStr(p1).trimmed());
    } else if (name == QLatin1String("INC") || name == QLatin1String("DEC")) {
        const QString variable = VarToStr(p1).trimmed();
        QVariant current = VarNull();
        if (ReportParser().OnGetValue)
            ReportParser().OnGetValue(variable, current);
        ReportInterpreter().SetVariable(variable, name == QLatin1String("INC") ? VarAdd(current, 1) : VarSub(current, 1));
    } else if (name == QLatin1String("SETARRAY") || name == QLatin1String("GETARRAY")) {
        const QString array = VarToStr(p1).trimmed();
        const QVariant index = ReportParser().Evaluate(VarToStr(p2));
        QString property;
        TrpObject* object = ArrayObject(array, property);
        if (name == QLatin1String("SETARRAY")) {
            const QVariant element = ReportParser().Evaluate(VarToStr(p3));
            if (object) {
                QVariant ignored;
                object->CallMethod(QStringLiteral("SETINDEXPROPERTY"), property, index, element, ignored);
            } else if (!array.contains(QLatin1Char('.'))) {
                ScriptVariables().SetValueByName(ArrayElementName(array, index), element);
            }
        } else if (object) {
            object->CallMethod(QStringLiteral("GETINDEXPROPERTY"), property, index, QVariant(), value);
        } else if (!array.contains(QLatin1Char('.'))) {
            value = ScriptVariables().GetValueByName(ArrayElementName(array, index));
        }
    } else if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot > 0) {
        if (TrpView* object = FindObject(name.left(dot)))
            object->CallMethod(name.mid(dot + 1), p1, p2, p3, value);
    }
}

QString TrpReport::FormatValue(const QVariant& value, uint32_t format, const QString& formatText)
{
    return FormatReportValue(value, format, formatText);
}
