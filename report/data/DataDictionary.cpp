#include "report/data/DataDictionary.h"

#include <utility>
#include <vector>

#include "report/expr/ReportVariant.h"
#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int16_t kCurrentMarker = -2;
constexpr int16_t kOlderMarker = -1;

// Report variables of the oldest layout, by their index.
const char* const kOldReportVariables[] = {
    "PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES",
    "REPORTCOMMENT", "REPORTNAME", "REPORTAUTOR", "VMAJOR", "VMINOR", "VRELEASE", "VBUILD", "REPORTDATE",
    "REPORTLASTCHANGE",
};

void ReadList(QIODevice& stream, TrpVariables& list)
{
    const int32_t count = ReadFrInt(stream);
    if (count < 0)
        throw EReadError(QStringLiteral("Dictionary list with a negative count (%1)").arg(count));
    for (int32_t i = 0; i < count; ++i) {
        const QString name = ReadFrString(stream);
        list.SetValueByName(name, ReadFrString(stream));
    }
}

void WriteList(QIODevice& stream, const TrpVariables& list)
{
    WriteFrInt(stream, list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        WriteFrString(stream, list.NameAt(i));
        WriteFrString(stream, VarToStr(list.ValueAt(i)));
    }
}

// A text of the oldest layout: one octet of length and that many octets.
QString ReadShortString(QIODevice& stream)
{
    return FromCp1251(ReadFrBytes(stream, ReadFrByte(stream)));
}

// Removes the name from the set of variables being evaluated when it goes out of scope.
class EvaluationGuard {
public:
    EvaluationGuard(QSet<QString>& names, const QString& name) : names_(names), key_(name.toUpper())
    {
        if (names_.contains(key_))
            throw EParserError(QStringLiteral("Variable \"%1\" refers to itself").arg(name));
        names_.insert(key_);
    }
    ~EvaluationGuard() { names_.remove(key_); }
    EvaluationGuard(const EvaluationGuard&) = delete;
    EvaluationGuard& operator=(const EvaluationGuard&) = delete;

private:
    QSet<QString>& names_;
    QString key_;
};

}  // namespace

void TrpDataDictionary::Clear()
{
    Variables.Clear();
    FieldAliasList.Clear();
    BandSources.Clear();
}

void TrpDataDictionary::ClearCache()
{
    cache_.clear();
}

void TrpDataDictionary::SplitFieldName(const QString& name, QString& dataSet, QString& field)
{
    qsizetype point = -1;
    bool insideQuotes = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == QLatin1Char('"'))
            insideQuotes = !insideQuotes;
        else if (name[i] == QLatin1Char('.') && !insideQuotes)
            point = i;
    }
    dataSet = point < 0 ? QString() : name.left(point);
    field = StripDoubleQuotes(name.mid(point + 1));
}

QString TrpDataDictionary::RealDataSetName(const QString& alias) const
{
    for (int i = 0; i < FieldAliasList.Count(); ++i)
        if (VarToStr(FieldAliasList.ValueAt(i)).compare(alias, Qt::CaseInsensitive) == 0)
            return FieldAliasList.NameAt(i);
    return alias;
}

void TrpDataDictionary::AddCacheItem(const QString& name, TDataSet* dataSet, const QString& fieldName)
{
    cache_.insert(TrpCacheKey{name}, TrpCacheItem{dataSet, fieldName, -1, QString()});
}

TrpDataDictionary::TrpCacheItem* TrpDataDictionary::CachedItem(const QString& name)
{
    const auto it = cache_.find(TrpCacheKey{name});
    if (it == cache_.end())
        return nullptr;
    if (!it->DataSet) {   // the table is gone: the binding with it
        cache_.erase(it);
        return nullptr;
    }
    return &*it;
}

TField* TrpDataDictionary::CachedField(TrpCacheItem& item)
{
    const TDataSet& dataSet = *item.DataSet;
    if (item.FieldIndex >= 0 && item.FieldIndex < dataSet.FieldCount())
        if (TField* field = dataSet.FieldAt(item.FieldIndex); field && field->FieldName() == item.FoundName)
            return field;
    TField* field = dataSet.FieldByName(item.FieldName);
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        if (dataSet.FieldAt(i) == field)
            item.FieldIndex = i;
    item.FoundName = field->FieldName();
    return field;
}

bool TrpDataDictionary::CacheIfField(const QString& name, const QString& reference)
{
    TDataSet* dataSet = CurrentBandDataSet(context_);
    QString field;
    ResolveFieldReference(context_, reference, dataSet, field);
    if (!dataSet || field.isEmpty())
        return false;
    AddCacheItem(name, dataSet, field);
    return true;
}

QString TrpDataDictionary::ActualFieldName(const QString& name) const
{
    if (!name.contains(QLatin1Char('.')))
        return name;
    QString dataSet, field;
    SplitFieldName(name, dataSet, field);
    dataSet = RealDataSetName(dataSet);
    for (int i = 0; i < FieldAliasList.Count(); ++i) {
        const QString actual = FieldAliasList.NameAt(i);
        if (actual.startsWith(dataSet, Qt::CaseInsensitive)
            && VarToStr(FieldAliasList.ValueAt(i)).compare(field, Qt::CaseInsensitive) == 0) {
            QString aliasDataSet;
            SplitFieldName(actual, aliasDataSet, field);
            break;
        }
    }
    return dataSet + QStringLiteral(".\"") + field + QLatin1Char('"');
}

bool TrpDataDictionary::IsVariable(const QString& name)
{
    if (CachedItem(name))
        return true;
    if (Variables.IndexOf(name) >= 0) {
        const QVariant value = Variables.GetValueByName(name);
        if (VarIsString(value) && VarToStr(value).contains(QLatin1Char('.')))
            CacheIfField(name, VarToStr(value));
        return true;
    }
    return CacheIfField(name, ActualFieldName(name));
}

bool TrpDataDictionary::CachedFieldValue(const QString& name, QVariant& value)
{
    TrpCacheItem* item = CachedItem(name);
    if (!item)
        return false;
    TDataSet* dataSet = item->DataSet;
    if (!dataSet->Active())
        dataSet->Open();
    value = GetReportFieldValue(CachedField(*item));
    return true;
}

bool TrpDataDictionary::FieldOf(const QString& name, TDataSet*& dataSet, QString& fieldName)
{
    const TrpCacheItem* item = IsVariable(name) ? CachedItem(name) : nullptr;
    if (!item)
        return false;
    dataSet = item->DataSet;
    fieldName = item->FieldName;
    return true;
}

QVariant TrpDataDictionary::GetValue(const QString& name)
{
    if (QVariant value; CachedFieldValue(name, value))
        return value;
    if (Variables.IndexOf(name) < 0)
        return VarNull();
    const TrpVariables& scriptVariables = context_.ScriptVariables;
    if (scriptVariables.IndexOf(name) >= 0)
        return scriptVariables.GetValueByName(name);
    const QVariant value = Variables.GetValueByName(name);
    if (!VarIsString(value) || VarToStr(value).isEmpty())
        return value;
    EvaluationGuard guard(evaluating_, name);
    return context_.ReportParser.Evaluate(VarToStr(value));
}

void TrpDataDictionary::LoadFromStream(QIODevice& stream)
{
    Clear();
    const int16_t marker = int16_t(ReadFrWord(stream));
    if (marker == kCurrentMarker || marker == kOlderMarker) {
        ReadList(stream, Variables);
        ReadList(stream, FieldAliasList);
        ReadList(stream, BandSources);
    } else {
        stream.seek(stream.pos() - 2);   // the two octets belong to the oldest layout
        ReadOldestLayout(stream);
    }
    SwapCategoryMarks();
    if (marker == kOlderMarker)
        CleanUp();
}

void TrpDataDictionary::ReadOldestLayout(QIODevice& stream)
{
    const int32_t count = ReadFrInt(stream);
    if (count < 0)
        throw EReadError(QStringLiteral("Dictionary list with a negative count (%1)").arg(count));
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t kind = ReadFrByte(stream);
        const int32_t index = ReadFrInt(stream);
        const QString first = ReadShortString(stream);
        const QString second = ReadShortString(stream);
        const QString third = ReadShortString(stream);
        QString value;
        if (kind == 2 && index == 1)
            value = second;
        else if (kind == 2 && index >= 0 && index < int(std::size(kOldReportVariables)))
            value = QString::fromLatin1(kOldReportVariables[index]);
        else if (kind == 1)
            value = first + QStringLiteral(".\"") + second + QLatin1Char('"');
        FieldAliasList.SetValueByName(QLatin1Char(' ') + third, value);
    }
    QStringList names;
    ReadFrMemoVer(stream, names, context_.TemplateVersion);
    for (const QString& name : names) {
        if (name.startsWith(QLatin1Char(' ')))
            Variables.SetValueByName(name, FieldAliasList.GetValueByName(name));
        else
            Variables.SetValueByName(name, QString());
    }
    FieldAliasList.Clear();
}

void TrpDataDictionary::SwapCategoryMarks()
{
    // Some templates mark categories without the leading blank and variables with it.
    if (Variables.Count() == 0 || Variables.NameAt(0).isEmpty() || Variables.NameAt(0).startsWith(QLatin1Char(' ')))
        return;
    std::vector<std::pair<QString, QVariant>> entries;
    for (int i = 0; i < Variables.Count(); ++i) {
        const QString name = Variables.NameAt(i);
        entries.emplace_back(name.startsWith(QLatin1Char(' ')) ? name.mid(1) : QLatin1Char(' ') + name,
                             Variables.ValueAt(i));
    }
    Variables.Clear();
    for (const auto& [name, value] : entries)
        Variables.SetValueByName(name, value);
}

void TrpDataDictionary::CleanUp()
{
    for (int i = FieldAliasList.Count() - 1; i >= 0; --i) {
        if (!VarToStr(FieldAliasList.ValueAt(i)).isEmpty())
            continue;
        TDataSet* dataSet = nullptr;
        QString field;
        ResolveFieldReference(context_, FieldAliasList.NameAt(i), dataSet, field);
        if (field.isEmpty())
            FieldAliasList.Delete(i);
    }
    for (int i = BandSources.Count() - 1; i >= 0; --i)
        if (VarToStr(BandSources.ValueAt(i)).isEmpty())
            BandSources.Delete(i);
}

void TrpDataDictionary::SaveToStream(QIODevice& stream) const
{
    WriteFrWord(stream, kCurrentMarker);
    WriteList(stream, Variables);
    WriteList(stream, FieldAliasList);
    WriteList(stream, BandSources);
}
