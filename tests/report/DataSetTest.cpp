// Walking report data sources, and the data-set operations the engine relies on.
#include <gtest/gtest.h>

#include <QBuffer>

#include "FakeTable.h"
#include "report/data/DataSetRelations.h"
#include "report/data/Dataset.h"

namespace {

// The band engine's walk: First, then while not Eof print and Next; bounded so that a source
// that never ends fails the test instead of hanging it.
int WalkedRecords(TrpDataset& source)
{
    int printed = 0;
    source.Init();
    for (source.First(); !source.Eof() && printed < 1000; source.Next())
        ++printed;
    source.Exit();
    return printed;
}

TEST(TrpDataset, RecordCountEndsTheWalk)
{
    TrpUserDataset source;
    source.RangeEnd = reCount;
    source.RangeEndCount = 3;
    int nexts = 0;
    source.OnNext = [&](QObject* sender) { EXPECT_EQ(sender, &source); ++nexts; };
    source.First();
    for (int recNo = 0; recNo < 3; ++recNo) {
        EXPECT_EQ(source.RecNo(), recNo);
        EXPECT_FALSE(source.Eof());
        source.Next();
    }
    EXPECT_TRUE(source.Eof());
    EXPECT_EQ(nexts, 2);   // not called on the step that reaches the count
    EXPECT_EQ(WalkedRecords(source), 3);

    source.RangeEndCount = 0;
    source.First();
    EXPECT_TRUE(source.Eof());
}

TEST(TrpDataset, EndCheckEventDecides)
{
    TrpUserDataset source;
    int firsts = 0;
    source.OnFirst = [&](QObject*) { ++firsts; };
    source.OnCheckEOF = [](QObject* sender, bool& eof) { eof = static_cast<TrpDataset*>(sender)->RecNo() >= 5; };
    EXPECT_EQ(WalkedRecords(source), 5);
    EXPECT_EQ(firsts, 1);

    // The event may also end a counted walk early.
    source.RangeEnd = reCount;
    source.RangeEndCount = 10;
    EXPECT_EQ(WalkedRecords(source), 5);
}

TEST(TrpDataset, SourceWithoutAnyEndPrintsNothingInsteadOfForever)
{
    for (TRangeEnd end : {reLast, reCurrent}) {
        TrpUserDataset source;
        source.RangeEnd = end;
        int nexts = 0;
        source.OnNext = [&](QObject*) { ++nexts; };
        EXPECT_EQ(WalkedRecords(source), 0) << end;
        EXPECT_EQ(nexts, 0);
    }
}

TEST(TrpDataset, PriorStepsBack)
{
    TrpUserDataset source;
    int priors = 0;
    source.OnPrior = [&](QObject*) { ++priors; };
    source.First();
    source.Next();
    source.Next();
    source.Prior();
    EXPECT_EQ(source.RecNo(), 1);
    EXPECT_EQ(priors, 1);
}

TEST(DataSetRelations, BlobKindsAndAssignment)
{
    FakeTable table(QStringLiteral("t"));
    const std::vector<std::pair<TFieldType, bool>> kinds = {
        {ftString, false}, {ftTypedBinary, true}, {ftBlob, true}, {ftMemo, true},
        {ftGraphic, true}, {ftAutoInc, false}, {ftCursor, false}};
    for (const auto& [type, blob] : kinds)
        EXPECT_EQ(IsBlobField(table.AddField(QStringLiteral("f%1").arg(type), type)), blob) << type;
    EXPECT_FALSE(IsBlobField(nullptr));

    FakeTable memo(QStringLiteral("m"));
    const TField* text = memo.AddField(QStringLiteral("Text"), ftMemo);
    memo.AddRow({QByteArray("first\r\n\xcf\xf0\xe8\r\n")});
    QStringList lines{QStringLiteral("old")};
    AssignBlobTo(text, lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("first"), QStringLiteral("При")}));

    QByteArray received;
    QBuffer stream(&received);
    stream.open(QIODevice::ReadWrite);
    AssignBlobTo(text, stream);
    EXPECT_EQ(stream.pos(), 0);
    EXPECT_EQ(received, QByteArray("first\r\n\xcf\xf0\xe8\r\n"));

    QImage picture(2, 2, QImage::Format_RGB32);
    AssignBlobTo(text, picture);   // not a picture: nothing to print
    EXPECT_TRUE(picture.isNull());
}

TEST(DataSetRelations, FieldNamesAndBookmarks)
{
    FakeTable table(QStringLiteral("t"));
    table.AddField(QStringLiteral("A"), ftInteger);
    table.AddField(QStringLiteral("B"), ftString);
    for (int i = 0; i < 3; ++i)
        table.AddRow({i, QString::number(i)});
    QStringList names;
    GetFieldNamesSafe(&table, names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    table.failFieldList = true;
    GetFieldNamesSafe(&table, names);
    EXPECT_TRUE(names.isEmpty());

    table.First();
    table.Next();
    const TBookmark mark = GetBookmarkOf(&table);
    table.Next();
    EXPECT_FALSE(BookmarksEqual(&table, mark, GetBookmarkOf(&table)));
    GotoBookmarkOf(&table, mark);
    EXPECT_TRUE(BookmarksEqual(&table, mark, GetBookmarkOf(&table)));
    FreeBookmarkOf(&table, mark);
}

TEST(DataSetRelations, FieldsAreFoundByNameWithoutWalkingThemAll)
{
    FakeTable table(QStringLiteral("t"));
    for (int i = 0; i < 500; ++i)
        table.AddField(QStringLiteral("TD%1").arg(i), ftString);
    FakeField* first = table.AddField(QStringLiteral("Температура"), ftFloat);
    table.AddField(QStringLiteral("ТЕМПЕРАТУРА"), ftFloat);   // a second of the same name

    EXPECT_EQ(table.FindField(QStringLiteral("температура")), first) << "without regard to case, the first";
    EXPECT_EQ(table.FindField(QStringLiteral("td499"))->FieldName(), QStringLiteral("TD499"));
    // A script's loop asks for names that are no fields at all, again and again.
    const int readsBefore = table.fieldReads;
    for (int i = 0; i < 10000; ++i)
        EXPECT_EQ(table.FindField(QStringLiteral("I")), nullptr);
    EXPECT_EQ(table.fieldReads, readsBefore) << "a name that is no field is answered from the index";

    FakeField* added = table.AddField(QStringLiteral("Added"), ftInteger);
    EXPECT_EQ(table.FindField(QStringLiteral("ADDED")), added) << "a field added later is found";
    table.failFieldList = true;
    EXPECT_THROW(table.FindField(QStringLiteral("Added")), std::runtime_error);
}

}  // namespace
