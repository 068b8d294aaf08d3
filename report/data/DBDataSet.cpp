#include "report/data/DBDataSet.h"

#include "report/data/DataSetRelations.h"

TrpDBDataSet::TrpDBDataSet(QObject* owner) : TrpDataset(owner) {}

void TrpDBDataSet::SetDataSet(TDataSet* dataSet)
{
    dataSet_ = dataSet;
    dataSource_ = nullptr;
}

void TrpDBDataSet::SetDataSource(TDataSource* dataSource)
{
    dataSource_ = dataSource;
    if (dataSource)
        dataSet_ = nullptr;
}

TDataSet* TrpDBDataSet::TableOrNone() const
{
    if (dataSource_ && dataSource_->DataSet)
        return dataSource_->DataSet;
    return dataSet_;
}

TDataSet* TrpDBDataSet::ActiveDataSet() const
{
    if (TDataSet* table = TableOrNone())
        return table;
    throw EDSError(QStringLiteral("Unable to open dataset ") + objectName());
}

void TrpDBDataSet::OpenDataSet()
{
    if (OpenDataSource)
        ActiveDataSet()->Open();
    if (OnOpen)
        OnOpen(this);
}

void TrpDBDataSet::CloseDataSet()
{
    if (OnClose)
        OnClose(this);
    if (CloseDataSource)
        ActiveDataSet()->Close();
}

void TrpDBDataSet::Init()
{
    OpenDataSet();
    hasBookmark_ = RangeBegin == rbCurrent || RangeEnd == reCurrent;
    bookmark_ = hasBookmark_ ? GetBookmarkOf(ActiveDataSet()) : TBookmark();
    endFlag_ = false;
}

void TrpDBDataSet::Exit()
{
    if (hasBookmark_) {
        TDataSet* table = ActiveDataSet();
        GotoBookmarkOf(table, bookmark_);
        FreeBookmarkOf(table, bookmark_);
        hasBookmark_ = false;
        bookmark_.clear();
    }
    CloseDataSet();
}

void TrpDBDataSet::First()
{
    if (RangeBegin == rbFirst)
        ActiveDataSet()->First();
    else if (hasBookmark_)
        GotoBookmarkOf(ActiveDataSet(), bookmark_);
    endFlag_ = false;
    TrpDataset::First();
}

bool TrpDBDataSet::AtBookmark() const
{
    const TDataSet* table = ActiveDataSet();
    return hasBookmark_ && BookmarksEqual(table, GetBookmarkOf(table), bookmark_);
}

void TrpDBDataSet::Next()
{
    endFlag_ = false;
    if (RangeEnd == reCurrent && AtBookmark()) {
        // The walk has reached the record that was current when it began: that is its last.
        endFlag_ = true;
        return;
    }
    // A walk from the first record to the current one steps forward until it gets there (or
    // the table ends), so it always ends.
    ActiveDataSet()->Next();
    TrpDataset::Next();
}

void TrpDBDataSet::Prior()
{
    ActiveDataSet()->Prior();
    TrpDataset::Prior();
}

bool TrpDBDataSet::Eof()
{
    return TrpDataset::Eof() || ActiveDataSet()->Eof() || endFlag_;
}
