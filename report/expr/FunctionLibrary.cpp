#include "report/expr/FunctionLibrary.h"

#include "report/runtime/RunContext.h"

bool TrpFunctionLibrary::TryCallFunction(const QString& name, const QVariant& p1, const QVariant& p2,
                                         const QVariant& p3, QVariant& value)
{
    for (qsizetype index = 0; index < List.size(); ++index)
        if (List[index].compare(name, Qt::CaseInsensitive) == 0) {
            CallFunction(int(index), p1, p2, p3, value);
            return true;
        }
    return false;
}

void TrpFunctionLibrary::AddFunctionDesc(const QString& functionName, const QString& category,
                                         const QString& description)
{
    AddFunctionDescription(context_, *this, functionName, category, description);
}

void TrpInstalledFunctions::Add(const TrpFunctionLibrary& library, const QString& name, const QString& category,
                                const QString& description)
{
    if (category.isEmpty())
        return;
    for (const TrpFunctionDesc& item : items_)
        if (item.FunctionName == name)
            return;
    items_.push_back(TrpFunctionDesc{library.ClassName(), name, category, description});
}

void TrpInstalledFunctions::RemoveLibrary(const TrpFunctionLibrary& library)
{
    const QString className = library.ClassName();
    std::erase_if(items_, [&](const TrpFunctionDesc& item) { return item.LibraryClass == className; });
}

void RegisterFunctionLibrary(TrpRunContext& context, const TrpFunctionLibraryClass& libraryClass)
{
    for (const auto& library : context.FunctionLibraries)
        if (library->ClassName() == libraryClass.ClassName)
            return;
    if (libraryClass.Create)
        context.FunctionLibraries.push_back(libraryClass.Create(context));
}

void UnregisterFunctionLibrary(TrpRunContext& context, const QString& className)
{
    auto& table = context.FunctionLibraries;
    for (auto it = table.begin(); it != table.end(); ++it)
        if ((*it)->ClassName() == className) {
            context.InstalledFunctions.RemoveLibrary(**it);
            table.erase(it);
            return;
        }
}

void AddFunctionDescription(TrpRunContext& context, const TrpFunctionLibrary& library, const QString& name,
                            const QString& category, const QString& description)
{
    context.InstalledFunctions.Add(library, name, category, description);
}
