#include "report/expr/DatabaseFunctionLibrary.h"

#include "report/expr/FunctionDescriptions.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/TextRoutines.h"

TDatabaseFunctionLibrary::TDatabaseFunctionLibrary(TrpRunContext& context) : TrpFunctionLibrary(context)
{
    List = QStringList{"FIELDISNULL"};
    AddFunctionDesc(List[0], LoadFrResString(context, kCategoryDatabase),
                    LoadFrResString(context, kFieldIsNullDescription));
}

void TDatabaseFunctionLibrary::CallFunction(int functionNo, const QVariant& p1, const QVariant& p2,
                                            const QVariant& p3, QVariant& value)
{
    if (functionNo != 0)
        return;
    CheckParameters(functionNo, p1, p2, p3, 1, 1);
    value = FieldIsNullByName(Context(), EvaluateText(p1));
}
