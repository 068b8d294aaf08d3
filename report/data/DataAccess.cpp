#include "report/data/DataAccess.h"

#include "report/runtime/ReportErrors.h"

TField* TDataSet::FindField(const QString& name) const
{
    for (int i = 0; i < FieldCount(); ++i) {
        TField* field = FieldAt(i);
        if (field && field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return nullptr;
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
