// The graphics a picture shows: every kind decodes to its own size and draws stretched into a
// rectangle; broken, truncated or oversized data decodes to nothing with a reason, without
// allocating what its header claims.
#include <gtest/gtest.h>

#include <QPainter>

#include "SampleGraphics.h"
#include "report/graphic/Graphic.h"
#include "report/graphic/Metafile.h"

namespace {

struct KindCase {
    const char* name;
    TrpGraphicKind kind;
    QByteArray data;
    QSize size;
};

void PrintTo(const KindCase& c, std::ostream* os)
{
    *os << c.name;
}

class GraphicKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(GraphicKinds, DecodeToTheirSizeAndDrawStretched)
{
    const KindCase& c = GetParam();
    const TrpGraphic graphic(c.kind, c.data);
    ASSERT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    EXPECT_EQ(graphic.Size(), c.size);

    QImage canvas(60, 40, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        graphic.Draw(painter, QRect(10, 10, 40, 20));
    }
    const QColor inside = canvas.pixelColor(30, 20);
    EXPECT_GT(inside.red(), 200) << "the red picture fills its rectangle";
    EXPECT_LT(inside.green(), 60);
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(Qt::white)) << "nothing outside the rectangle";
    EXPECT_EQ(canvas.pixelColor(55, 35), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, GraphicKinds,
    ::testing::Values(KindCase{"bmp", gkBitmap, SampleImageFile("BMP", Qt::red), QSize(16, 8)},
                      KindCase{"png_as_bitmap", gkBitmap, SampleImageFile("PNG", Qt::red), QSize(16, 8)},
                      KindCase{"jpeg", gkJpeg, SampleImageFile("JPEG", Qt::red), QSize(16, 8)},
                      KindCase{"icon", gkIcon, SampleImageFile("ICO", Qt::red, 32, 32), QSize(32, 32)},
                      KindCase{"metafile", gkMetafile, SampleMetafile(qRgb(255, 0, 0), 100, 50), QSize(100, 50)}),
    [](const auto& info) { return std::string(info.param.name); });

// A BMP header that claims a picture of 100000 x 100000 pixels and carries none.
QByteArray HugeBitmapHeader()
{
    QByteArray bmp = SampleImageFile("BMP", Qt::red);
    const auto put = [&bmp](int offset, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[offset + i] = char(v >> (8 * i));
    };
    put(18, 100000);
    put(22, 100000);
    return bmp;
}

QByteArray MetafileWithLongRecord()
{
    QByteArray emf = SampleMetafile(qRgb(255, 0, 0));
    emf[88 + 4] = char(0xF0);   // the brush record claims more octets than follow
    return emf;
}

struct BrokenCase {
    const char* name;
    TrpGraphicKind kind;
    QByteArray data;
};

void PrintTo(const BrokenCase& c, std::ostream* os)
{
    *os << c.name;
}

class BrokenGraphics : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenGraphics, DecodeToNothingWithAReason)
{
    const BrokenCase& c = GetParam();
    const TrpGraphic graphic(c.kind, c.data);
    EXPECT_FALSE(graphic.Decode());
    EXPECT_FALSE(graphic.Error().isEmpty());
    EXPECT_TRUE(graphic.Size().isEmpty());
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    graphic.Draw(painter, canvas.rect());
    painter.end();
    EXPECT_EQ(canvas.pixelColor(10, 10), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, BrokenGraphics,
    ::testing::Values(BrokenCase{"garbage_bitmap", gkBitmap, QByteArray(300, '\x07')},
                      BrokenCase{"truncated_png", gkBitmap, SampleImageFile("PNG", Qt::red).left(40)},
                      BrokenCase{"png_called_jpeg", gkJpeg, SampleImageFile("PNG", Qt::red)},
                      BrokenCase{"huge_dimensions", gkBitmap, HugeBitmapHeader()},
                      BrokenCase{"oversized_octets", gkBitmap, QByteArray(kMaxGraphicBytes + 1, '\0')},
                      BrokenCase{"metafile_record_past_end", gkMetafile, MetafileWithLongRecord()},
                      BrokenCase{"truncated_metafile", gkMetafile, SampleMetafile(qRgb(255, 0, 0)).left(120)},
                      BrokenCase{"bitmap_called_metafile", gkMetafile, SampleImageFile("BMP", Qt::red)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Graphic, EmptyDataOrKindNoneIsAnEmptyGraphic)
{
    EXPECT_TRUE(TrpGraphic(gkBitmap, QByteArray()).IsEmpty());
    EXPECT_TRUE(TrpGraphic(gkNone, QByteArray("x")).IsEmpty());
    EXPECT_TRUE(TrpGraphic(gkNone, QByteArray("x")).Data().isEmpty());
}

TEST(Graphic, KindOfAFileFollowsItsExtension)
{
    const std::pair<const char*, TrpGraphicKind> cases[] = {
        {"a.BMP", gkBitmap}, {"a.png", gkBitmap}, {"dir.x/a.jpeg", gkJpeg}, {"a.JPG", gkJpeg},
        {"a.ico", gkIcon},   {"a.emf", gkMetafile}, {"a.txt", gkNone},  {"noext", gkNone},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(GraphicKindOfFile(QString::fromLatin1(name)), kind) << name;
}

}  // namespace
