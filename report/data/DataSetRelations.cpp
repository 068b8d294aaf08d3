#include "report/data/DataSetRelations.h"

#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/TextRoutines.h"

bool IsBlobField(const TField* field)
{
    return field && field->DataType() >= ftBlob && field->DataType() <= ftTypedBinary;
}

void AssignBlobTo(const TField* field, QImage& picture)
{
    if (!field)
        return;
    // An unreadable picture leaves an empty image, which prints nothing.
    if (!picture.loadFromData(field->BlobBytes()))
        picture = QImage();
}

void AssignBlobTo(const TField* field, QStringList& lines)
{
    if (!field)
        return;
    lines = TextToLines(FromCp1251(field->BlobBytes()));
}

void AssignBlobTo(const TField* field, TBlobTarget& target)
{
    if (field)
        target.AssignFromBlob(field->BlobBytes());
}

void AssignBlobTo(const TField* field, QIODevice& stream)
{
    if (!field)
        return;
    WriteFrBytes(stream, field->BlobBytes());
    stream.seek(0);
}

void GetFieldNamesSafe(const TDataSet* dataSet, QStringList& names)
{
    names.clear();
    if (!dataSet)
        return;
    try {
        for (int i = 0; i < dataSet->FieldCount(); ++i)
            if (const TField* field = dataSet->FieldAt(i))
                names.append(field->FieldName());
    } catch (...) {
        // A data set that cannot list its fields simply has none to offer.
    }
}

TBookmark GetBookmarkOf(const TDataSet* dataSet)
{
    return dataSet->GetBookmark();
}

void GotoBookmarkOf(TDataSet* dataSet, const TBookmark& bookmark)
{
    dataSet->GotoBookmark(bookmark);
}

void FreeBookmarkOf(TDataSet* dataSet, const TBookmark& bookmark)
{
    dataSet->FreeBookmark(bookmark);
}

bool BookmarksEqual(const TDataSet* dataSet, const TBookmark& a, const TBookmark& b)
{
    return dataSet->CompareBookmarks(a, b) == 0;
}
