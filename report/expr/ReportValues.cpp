// How a report being built turns names into values, routes function calls and formats values.
#include "report/engine/Report.h"

#include "report/expr/FunctionLibrary.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/ValueFormat.h"
#include "report/expr/VariantOps.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

// Clears EvalGuardName when the evaluation of a name as an expression ends, also by an error.
class GuardNameScope {
public:
    GuardNameScope(QString& guard, const QString& name) : guard_(guard) { guard_ = name; }
    ~GuardNameScope() { guard_.clear(); }
    GuardNameScope(const GuardNameScope&) = delete;
    GuardNameScope& operator=(const GuardNameScope&) = delete;

private:
    QString& guard_;
};

int BandCounter(const TrpBand* currentBand, bool throughCount)
{
    if (!currentBand)
        return 0;
    const TrpBand* band = currentBand->CounterBand();
    return throughCount ? band->LineThroughNo : band->LineNo;
}

// The report's own variables; names compared exactly.
bool ReportVariable(const TrpReport& report, const QString& name, QVariant& value)
{
    const TrpRunContext& c = report.Context();
    const TrpReportInfo& info = report.ReportInfo;
    if (name == QLatin1String("VALUE"))
        value = c.CurValue;
    else if (name == QLatin1String("PAGE#"))
        value = c.PageNo + 1;
    else if (name == QLatin1String("DATE"))
        value = VarFromDateTime(c.CurDate);
    else if (name == QLatin1String("TIME"))
        value = VarFromDateTime(c.CurTime);
    else if (name == QLatin1String("LINE#"))
        value = BandCounter(c.CurrentBand, false);
    else if (name == QLatin1String("LINETHROUGH#"))
        value = BandCounter(c.CurrentBand, true);
    else if (name == QLatin1String("COLUMN#"))
        value = c.CurrentPage ? c.CurrentPage->ColumnNo : 0;
    else if (name == QLatin1String("CURRENT#"))
        value = c.CurrentPage ? c.CurrentPage->CurrentNo : 0;
    else if (name == QLatin1String("TOTALPAGES"))
        value = c.TotalPages;
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
        value = c.CurrentView ? c.CurrentView->CalcWidth() : 0;
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
TrpObject* ArrayObject(const TrpRunContext& context, const QString& array, QString& property)
{
    if (!array.contains(QLatin1Char('.')))
        return nullptr;
    TrpObject* object = nullptr;
    ResolveObjectProperty(context, array, object, property);
    property = property.toUpper();
    return object;
}

}  // namespace

void TrpReport::BindParser()
{
    TrpParser& parser = context_.ReportParser;
    parser.OnGetValue = [this](const QString& name, QVariant& value) { ResolveVariable(name, value); };
    parser.OnFunction = [this](const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                               QVariant& value) { CallParserFunction(name, p1, p2, p3, value); };
    context_.ParserReport = this;
}

void TrpReport::UnbindParser()
{
    if (context_.ParserReport != this)
        return;
    context_.ParserReport = nullptr;
    context_.ReportParser.OnGetValue = nullptr;
    context_.ReportParser.OnFunction = nullptr;
}

void TrpReport::ExpandExpression(const QString& expression, QString& text)
{
    TrpRunContext& c = context_;
    c.EvalGuardName.clear();
    uint32_t format = c.CurrentView ? c.CurrentView->FormatCode : 0;
    QString formatText = c.CurrentView ? c.CurrentView->FormatText : QString();
    QString plain = expression;
    ApplyFormatOverride(plain, format, formatText);
    c.CurExpression = plain;
    c.CurValue = 0;
    ResolveVariable(plain, c.CurValue);
    if (c.CurrentView && (c.CurrentView->Flags & kFlagHideZeros) && !VarIsString(c.CurValue)) {
        try {
            if (VarCompare(c.CurValue, 0) == 0)
                c.CurValue = QString();
        } catch (const std::exception&) {
            // A value that cannot be compared with 0 prints as it is.
        }
    }
    if (!c.PrepareScanFlag)
        text = FormatValue(c.CurValue, format, formatText);
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
    if (Dictionary.CachedFieldValue(name, value))
        return;
    value = 0;
    if (Dictionary.IsVariable(name)) {
        value = Dictionary.GetValue(name);
        return;
    }
    if (ReportVariable(*this, name, value))
        return;
    const TrpVariables& scriptVariables = context_.ScriptVariables;
    if (scriptVariables.IndexOf(name) >= 0) {
        value = scriptVariables.GetValueByName(name);
        return;
    }
    value = QVariant();
    GetSystemValue(name, value);
    if (!VarIsEmpty(value))
        return;
    if (name != context_.EvalGuardName) {
        // Not a known name: an expression (or a name the parser hands back, upper-cased).
        GuardNameScope guard(context_.EvalGuardName, name);
        value = context_.ReportParser.Evaluate(name);
    } else if (!context_.PrepareScanFlag) {
        throw EParserError(LoadFrResString(context_, 55439) + QStringLiteral(" \"") + name + QLatin1Char('"'));
    }
}

void TrpReport::GetSystemValue(const QString& name, QVariant& value)
{
    if (const TrpPage* page = context_.CurrentPage) {
        if (name == QLatin1String("CURY")) {
            value = page->PosY;
            return;
        }
        if (name == QLatin1String("FREESPACE")) {
            value = page->LimitY - page->PosY;
            return;
        }
        if (name == QLatin1String("PAGEHEIGHT")) {
            value = page->LimitY;
            return;
        }
        if (name == QLatin1String("PAGEWIDTH")) {
            value = page->RightLimit();
            return;
        }
    }
    if (name == QLatin1String("FINALPASS")) {
        value = context_.RootReport ? context_.RootReport->FinalPass : false;
        return;
    }
    TrpObject* object = nullptr;
    QString property;
    ResolveObjectProperty(context_, name, object, property);
    if (object && object->FindProperty(property)) {
        value = object->GetPropertyValue(property);
        return;
    }
    const TrpVariables& constants = context_.ReportConstants;
    if (constants.IndexOf(name) >= 0)
        value = constants.GetValueByName(name);
}

void TrpReport::CallParserFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                   QVariant& value)
{
    value = QStringLiteral("0");
    for (const auto& library : context_.FunctionLibraries)
        if (library->TryCallFunction(name, p1, p2, p3, value))
            return;
    CallInterpreterFunction(name, p1, p2, p3, value);
    if (OnUserFunction)
        OnUserFunction(name, p1, p2, p3, value);
}

void TrpReport::CallInterpreterFunction(const QString& name, const QVariant& p1, const QVariant& p2,
                                        const QVariant& p3, QVariant& value)
{
    TrpRunContext& c = context_;
    if (name == QLatin1String("STOPREPORT")) {
        if (c.CurrentReport)
            c.CurrentReport->Terminated = true;
    } else if (name == QLatin1String("NEWPAGE")) {
        if (c.CurrentBand)
            ++c.CurrentBand->PendingPageBreaks;
    } else if (name == QLatin1String("NEWCOLUMN")) {
        if (c.CurrentBand)
            ++c.CurrentBand->PendingColumnBreaks;
    } else if (name == QLatin1String("SHOWBAND")) {
        if (c.CurrentPage)
            c.CurrentPage->PrintBandByName(VarToStr(p1).trimmed());
    } else if (name == QLatin1String("INC") || name == QLatin1String("DEC")) {
        const QString variable = VarToStr(p1).trimmed();
        QVariant current = VarNull();
        if (c.ReportParser.OnGetValue)
            c.ReportParser.OnGetValue(variable, current);
        c.ReportInterpreter.SetVariable(variable, name == QLatin1String("INC") ? VarAdd(current, 1) : VarSub(current, 1));
    } else if (name == QLatin1String("SETARRAY") || name == QLatin1String("GETARRAY")) {
        const QString array = VarToStr(p1).trimmed();
        const QVariant index = c.ReportParser.Evaluate(VarToStr(p2));
        QString property;
        TrpObject* object = ArrayObject(c, array, property);
        if (name == QLatin1String("SETARRAY")) {
            const QVariant element = c.ReportParser.Evaluate(VarToStr(p3));
            if (object) {
                QVariant ignored;
                object->CallMethod(QStringLiteral("SETINDEXPROPERTY"), property, index, element, ignored);
            } else if (!array.contains(QLatin1Char('.'))) {
                c.ScriptVariables.SetValueByName(ArrayElementName(array, index), element);
            }
        } else if (object) {
            object->CallMethod(QStringLiteral("GETINDEXPROPERTY"), property, index, QVariant(), value);
        } else if (!array.contains(QLatin1Char('.'))) {
            value = c.ScriptVariables.GetValueByName(ArrayElementName(array, index));
        }
    } else if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot > 0) {
        if (TrpView* object = FindObject(name.left(dot)))
            object->CallMethod(name.mid(dot + 1), p1, p2, p3, value);
    }
}

QString TrpReport::FormatValue(const QVariant& value, uint32_t format, const QString& formatText) const
{
    return FormatReportValue(context_, value, format, formatText);
}
