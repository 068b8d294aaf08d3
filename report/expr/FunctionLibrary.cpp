#include "report/expr/FunctionLibrary.h"

#include "report/expr/ReportVariant.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

bool IsBlankParameter(const QVariant& parameter)
{
    return parameter.toString().trimmed().isEmpty();
}

int ParameterCount(const QVariant& p1, const QVariant& p2, const QVariant& p3)
{
    if (!IsBlankParameter(p3)) {
        // The third parameter alone, scanned as a call's parameters: a comma cuts it short.
        const QString third = p3.toString();
        const QString call = QLatin1Char('(') + third + QLatin1Char(')');
        int position = 0;
        QString first, second, rest;
        TrpParser::ScanParameters(call, position, first, second, rest);
        return first.size() < third.size() ? 4 : 3;
    }
    if (!IsBlankParameter(p2))
        return 2;
    return IsBlankParameter(p1) ? 0 : 1;
}

QVariant TrpFunctionLibrary::Evaluate(const QVariant& parameter) const
{
    return context_.ReportParser.Evaluate(parameter.toString());
}

QString TrpFunctionLibrary::EvaluateText(const QVariant& parameter) const
{
    return VarToStr(Evaluate(parameter));
}

void TrpFunctionLibrary::CheckParameters(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                         int least, int most) const
{
    const QVariant* parameters[] = {&p1, &p2, &p3};
    const int count = ParameterCount(p1, p2, p3);
    bool fits = count >= least && count <= most;
    for (int i = 0; fits && i < least; ++i)
        fits = !IsBlankParameter(*parameters[i]);
    if (!fits)
        throw EParserError(QStringLiteral("Неверное число параметров функции %1").arg(List.value(functionNo)));
}

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
