#include "report/data/DataAccess.h"

#include "report/runtime/ReportErrors.h"

void TDataSet::IndexFields() const
{
    fieldIndex_.clear();
    const int count = FieldCount();
    for (int i = 0; i < count; ++i)
        if (const TField* field = FieldAt(i))
            if (const QString key = field->FieldName().toCaseFolded(); !fieldIndex_.contains(key))
                fieldIndex_.insert(key, i);
    indexedCount_ = count;
}

TField* TDataSet::FindField(const QString& name) const
{
    if (indexedCount_ != FieldCount())
        IndexFields();
    const auto it = fieldIndex_.constFind(name.toCaseFolded());
    if (it == fieldIndex_.cend())
        return nullptr;
    TField* field = FieldAt(*it);
    if (field && field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
        return field;
    // The field at that place is another one now, without the data set saying so.
    IndexFields();
    const auto again = fieldIndex_.constFind(name.toCaseFolded());
    return again == fieldIndex_.cend() ? nullptr : FieldAt(*again);
}

TField* TDataSet::FieldByName(const QString& name) const
{
    if (TField* field = FindField(name))
        return field;
    throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
}

void TDataSet::GetFieldNames(QStringList& names) const
{
    names.clear();
    for (int i = 0; i < FieldCount(); ++i)
        if (TField* field = FieldAt(i))
            names.append(field->FieldName());
}
