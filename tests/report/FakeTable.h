#pragma once
// A small in-memory table for the report tests: named typed fields, rows of values (a null
// QVariant is a null field), an optional display-text handler per field, and row-number
// bookmarks.
#include <functional>
#include <memory>
#include <vector>

#include <QVariant>

#include "report/data/DataAccess.h"
#include "report/expr/ReportVariant.h"

class FakeTable;

class FakeField : public TField {
public:
    FakeField(FakeTable* table, int column, QString name, TFieldType type)
        : table_(table), column_(column), name_(std::move(name)), type_(type) {}
    TDataSet* DataSet() const override;
    QString FieldName() const override { return name_; }
    TFieldType DataType() const override { return type_; }
    bool IsNull() const override;
    QVariant Value() const override;
    bool HasTextHandler() const override { return bool(OnGetText); }
    QString DisplayText() const override { return OnGetText ? OnGetText(Value()) : Value().toString(); }
    QByteArray BlobBytes() const override { return Value().toByteArray(); }

    std::function<QString(const QVariant&)> OnGetText;

private:
    FakeTable* table_;
    int column_;
    QString name_;
    TFieldType type_;
};

class FakeTable : public TDataSet {
public:
    explicit FakeTable(const QString& name, QObject* owner = nullptr) : TDataSet(owner) { setObjectName(name); }

    FakeField* AddField(const QString& name, TFieldType type)
    {
        fields_.push_back(std::make_unique<FakeField>(this, int(fields_.size()), name, type));
        return fields_.back().get();
    }
    void AddRow(std::vector<QVariant> values) { rows_.push_back(std::move(values)); }
    QVariant Cell(int column) const
    {
        if (row_ < 0 || row_ >= int(rows_.size()) || column >= int(rows_[size_t(row_)].size()))
            return VarNull();
        const QVariant& v = rows_[size_t(row_)][size_t(column)];
        return v.isValid() ? v : VarNull();
    }

    bool Active() const override { return active_; }
    void Open() override { active_ = true; ++opens; }
    void Close() override { active_ = false; }
    int FieldCount() const override
    {
        if (failFieldList)
            throw std::runtime_error("no fields");
        return int(fields_.size());
    }
    TField* FieldAt(int index) const override
    {
        ++fieldReads;
        return fields_[size_t(index)].get();
    }
    void First() override { row_ = 0; }
    void Next() override { if (row_ < int(rows_.size())) ++row_; }
    void Prior() override { if (row_ > 0) --row_; }
    bool Eof() const override { return row_ >= int(rows_.size()); }
    TBookmark GetBookmark() const override { return QByteArray::number(row_); }
    void GotoBookmark(const TBookmark& b) override { row_ = b.toInt(); }
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const override { return a.toInt() - b.toInt(); }

    int opens = 0;
    mutable int fieldReads = 0;   // FieldAt calls
    bool failFieldList = false;

private:
    std::vector<std::unique_ptr<FakeField>> fields_;
    std::vector<std::vector<QVariant>> rows_;
    int row_ = 0;
    bool active_ = true;
};

inline TDataSet* FakeField::DataSet() const { return table_; }
inline bool FakeField::IsNull() const { return VarIsNull(table_->Cell(column_)); }
inline QVariant FakeField::Value() const { return table_->Cell(column_); }
