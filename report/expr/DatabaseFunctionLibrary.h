#pragma once
// The database library of report functions: FIELDISNULL(FieldName), whether a data field's
// value is null. The parameter evaluates to a field reference (data set, point, quoted field
// name; the field alone when the report uses default data-set names).
#include "report/expr/FunctionLibrary.h"

class TDatabaseFunctionLibrary : public TrpFunctionLibrary {
public:
    explicit TDatabaseFunctionLibrary(TrpRunContext& context);

    QString ClassName() const override { return QStringLiteral("TDatabaseFunctionLibrary"); }
    void CallFunction(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                      QVariant& value) override;
};
