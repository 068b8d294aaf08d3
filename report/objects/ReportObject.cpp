#include "report/objects/ReportObject.h"

#include <stdexcept>

#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/ReportFont.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

void TrpObject::SetPropertyValue(const QString&, const QVariant&) {}

QVariant TrpObject::GetPropertyValue(const QString&)
{
    return VarNull();
}

void TrpObject::CallMethod(const QString&, const QVariant&, const QVariant&, const QVariant&, QVariant& result)
{
    result = VarNull();
}

void TrpObject::DeclareProperties() {}

void TrpObject::AddProperty(const QString& name, uint16_t kinds, TrpPropEditor editor)
{
    TrpPropRec rec;
    rec.PropertyName = name.left(TrpPropRec::kMaxNameLength);
    rec.Kinds = kinds;
    rec.Editor = std::move(editor);
    Properties.push_back(std::move(rec));
}

void TrpObject::AddEnumProperty(const QString& name, const QString& valueNames, const QVariantList& values)
{
    TrpPropRec rec;
    rec.PropertyName = name.left(TrpPropRec::kMaxNameLength);
    rec.Kinds = pkEnum;
    QStringList names;
    SplitSemicolonList(valueNames, names);
    rec.EnumNames = names;
    rec.EnumValues = !values.isEmpty() && VarIsNull(values.first()) ? VarNull() : QVariant(values);
    Properties.push_back(std::move(rec));
}

TrpPropRec* TrpObject::FindProperty(const QString& name)
{
    for (TrpPropRec& rec : Properties)
        if (rec.PropertyName.compare(name, Qt::CaseInsensitive) == 0)
            return &rec;
    return nullptr;
}

void TrpObject::SetFontProperty(TrpFont& font, const QString& upperName, const QVariant& value)
{
    if (upperName == QLatin1String("FONT.NAME"))
        font.Name = VarToStr(value);
    else if (upperName == QLatin1String("FONT.SIZE"))
        font.Size = CheckedFontSize(VarToInt(value));
    else if (upperName == QLatin1String("FONT.STYLE"))
        font.Style = FontStyleFromFr(int(VarToInt(value)));
    else if (upperName == QLatin1String("FONT.COLOR"))
        font.Color = uint32_t(VarToInt(value));
}

void TrpObject::GetFontProperty(const TrpFont& font, const QString& upperName, QVariant& value)
{
    value = VarNull();
    if (upperName == QLatin1String("FONT.NAME"))
        value = font.Name;
    else if (upperName == QLatin1String("FONT.SIZE"))
        value = font.Size;
    else if (upperName == QLatin1String("FONT.STYLE"))
        value = FontStyleToFr(font.Style);
    else if (upperName == QLatin1String("FONT.COLOR"))
        value = VarFromInt(font.Color);
}

namespace {

int CheckedIndex(const QStringList& list, const QVariant& index)
{
    const int64_t i = VarToInt(index);
    if (i < 0 || i >= list.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return int(i);
}

}  // namespace

TrpRunContext& TrpObject::Context() const
{
    return OwnerReport().Context();
}

TrpReport& TrpObject::OwnerReport() const
{
    if (!Report)
        throw std::logic_error("a report object outside any report has no run context");
    return *Report;
}

void TrpObject::CallListMethod(QStringList& list, const QString& method, const QString& listName, const QVariant& p1,
                               const QVariant& p2, const QVariant& p3, QVariant& result) const
{
    const auto evaluated = [this](const QVariant& expression) {
        return Context().ReportParser.Evaluate(VarToStr(expression));
    };
    if (method == QLatin1String("SETINDEXPROPERTY")) {
        if (VarToStr(p1) == listName)
            list[CheckedIndex(list, p2)] = VarToStr(p3);
    } else if (method == QLatin1String("GETINDEXPROPERTY")) {
        if (VarToStr(p1) == listName)
            result = list[CheckedIndex(list, p2)];
    } else if (method == listName + QLatin1String(".ADD")) {
        list.append(VarToStr(evaluated(p1)));
    } else if (method == listName + QLatin1String(".CLEAR")) {
        list.clear();
    } else if (method == listName + QLatin1String(".DELETE")) {
        list.removeAt(CheckedIndex(list, evaluated(p1)));
    } else if (method == listName + QLatin1String(".INDEXOF")) {
        result = int(list.indexOf(VarToStr(evaluated(p1))));
    }
}

void EnsurePropertiesDeclared(TrpObject* object)
{
    if (object && object->Properties.empty())
        object->DeclareProperties();
}
