#pragma once
// The data-access classes that report data sources walk: a data set of records with named,
// typed fields, bookmarks and blob fields. The engine sees only these interfaces; the program's
// in-memory tables implement them. A data set is a component (a QObject whose objectName is
// its component name), so templates can name it.
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// Field types, numbered as the template and blob rules count them (blob kinds are 15 to 21).
enum TFieldType : int {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
    ftLargeint
};

class TDataSet;

class TField {
public:
    virtual ~TField() = default;
    virtual TDataSet* DataSet() const = 0;
    virtual QString FieldName() const = 0;
    virtual TFieldType DataType() const = 0;
    virtual bool IsNull() const = 0;
    // The value of the current record; a null variant when IsNull.
    virtual QVariant Value() const = 0;
    // True when the field has a display-text handler; DisplayText then runs it.
    virtual bool HasTextHandler() const = 0;
    virtual QString DisplayText() const = 0;
    // The octets of a blob field of the current record.
    virtual QByteArray BlobBytes() const = 0;
};

// An opaque position in a data set.
using TBookmark = QByteArray;

class TDataSet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool Active() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;

    virtual int FieldCount() const = 0;
    virtual TField* FieldAt(int index) const = 0;
    // The field of that name (compared without regard to case), or none; the first of two of one
    // name. Looked up in an index of the names, so a report's name look-ups, which ask every
    // data set in reach whether a name is one of its fields, cost the same however many fields
    // there are.
    TField* FindField(const QString& name) const;
    // The field of that name, or EDatabaseError "<data set>: Field '<name>' not found".
    TField* FieldByName(const QString& name) const;
    // The names of all fields, in field order (the list is cleared first).
    void GetFieldNames(QStringList& names) const;

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    virtual bool Eof() const = 0;

    virtual TBookmark GetBookmark() const = 0;
    virtual void GotoBookmark(const TBookmark& bookmark) = 0;
    virtual void FreeBookmark(const TBookmark& bookmark) { Q_UNUSED(bookmark); }
    // Negative, 0 or positive as the first bookmark lies before, at or after the second.
    virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b) const = 0;

protected:
    // A data set whose fields change other than by growing in number (one renamed or replaced)
    // says so here, so that the names are indexed anew.
    void FieldsChanged() const { indexedCount_ = -1; }

private:
    void IndexFields() const;

    // The position of each field name, case-folded; made for indexedCount_ fields.
    mutable QHash<QString, int> fieldIndex_;
    mutable int indexedCount_ = -1;
};
