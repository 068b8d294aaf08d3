#pragma once
// The few data-set operations the report engine needs: blob fields, field names, bookmarks.
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QStringList>

#include "report/data/DataAccess.h"

// A destination that takes a blob field's contents by assignment (a rich text's lines, ...).
class TBlobTarget {
public:
    virtual ~TBlobTarget() = default;
    virtual void AssignFromBlob(const QByteArray& octets) = 0;
};

// True for the blob kinds (field types 15 to 21); false for none.
bool IsBlobField(const TField* field);

// A picture, a string list (the blob read as code page 1251 lines) or any blob target takes
// the field's contents; a stream receives the octets and is set back to position 0.
void AssignBlobTo(const TField* field, QImage& picture);
void AssignBlobTo(const TField* field, QStringList& lines);
void AssignBlobTo(const TField* field, TBlobTarget& target);
void AssignBlobTo(const TField* field, QIODevice& stream);

// The data set's field names; any failure is swallowed (the list keeps what it got).
void GetFieldNamesSafe(const TDataSet* dataSet, QStringList& names);

TBookmark GetBookmarkOf(const TDataSet* dataSet);
void GotoBookmarkOf(TDataSet* dataSet, const TBookmark& bookmark);
void FreeBookmarkOf(TDataSet* dataSet, const TBookmark& bookmark);
bool BookmarksEqual(const TDataSet* dataSet, const TBookmark& a, const TBookmark& b);
