#pragma once
// A report's data dictionary: named report variables whose values are expressions, aliases
// that give data sets and fields readable names, and a cache that binds a name used in an
// expression to a table and field. It is the first place the report looks when an expression
// names something: a field reference such as dmReport."TD1" resolves through it even when the
// dictionary is empty. It resolves and evaluates in the run context of its report.

#include <QHash>
#include <QIODevice>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include "report/data/DataAccess.h"
#include "report/expr/Variables.h"

class TrpRunContext;

class TrpDataDictionary {
public:
    explicit TrpDataDictionary(TrpRunContext& context) : context_(context) {}

    // Report variables; a name beginning with a blank is a category heading.
    TrpVariables Variables;
    // Actual name (a data set, or a data set, a point and a quoted field) -> alias.
    TrpVariables FieldAliasList;
    TrpVariables BandSources;
    QStringList DisabledSources;

    // Empties the three lists (not the cache).
    void Clear();
    // Forgets every cached binding (at the start of every build pass).
    void ClearCache();

    // The record a template holds after its tag 254: the marker -2 and the three lists (each an
    // i32 count and pairs of strings). The marker -1 reads the same way and is cleaned up; any
    // other marker starts the oldest layout (its list form by the context's TemplateVersion).
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;

    // True when the name is cached, is a variable, or resolves to a data-set field (which is
    // then cached), starting from the data set of the band being built.
    bool IsVariable(const QString& name);
    // A cached field's value of the current record (its table opened when closed); a variable's
    // value (a script variable of the same name wins; a text is evaluated as an expression);
    // else null. A variable whose expression leads back to itself raises EParserError.
    QVariant GetValue(const QString& name);
    // The value as GetValue gives it when the name is a cached field; false for any other name.
    // One look-up where IsVariable and GetValue take two: every field a build prints asks.
    bool CachedFieldValue(const QString& name, QVariant& value);
    // The data set and field a name known to the dictionary stands for (a field reference, an
    // alias of one, or a variable naming one); false for any other name.
    bool FieldOf(const QString& name, TDataSet*& dataSet, QString& fieldName);

    // Splits at the last point outside double quotes; the field loses its quotes. Without a
    // point the data set is empty and the whole name is the field.
    static void SplitFieldName(const QString& name, QString& dataSet, QString& field);
    // The actual name whose alias is the given one (ignoring case), or the alias itself.
    QString RealDataSetName(const QString& alias) const;
    void AddCacheItem(const QString& name, TDataSet* dataSet, const QString& fieldName);

private:
    struct TrpCacheItem {
        QPointer<TDataSet> DataSet;
        QString FieldName;
        // Where the field was found last, and its name there: every value of a build reads
        // it again, and the data set's fields rarely change meanwhile.
        int FieldIndex = -1;
        QString FoundName;
    };
    TrpCacheItem* CachedItem(const QString& name);
    // The item's field, looked up by name only when it is no longer where it was found.
    static TField* CachedField(TrpCacheItem& item);
    // The name a lookup in the tables uses: aliases replaced by actual names.
    QString ActualFieldName(const QString& name) const;
    bool CacheIfField(const QString& name, const QString& reference);
    void ReadOldestLayout(QIODevice& stream);
    void SwapCategoryMarks();
    void CleanUp();

    TrpRunContext& context_;
    // A name compared without regard to case; every field name an expression expands is
    // looked up by one, so it hashes without copying and compares exactly first.
    struct TrpCacheKey {
        QString Name;
        bool operator==(const TrpCacheKey& other) const
        {
            return Name == other.Name || Name.compare(other.Name, Qt::CaseInsensitive) == 0;
        }
        friend size_t qHash(const TrpCacheKey& key, size_t seed = 0)
        {
            size_t hash = seed;
            for (const QChar c : key.Name) {
                const char16_t u = c.unicode();
                const char32_t folded = u < 0x80 ? (u >= 'A' && u <= 'Z' ? u + 0x20 : u) : QChar::toCaseFolded(u);
                hash = hash * 31 + folded;
            }
            return hash;
        }
    };
    QHash<TrpCacheKey, TrpCacheItem> cache_;
    QSet<QString> evaluating_;   // upper-cased names of variables being evaluated
};
