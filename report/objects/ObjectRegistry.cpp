#include "report/objects/ObjectRegistry.h"

#include <array>

#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kStandardTypeCount = 5;

std::vector<TrpAddInObjectInfo>& AddInTable()
{
    static std::vector<TrpAddInObjectInfo> table;
    return table;
}

std::vector<TrpExportFilterInfo>& FilterTable()
{
    static std::vector<TrpExportFilterInfo> table;
    return table;
}

std::array<TrpViewClass, kStandardTypeCount>& StandardSlots()
{
    static std::array<TrpViewClass, kStandardTypeCount> table;
    return table;
}

void EnsureStandardClasses()
{
    static bool registered = false;
    if (!registered) {
        registered = true;
        RegisterStandardObjectClasses();
    }
}

QString ClassNameOf(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

std::unique_ptr<TrpView> CreateAddIn(TrpRunContext& context, const QString& className)
{
    EnsureStandardClasses();
    for (const TrpAddInObjectInfo& info : AddInTable())
        if (info.ClassRef.ClassName == className && info.ClassRef.Create) {
            std::unique_ptr<TrpView> view = info.ClassRef.Create();
            view->TypeCode = otAddIn;
            return view;
        }
    context.ErrorFlag = true;
    context.ErrorText += className + QLatin1Char('\r');
    throw EClassNotFound(context.ErrorText);
}

}  // namespace

void RegisterReportObject(const TrpViewClass& classRef, const QImage& buttonBitmap, const QString& buttonHint)
{
    EnsureStandardClasses();
    for (const TrpAddInObjectInfo& info : AddInTable())
        if (info.ClassRef.ClassName == classRef.ClassName)
            return;
    AddInTable().push_back(TrpAddInObjectInfo{classRef, buttonBitmap, buttonHint, 0});
}

const std::vector<TrpAddInObjectInfo>& AddInObjects()
{
    EnsureStandardClasses();
    return AddInTable();
}

void RegisterStandardObjectClass(uint8_t typeCode, const TrpViewClass& classRef)
{
    EnsureStandardClasses();
    if (typeCode < kStandardTypeCount)
        StandardSlots()[typeCode] = classRef;
}

const TrpViewClass& StandardObjectClass(uint8_t typeCode)
{
    static const TrpViewClass none;
    EnsureStandardClasses();
    return typeCode < kStandardTypeCount ? StandardSlots()[typeCode] : none;
}

void RegisterExportFilter(QObject* filter, const QString& description, const QString& fileMask)
{
    if (!filter)
        return;
    auto& table = FilterTable();
    std::erase_if(table, [](const TrpExportFilterInfo& info) { return info.Filter.isNull(); });
    for (const TrpExportFilterInfo& info : table)
        if (ClassNameOf(info.Filter) == ClassNameOf(filter))
            return;
    table.push_back(TrpExportFilterInfo{filter, description, fileMask});
}

void UnregisterExportFilter(QObject* filter)
{
    if (!filter)
        return;
    const QString name = ClassNameOf(filter);
    auto& table = FilterTable();
    // A destroyed filter leaves an empty entry behind; it goes too.
    std::erase_if(table, [&](const TrpExportFilterInfo& info) {
        return info.Filter.isNull() || ClassNameOf(info.Filter) == name;
    });
}

const std::vector<TrpExportFilterInfo>& ExportFilterTable()
{
    return FilterTable();
}

std::unique_ptr<TrpView> CreateReportObject(TrpRunContext& context, uint8_t typeCode, const QString& className)
{
    std::unique_ptr<TrpView> view;
    if (typeCode < kStandardTypeCount) {
        const TrpViewClass& classRef = StandardObjectClass(typeCode);
        if (classRef.Create)
            view = classRef.Create();
    } else if (typeCode == otAddIn) {
        view = CreateAddIn(context, className);
    }
    if (view)
        view->ObjectNumber = context.NextObjectNumber++;
    return view;
}
