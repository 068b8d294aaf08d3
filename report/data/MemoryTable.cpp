#include "report/data/MemoryTable.h"

#include <algorithm>

#include "report/file/Cp1251Text.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/VariantOps.h"

namespace {

bool IsTextType(TFieldType type)
{
    switch (type) {
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo:
        return true;
    default:
        return false;
    }
}

QVariant Converted(const QVariant& value, TFieldType type, int size)
{
    if (VarIsEmpty(value) || VarIsNull(value))
        return VarNull();
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        return VarFromInt(VarToInt(value));
    case ftBoolean:
        return VarToBool(value);
    case ftFloat: case ftCurrency: case ftBCD:
        return VarToReal(value);
    case ftDate: case ftTime: case ftDateTime:
        return VarFromDateTime(VarToDateTime(value));
    default:
        break;
    }
    if (IsTextType(type)) {
        const QString text = VarToStr(value);
        return size > 0 ? text.left(size) : text;
    }
    return value;
}

TBookmark BookmarkOf(uint64_t id)
{
    return QByteArray::number(qulonglong(id));
}

}  // namespace

TMemoryField::TMemoryField(TMemoryTable* table, int index, QString name, TFieldType type, int size)
    : table_(table), index_(index), name_(std::move(name)), type_(type), size_(size)
{
}

TDataSet* TMemoryField::DataSet() const
{
    return table_;
}

QVariant TMemoryField::Value() const
{
    const std::vector<QVariant>* values = table_->CurrentValues();
    if (!values || size_t(index_) >= values->size())
        return VarNull();
    return (*values)[size_t(index_)];
}

bool TMemoryField::IsNull() const
{
    // Without copying the value: every field a build prints is asked first.
    const std::vector<QVariant>* values = table_->CurrentValues();
    return !values || size_t(index_) >= values->size() || VarIsNull((*values)[size_t(index_)]);
}

QString TMemoryField::DisplayText() const
{
    QString text;
    if (OnGetText)
        OnGetText(const_cast<TMemoryField&>(*this), text, true);
    else
        text = VarToStr(Value());   // "" for null
    return text;
}

QByteArray TMemoryField::BlobBytes() const
{
    const QVariant value = Value();
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return ToCp1251(VarToStr(value));
}

void TMemoryField::SetValue(const QVariant& value)
{
    TMemoryTable& t = *table_;
    if (t.state_ != dsEdit && t.state_ != dsInsert)
        throw EDatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(t.objectName()));
    t.buffer_.values[size_t(index_)] = Converted(value, type_, size_);
}

TMemoryTable::TMemoryTable(QObject* owner) : TDataSet(owner) {}

TMemoryTable::~TMemoryTable() = default;

TMemoryField* TMemoryTable::AddField(const QString& name, TFieldType type, int size)
{
    if (Active())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on an open dataset").arg(objectName()));
    fields_.push_back(std::make_unique<TMemoryField>(this, int(fields_.size()), name, type, size));
    for (TRow& row : rows_)
        row.values.resize(fields_.size(), VarNull());
    return fields_.back().get();
}

TField* TMemoryTable::FieldAt(int index) const
{
    return index >= 0 && index < FieldCount() ? fields_[size_t(index)].get() : nullptr;
}

void TMemoryTable::Open()
{
    if (Active())
        return;
    state_ = dsBrowse;
    First();
}

void TMemoryTable::Close()
{
    if (state_ == dsEdit || state_ == dsInsert)
        Cancel();
    state_ = dsInactive;
}

void TMemoryTable::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
}

void TMemoryTable::CheckBrowse()
{
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert)
        Post();
}

const std::vector<QVariant>* TMemoryTable::CurrentValues() const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return &buffer_.values;
    if (current_ < 0 || current_ >= RecordCount())
        return nullptr;
    return &rows_[size_t(current_)].values;
}

void TMemoryTable::First()
{
    CheckBrowse();
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
}

void TMemoryTable::Next()
{
    CheckBrowse();
    if (eof_)
        return;
    if (current_ + 1 < RecordCount()) {
        ++current_;
        bof_ = false;
    } else {
        eof_ = true;
    }
}

void TMemoryTable::Prior()
{
    CheckBrowse();
    if (bof_)
        return;
    if (current_ > 0) {
        --current_;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

void TMemoryTable::Last()
{
    CheckBrowse();
    current_ = RecordCount() - 1;
    eof_ = true;
    bof_ = rows_.empty();
}

void TMemoryTable::Append()
{
    CheckBrowse();
    buffer_ = TRow{nextId_++, std::vector<QVariant>(fields_.size(), VarNull())};
    cursorBeforeInsert_ = current_;
    state_ = dsInsert;
}

void TMemoryTable::Edit()
{
    CheckBrowse();
    if (current_ < 0)
        throw EDatabaseError(QStringLiteral("%1: Cannot modify an empty dataset").arg(objectName()));
    buffer_ = rows_[size_t(current_)];
    state_ = dsEdit;
}

void TMemoryTable::Post()
{
    if (state_ == dsInsert) {
        rows_.push_back(buffer_);
        current_ = RecordCount() - 1;
    } else if (state_ == dsEdit) {
        rows_[size_t(current_)] = buffer_;
    } else {
        return;
    }
    state_ = dsBrowse;
    eof_ = bof_ = false;
}

void TMemoryTable::Cancel()
{
    if (state_ == dsInsert)
        current_ = cursorBeforeInsert_;
    if (state_ == dsInsert || state_ == dsEdit)
        state_ = dsBrowse;
}

void TMemoryTable::Delete()
{
    CheckBrowse();
    if (current_ < 0)
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    rows_.erase(rows_.begin() + current_);
    if (current_ >= RecordCount())
        current_ = RecordCount() - 1;
    eof_ = rows_.empty();
    bof_ = current_ <= 0;
}

void TMemoryTable::EmptyTable()
{
    if (state_ == dsEdit || state_ == dsInsert)
        Cancel();
    rows_.clear();
    current_ = -1;
    eof_ = bof_ = true;
}

void TMemoryTable::SortOnField(const QString& fieldName, bool caseInsensitive, bool descending)
{
    CheckBrowse();
    const TMemoryField* field = Field(fieldName);
    const size_t column = size_t(field->Index());
    const bool asText = IsTextType(field->DataType());
    const uint64_t currentId = current_ >= 0 ? rows_[size_t(current_)].id : 0;
    auto less = [&](const TRow& a, const TRow& b) {
        const QVariant& x = a.values[column];
        const QVariant& y = b.values[column];
        int order = 0;
        if (asText && !VarIsNull(x) && !VarIsNull(y))
            order = VarToStr(x).compare(VarToStr(y), caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
        else
            order = VarCompare(x, y);
        return descending ? order > 0 : order < 0;
    };
    std::stable_sort(rows_.begin(), rows_.end(), less);
    if (currentId)
        current_ = RowOfBookmark(BookmarkOf(currentId));
}

int TMemoryTable::RowOfBookmark(const TBookmark& bookmark) const
{
    bool ok = false;
    const uint64_t id = bookmark.toULongLong(&ok);
    if (ok)
        for (int i = 0; i < RecordCount(); ++i)
            if (rows_[size_t(i)].id == id)
                return i;
    return -1;
}

TBookmark TMemoryTable::GetBookmark() const
{
    if (state_ == dsInsert || current_ < 0)
        return TBookmark();
    return BookmarkOf(rows_[size_t(current_)].id);
}

void TMemoryTable::GotoBookmark(const TBookmark& bookmark)
{
    CheckBrowse();
    const int row = RowOfBookmark(bookmark);
    if (row < 0)
        throw EDatabaseError(QStringLiteral("%1: Record not found").arg(objectName()));
    current_ = row;
    eof_ = bof_ = false;
}

bool TMemoryTable::BookmarkValid(const TBookmark& bookmark) const
{
    return RowOfBookmark(bookmark) >= 0;
}

int TMemoryTable::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    return RowOfBookmark(a) - RowOfBookmark(b);
}
