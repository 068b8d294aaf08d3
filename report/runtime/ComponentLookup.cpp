#include "report/runtime/ComponentLookup.h"

#include "report/data/DataAccess.h"
#include "report/engine/Report.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kMaxNamePart = 255;

bool SameName(const QObject* component, const QString& name)
{
    return component->objectName().compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace

QObject* ReportOwnerComponent(const TrpRunContext& context)
{
    return context.CurrentReport ? context.CurrentReport->parent() : nullptr;
}

TDataSet* DefaultFieldDataSet(const TrpRunContext& context)
{
    const TrpReport* report = context.CurrentReport;
    return report && report->UseDefaultDataSetName ? CurrentBandDataSet(context) : nullptr;
}

void RegisterGlobalComponent(TrpRunContext& context, QObject* form)
{
    UnregisterGlobalComponent(context, form);
    context.GlobalComponents.emplace_back(form);
}

void UnregisterGlobalComponent(TrpRunContext& context, QObject* form)
{
    std::erase_if(context.GlobalComponents,
                  [form](const QPointer<QObject>& p) { return p.isNull() || p.data() == form; });
}

QObject* FindGlobalComponent(const TrpRunContext& context, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (const QPointer<QObject>& p : context.GlobalComponents)
        if (p && SameName(p, name))
            return p;
    return nullptr;
}

QObject* FindOwnedComponent(const QObject* owner, const QString& name)
{
    if (!owner || name.isEmpty())
        return nullptr;
    for (QObject* child : owner->children())
        if (SameName(child, name))
            return child;
    return nullptr;
}

QObject* FindReportComponent(const TrpRunContext& context, QObject* owner, const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return FindOwnedComponent(owner, name);
    QObject* form = FindGlobalComponent(context, name.left(dot));
    if (!form)
        throw EClassNotFound(QStringLiteral("Missing ") + name);
    const QString rest = name.mid(dot + 1).left(kMaxNamePart);
    const qsizetype second = rest.indexOf(QLatin1Char('.'));
    if (second < 0)
        return FindOwnedComponent(form, rest);
    QObject* middle = FindOwnedComponent(form, rest.left(second));
    return middle ? FindOwnedComponent(middle, rest.mid(second + 1).left(kMaxNamePart)) : nullptr;
}

void ResolveFieldReference(const TrpRunContext& context, const QString& reference, TDataSet*& dataSet,
                           QString& fieldName)
{
    fieldName.clear();
    const qsizetype quote = reference.indexOf(QLatin1Char('"'));
    QStringList parts = (quote < 0 ? reference : reference.left(quote)).split(QLatin1Char('.'));
    if (quote >= 0)
        parts.last() += reference.mid(quote);
    parts.last() = parts.last().left(kMaxNamePart);

    switch (parts.size() - 1) {
    case 0:
        break;
    case 1: {
        dataSet = qobject_cast<TDataSet*>(FindReportComponent(context, ReportOwnerComponent(context), parts[0]));
        break;
    }
    case 2:
        dataSet = qobject_cast<TDataSet*>(FindOwnedComponent(FindGlobalComponent(context, parts[0]), parts[1]));
        break;
    case 3: {
        QObject* frame = FindOwnedComponent(FindGlobalComponent(context, parts[0]), parts[1]);
        dataSet = qobject_cast<TDataSet*>(FindOwnedComponent(frame, parts[2]));
        break;
    }
    default:
        return;
    }
    if (!dataSet)
        return;
    const QString field = StripDoubleQuotes(parts.last());
    try {
        if (dataSet->FindField(field))
            fieldName = field;
    } catch (const std::exception&) {
        // A data set that cannot tell its fields has none to offer.
    }
}

QVariant GetReportFieldValue(TField* field)
{
    TDataSet* dataSet = field->DataSet();
    if (dataSet && !dataSet->Active())
        dataSet->Open();
    if (field->HasTextHandler())
        return field->DisplayText();
    if (!field->IsNull())
        return field->Value();
    switch (field->DataType()) {
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo:
        return QString();
    case ftBoolean:
        return false;
    default:
        return 0;
    }
}

bool FieldIsNullByName(const TrpRunContext& context, const QString& reference)
{
    TDataSet* dataSet = DefaultFieldDataSet(context);
    QString fieldName;
    ResolveFieldReference(context, reference, dataSet, fieldName);
    if (!dataSet)
        return true;
    // A field the data set lacks comes back unnamed: the error names the reference instead.
    return dataSet->FieldByName(fieldName.isEmpty() ? reference : fieldName)->IsNull();
}
