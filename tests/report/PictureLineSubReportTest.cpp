// Picture, line and sub-report objects: where a picture's graphic goes, every kind drawn and a
// broken one leaving only the frame (and a log line), records in both forms, pictures from blob
// fields and files; lines turning horizontal or vertical; sub-reports naming their target page.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "FakeTable.h"
#include "SampleGraphics.h"
#include "TestData.h"
#include "report/engine/Report.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/LineView.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/PictureView.h"
#include "report/objects/ReportColor.h"
#include "report/objects/SubReportView.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

class ObjectsOnAPage : public ::testing::Test {
protected:
    ObjectsOnAPage()
    {
        context.OnLog = [this](const QString& message) { log << message; };
        page = report.AddPage();
    }

    template <class T>
    T& Add()
    {
        return static_cast<T&>(*page->AddObject(std::make_unique<T>()));
    }

    // The object drawn at zoom 1 on a white image.
    QImage Drawn(TrpView& view, QSize size = QSize(200, 120))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.Draw(&painter);
        return image;
    }

    QByteArray Record(TrpView& view, bool printed)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        view.PrintedForm = printed;
        view.SaveToStream(buffer);
        view.PrintedForm = false;
        return bytes;
    }

    // A new object of the class on the page, read from the bytes; the stream is left where the
    // object's record ended.
    template <class T>
    T& Read(QBuffer& buffer, bool printed)
    {
        T& view = Add<T>();
        context.TemplateVersion = kCurrentTemplateVersion;
        view.PrintedForm = printed;
        view.LoadFromStream(buffer);
        view.PrintedForm = false;
        return view;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* page = nullptr;
    QStringList log;
};

using PictureView = ObjectsOnAPage;

TEST_F(PictureView, NewPicturesAndLinesHaveTheirDefaults)
{
    const auto picture = CreateReportObject(context, otPicture);
    const auto line = CreateReportObject(context, otLine);
    const auto sub = CreateReportObject(context, otSubReport);
    ASSERT_NE(dynamic_cast<TrpPictureView*>(picture.get()), nullptr);
    ASSERT_NE(dynamic_cast<TrpLineView*>(line.get()), nullptr);
    ASSERT_NE(dynamic_cast<TrpSubReportView*>(sub.get()), nullptr);
    EXPECT_EQ(picture->Flags, kFlagStretched | pfKeepAspect);
    EXPECT_EQ(picture->BaseName, QStringLiteral("Picture"));
    EXPECT_EQ(line->FrameTyp, frLeft);
    EXPECT_EQ(line->FillColor, clWhite);
    EXPECT_EQ(sub->BaseName, QStringLiteral("SubReport"));
}

struct PlacementCase {
    const char* name;
    uint16_t flags;
    QSize graphic;
    QRect expected;   // for an object at (10, 20), 100 x 50
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << c.name;
}

class PicturePlacement : public ObjectsOnAPage, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PicturePlacement, GraphicRectangle)
{
    TrpPictureView& picture = Add<TrpPictureView>();
    picture.SetBounds(10, 20, 100, 50);
    picture.Flags = GetParam().flags;
    EXPECT_EQ(picture.GraphicRect(GetParam().graphic), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PicturePlacement,
    ::testing::Values(
        PlacementCase{"default_keeps_aspect_at_top_left", 5, QSize(20, 20), QRect(10, 20, 50, 50)},
        PlacementCase{"keeps_aspect_of_a_wide_graphic", 5, QSize(40, 10), QRect(10, 20, 100, 25)},
        PlacementCase{"centred_keeping_aspect", 7, QSize(20, 20), QRect(35, 20, 50, 50)},
        PlacementCase{"stretched_over_the_object", 1, QSize(20, 20), QRect(10, 20, 100, 50)},
        PlacementCase{"own_size_at_top_left", 0, QSize(200, 100), QRect(10, 20, 200, 100)},
        PlacementCase{"own_size_centred_moves_up_and_left", 2, QSize(200, 100), QRect(-40, -5, 200, 100)}),
    [](const auto& info) { return std::string(info.param.name); });

struct KindCase {
    const char* name;
    TrpGraphicKind kind;
    QByteArray data;
};

void PrintTo(const KindCase& c, std::ostream* os)
{
    *os << c.name;
}

class PictureKinds : public ObjectsOnAPage, public ::testing::WithParamInterface<KindCase> {};

TEST_P(PictureKinds, DrawInsideTheirFrame)
{
    TrpPictureView& picture = Add<TrpPictureView>();
    picture.SetBounds(20, 20, 100, 50);
    picture.Flags = kFlagStretched;
    picture.FrameTyp = frAllSides;
    picture.Picture = TrpGraphic(GetParam().kind, GetParam().data);
    const QImage image = Drawn(picture);
    EXPECT_EQ(image.pixelColor(20, 45), QColor(Qt::black)) << "left frame side";
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    const QColor inside = image.pixelColor(70, 45);
    EXPECT_GT(inside.red(), 200);
    EXPECT_LT(inside.green(), 60);
    EXPECT_TRUE(log.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Samples, PictureKinds,
    ::testing::Values(KindCase{"png", gkBitmap, SampleImageFile("PNG", Qt::red)},
                      KindCase{"bmp", gkBitmap, SampleImageFile("BMP", Qt::red)},
                      KindCase{"jpeg", gkJpeg, SampleImageFile("JPEG", Qt::red)},
                      KindCase{"icon", gkIcon, SampleImageFile("ICO", Qt::red, 32, 32)},
                      KindCase{"metafile", gkMetafile, SampleMetafile(qRgb(255, 0, 0))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureView, ABrokenPictureDrawsItsFrameOnlyAndSaysWhyOnce)
{
    TrpPictureView& picture = Add<TrpPictureView>();
    picture.Name = QStringLiteral("Logo");
    picture.SetBounds(20, 20, 100, 50);
    picture.FrameTyp = frAllSides;
    picture.FillColor = clWhite;
    picture.Picture = TrpGraphic(gkJpeg, SampleImageFile("JPEG", Qt::red).left(30));
    context.PrintModeFlag = true;
    const QImage image = Drawn(picture);
    Drawn(picture);
    EXPECT_EQ(image.pixelColor(20, 45), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(70, 45), QColor(Qt::white));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.front().contains(QStringLiteral("Logo"))) << log.front().toStdString();
}

TEST_F(PictureView, AnIconShowsOnScreenButIsNotPrinted)
{
    TrpPictureView& picture = Add<TrpPictureView>();
    picture.SetBounds(20, 20, 100, 50);
    picture.Picture = TrpGraphic(gkIcon, SampleImageFile("ICO", Qt::red, 32, 32));
    EXPECT_EQ(Drawn(picture).pixelColor(30, 30), QColor(Qt::red));
    picture.OnPrinter = true;
    EXPECT_EQ(Drawn(picture).pixelColor(30, 30), QColor(Qt::white));
}

// Whether any pixel of the rectangle is dark (text drawn there).
bool HasInk(const QImage& image, QRect area)
{
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (image.pixelColor(x, y).lightness() < 100)
                return true;
    return false;
}

TEST_F(PictureView, AnEmptyPictureShowsAPlaceholderOnlyAtDesignTime)
{
    TrpPictureView& picture = Add<TrpPictureView>();
    picture.SetBounds(10, 10, 150, 40);
    const QRect textArea(31, 14, 100, 10);
    EXPECT_TRUE(HasInk(Drawn(picture), textArea));
    context.PrintModeFlag = true;
    EXPECT_FALSE(HasInk(Drawn(picture), textArea));
}

TEST_F(PictureView, RecordsKeepTheGraphicInBothForms)
{
    for (const bool printed : {false, true}) {
        TrpPictureView& written = Add<TrpPictureView>();
        written.Name = QStringLiteral("Pic");
        written.SetBounds(1, 2, 3, 4);
        written.Flags = pfCenter;
        written.BlobType = btICO;
        written.Picture = TrpGraphic(gkJpeg, SampleImageFile("JPEG", Qt::green));
        TrpMemoView& after = Add<TrpMemoView>();
        after.Name = QStringLiteral("After");
        QByteArray bytes = Record(written, printed) + Record(after, printed);

        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const TrpPictureView& read = Read<TrpPictureView>(buffer, printed);
        EXPECT_EQ(read.Name, QStringLiteral("Pic"));
        EXPECT_EQ(read.Flags, pfCenter);
        EXPECT_EQ(read.BlobType, btICO);
        EXPECT_EQ(read.Picture.Kind(), gkJpeg);
        EXPECT_EQ(read.Picture.Data(), written.Picture.Data());
        EXPECT_EQ(Read<TrpMemoView>(buffer, printed).Name, QStringLiteral("After")) << "the next record follows";
        EXPECT_TRUE(buffer.atEnd());
    }
}

// The offset of the graphic kind byte in a picture's record: the view record ends with the
// alignment byte.
qsizetype KindOffset(const QByteArray& record, const QByteArray& graphic)
{
    return record.size() - graphic.size() - 4 - 1 - 1;
}

TEST_F(PictureView, AnUnknownKindReadsEmptyAndTheReaderGoesOnAfterIt)
{
    TrpPictureView& written = Add<TrpPictureView>();
    const QByteArray graphic = SampleImageFile("PNG", Qt::red);
    written.Picture = TrpGraphic(gkBitmap, graphic);
    QByteArray bytes = Record(written, false);
    bytes[KindOffset(bytes, graphic)] = char(9);
    bytes += "tail";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(Read<TrpPictureView>(buffer, false).Picture.IsEmpty());
    EXPECT_EQ(buffer.read(4), QByteArray("tail"));
}

TEST_F(PictureView, AnEndPositionOutsideTheStreamIsRefused)
{
    TrpPictureView& written = Add<TrpPictureView>();
    const QByteArray graphic = SampleImageFile("PNG", Qt::red);
    written.Picture = TrpGraphic(gkBitmap, graphic);
    for (const int end : {0x7FFFFFF0, 3}) {
        QByteArray bytes = Record(written, false);
        const qsizetype at = KindOffset(bytes, graphic) + 2;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(end >> (8 * i));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_THROW(Read<TrpPictureView>(buffer, false), EReadError) << end;
    }
}

TEST_F(PictureView, ABoundBlobFieldGivesThePictureBeforeItPrints)
{
    const QByteArray bitmap = SampleImageFile("BMP", Qt::red);
    QByteArray withHeader("\x01\x00\x00\x01", 4);
    for (int i = 0; i < 4; ++i)
        withHeader.append(char(bitmap.size() >> (8 * i)));
    withHeader += bitmap;
    FakeTable table(QStringLiteral("Images"));
    table.AddField(QStringLiteral("IMG"), ftGraphic);
    table.AddRow({withHeader});
    table.AddRow({SampleImageFile("JPEG", Qt::red)});
    table.AddRow({QVariant()});
    table.AddRow({QByteArray(kMaxGraphicBytes + 1, 'x')});
    table.First();

    TrpPictureView& picture = Add<TrpPictureView>();
    picture.BoundDataSet = &table;
    picture.BoundFieldName = QStringLiteral("IMG");
    const auto printed = [&](uint8_t blobType) {
        picture.BlobType = blobType;
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        picture.PrintToStream(sink);
        table.Next();
        return picture.Picture;
    };
    const TrpGraphic bmp = printed(btBMP);
    EXPECT_EQ(bmp.Data(), bitmap) << "the field's graphic header is dropped";
    EXPECT_TRUE(bmp.Decode());
    const TrpGraphic jpeg = printed(btJPG);
    EXPECT_EQ(jpeg.Kind(), gkJpeg);
    EXPECT_TRUE(jpeg.Decode());
    EXPECT_TRUE(printed(btBMP).IsEmpty()) << "a null field clears the picture";
    EXPECT_TRUE(printed(btBMP).IsEmpty()) << "an oversized blob is refused";
    EXPECT_EQ(log.size(), 1);
}

TEST_F(PictureView, LoadFromFileTakesTheKindOfTheExtension)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logo.jpg"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(SampleImageFile("JPEG", Qt::red));
    }
    TrpPictureView& picture = Add<TrpPictureView>();
    QVariant result;
    picture.CallMethod(QStringLiteral("LOADFROMFILE"), QStringLiteral("'%1'").arg(path), {}, {}, result);
    EXPECT_EQ(picture.Picture.Kind(), gkJpeg);
    EXPECT_TRUE(picture.Picture.Decode());
    picture.CallMethod(QStringLiteral("LOADFROMFILE"), QStringLiteral("'%1'").arg(dir.filePath(QStringLiteral("none.jpg"))),
                       {}, {}, result);
    EXPECT_TRUE(picture.Picture.IsEmpty());
}

// A Windows metafile LibreOffice wrote, red on the left and blue on the right of its upper part,
// reaches a picture from a file by its extension and from a field as btWMF, and draws.
TEST_F(PictureView, AWindowsMetafileFromAFileOrAFieldDraws)
{
    FakeTable table(QStringLiteral("Images"));
    table.AddField(QStringLiteral("IMG"), ftGraphic);
    table.AddRow({TestDataFile("picture.wmf")});
    table.First();
    TrpPictureView& fromFile = Add<TrpPictureView>();
    QVariant result;
    fromFile.CallMethod(QStringLiteral("LOADFROMFILE"), QStringLiteral("'%1'").arg(TestDataPath("picture.wmf")), {},
                        {}, result);
    TrpPictureView& fromField = Add<TrpPictureView>();
    fromField.BoundDataSet = &table;
    fromField.BoundFieldName = QStringLiteral("IMG");
    fromField.BlobType = btWMF;
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    fromField.PrintToStream(sink);
    for (TrpPictureView* picture : {&fromFile, &fromField}) {
        picture->SetBounds(20, 20, 100, 50);
        picture->Flags = kFlagStretched;
        const QImage image = Drawn(*picture);
        EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(110, 30), QColor(Qt::blue));
        EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    }
    EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PictureView, BlobTypeConstantsComeWithPictures)
{
    Add<TrpPictureView>().DeclareProperties();
    EXPECT_EQ(context.ReportConstants.GetValueByName(QStringLiteral("btICO")).toInt(), 2);
    EXPECT_EQ(context.ReportConstants.GetValueByName(QStringLiteral("btWMF")).toInt(), 3);
}

using LineView = ObjectsOnAPage;

TEST_F(LineView, AWideLineBecomesHorizontalAndATallOneVertical)
{
    TrpLineView& line = Add<TrpLineView>();
    line.SetBounds(10, 40, 100, 2);
    const QImage flat = Drawn(line);
    EXPECT_EQ(line.Height, 0);
    EXPECT_EQ(line.FrameTyp, frTop);
    EXPECT_EQ(flat.pixelColor(60, 40), QColor(Qt::black));
    EXPECT_EQ(flat.pixelColor(60, 42), QColor(Qt::white));

    line.SetBounds(30, 10, 3, 80);
    const QImage upright = Drawn(line);
    EXPECT_EQ(line.Width, 0);
    EXPECT_EQ(line.FrameTyp, frLeft);
    EXPECT_EQ(upright.pixelColor(30, 50), QColor(Qt::black));
    EXPECT_EQ(upright.pixelColor(32, 50), QColor(Qt::white));
    EXPECT_EQ(line.CalcHeight(), 80);
    EXPECT_EQ(line.MinHeight(), 1);
    EXPECT_EQ(line.RestHeight(), 0);
}

TEST_F(LineView, ClipRegionCoversTheLineWidth)
{
    const struct {
        uint16_t frame;
        float width;
        uint16_t style;
        TrpRect expected;   // for a line at (10, 20), 0 x 30 or 30 x 0
    } cases[] = {
        {frLeft, 1, psSolid, {10, 20, 11, 51}},
        {frLeft, 5, psSolid, {8, 20, 13, 51}},
        {frLeft, 3, psDouble, {6, 20, 15, 51}},
        {frTop, 5, psSolid, {10, 18, 41, 23}},
    };
    for (const auto& c : cases) {
        TrpLineView& line = Add<TrpLineView>();
        line.FrameTyp = c.frame;
        line.FrameWidth = c.width;
        line.FrameStyle = c.style;
        line.SetBounds(10, 20, c.frame == frLeft ? 0 : 30, c.frame == frLeft ? 30 : 0);
        EXPECT_EQ(line.GetClipRegion(false), c.expected) << c.frame << " " << c.width;
        const TrpRect wide = line.GetClipRegion(true);
        EXPECT_EQ(wide.Left, c.expected.Left - 10);
        EXPECT_EQ(wide.Bottom, c.expected.Bottom + 10);
    }
}

using SubReportView = ObjectsOnAPage;

TEST_F(SubReportView, ItsRecordNamesTheTargetPage)
{
    TrpPage* target = report.AddPage();
    TrpSubReportView& written = Add<TrpSubReportView>();
    written.SubPageIndex = 1;
    QByteArray bytes = Record(written, false);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const TrpSubReportView& read = Read<TrpSubReportView>(buffer, false);
    EXPECT_EQ(read.SubPageIndex, 1);
    EXPECT_EQ(read.SubPage(), target);
    EXPECT_TRUE(buffer.atEnd());
}

TEST_F(SubReportView, NoTargetOutsideThePagesOrOnItsOwnPage)
{
    report.AddPage();
    TrpSubReportView& sub = Add<TrpSubReportView>();
    for (const int index : {-1, 2, 0})
        EXPECT_EQ((sub.SubPageIndex = index, sub.SubPage()), nullptr) << index;
}

TEST_F(SubReportView, AtDesignTimeItIsAWhiteBoxWithItsName)
{
    TrpSubReportView& sub = Add<TrpSubReportView>();
    sub.Name = QStringLiteral("SubReport1");
    sub.SetBounds(10, 10, 120, 40);
    QImage canvas(200, 100, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter painter(&canvas);
    sub.Draw(&painter);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(10, 30), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(130, 30), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(100, 40), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(150, 30), QColor(Qt::gray));
    EXPECT_TRUE(HasInk(canvas, QRect(12, 12, 58, 12))) << "the name is written inside";

    context.PrintModeFlag = true;
    canvas.fill(Qt::gray);
    QPainter printing(&canvas);
    sub.Draw(&printing);
    EXPECT_EQ(canvas.pixelColor(10, 30), QColor(Qt::gray)) << "nothing is drawn while printing";
}

}  // namespace
