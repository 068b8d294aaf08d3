#pragma once
// A small table held in memory: named, typed fields (nulls allowed), rows appended or edited
// through a record buffer and posted or cancelled, a display-text handler per field, sorting,
// and bookmarks that keep pointing at their row through sorting and deletions. The program
// fills such tables for its state reports; report data sources walk them.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QVariant>

#include "report/data/DataAccess.h"

class TMemoryTable;

class TMemoryField : public TField {
public:
    TMemoryField(TMemoryTable* table, int index, QString name, TFieldType type, int size);

    TDataSet* DataSet() const override;
    QString FieldName() const override { return name_; }
    TFieldType DataType() const override { return type_; }
    bool IsNull() const override;
    // The value of the current record (or of the record being edited); null when none.
    QVariant Value() const override;
    bool HasTextHandler() const override { return bool(OnGetText); }
    // The handler's text, else the value's own text ("" for null).
    QString DisplayText() const override;
    QByteArray BlobBytes() const override;

    // Stores a value into the record being appended or edited, converted to the field's type
    // (text is cut to the field's size); a null or unassigned value makes the field null.
    void SetValue(const QVariant& value);
    void Clear() { SetValue(QVariant()); }
    int Size() const { return size_; }
    int Index() const { return index_; }

    QString DisplayLabel;
    int Tag = 0;
    // Gives the text shown for the field's value; displayText is true for display (as opposed
    // to editing) text, which is what reports ask for.
    std::function<void(TMemoryField& field, QString& text, bool displayText)> OnGetText;

private:
    TMemoryTable* table_;
    int index_;
    QString name_;
    TFieldType type_;
    int size_;
};

enum TMemoryTableState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TMemoryTable : public TDataSet {
    Q_OBJECT
public:
    explicit TMemoryTable(QObject* owner = nullptr);
    ~TMemoryTable() override;

    // Field definitions; a table is defined before it is opened.
    TMemoryField* AddField(const QString& name, TFieldType type, int size = 0);
    TMemoryField* Field(const QString& name) const { return static_cast<TMemoryField*>(FieldByName(name)); }

    bool Active() const override { return state_ != dsInactive; }
    void Open() override;
    // Cancels a pending edit; the rows stay for the next opening.
    void Close() override;
    TMemoryTableState State() const { return state_; }

    int FieldCount() const override { return int(fields_.size()); }
    TField* FieldAt(int index) const override;

    // Navigation posts a pending edit first. Next on the last record sets Eof and stays there;
    // Prior on the first sets Bof.
    void First() override;
    void Next() override;
    void Prior() override;
    void Last();
    bool Eof() const override { return eof_; }
    bool Bof() const { return bof_; }
    int RecordCount() const { return int(rows_.size()); }
    bool IsEmpty() const { return rows_.empty(); }
    int RecNo() const { return current_; }   // 0-based; -1 when empty

    // A new record at the end becomes current, its fields null until set.
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void EmptyTable();

    // Stable sort by the field's values as text (or numbers for numeric fields); nulls first.
    void SortOnField(const QString& fieldName, bool caseInsensitive = true, bool descending = false);

    TBookmark GetBookmark() const override;
    // A bookmark of a deleted row raises EDatabaseError "Record not found".
    void GotoBookmark(const TBookmark& bookmark) override;
    bool BookmarkValid(const TBookmark& bookmark) const;
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const override;

private:
    friend class TMemoryField;
    struct TRow {
        uint64_t id = 0;
        std::vector<QVariant> values;
    };

    void CheckActive() const;
    void CheckBrowse();
    // The values the fields read: the edit buffer while editing, else the current row.
    const std::vector<QVariant>* CurrentValues() const;
    int RowOfBookmark(const TBookmark& bookmark) const;

    std::vector<std::unique_ptr<TMemoryField>> fields_;
    std::vector<TRow> rows_;
    TRow buffer_;
    uint64_t nextId_ = 1;
    int current_ = -1;
    int cursorBeforeInsert_ = -1;   // where Cancel of an appended record returns
    bool eof_ = true;
    bool bof_ = true;
    TMemoryTableState state_ = dsInactive;
};
