// Old Windows metafiles in pictures, read from a file LibreOffice wrote (data/picture.wmf): its
// frame gives its size, its fields and its text land where they lie in the frame, and damaged
// copies of it decode to nothing with a reason, drawing nothing.
#include <gtest/gtest.h>

#include <QPainter>

#include "SampleGraphics.h"
#include "TestData.h"
#include "report/graphic/Graphic.h"
#include "report/graphic/WindowsMetafile.h"

namespace {

// The picture's frame is 3780 x 1780 hundredths of a millimetre (2540 to the inch): red from
// the left edge to 1890, blue from there to the right edge, both down to 1289; below them a
// white strip with black text in a 4 mm font whose base line is at 1739. LibreOffice sets the
// text's alignment and colour before it saves the device context it draws the text in.
QByteArray Picture()
{
    return TestDataFile("picture.wmf");
}

// The picture drawn into 378 x 178 pixels (one pixel for ten hundredths) on a grey canvas.
QImage Drawn(const TrpGraphic& graphic)
{
    QImage canvas(400, 200, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter painter(&canvas);
    graphic.Draw(painter, QRect(0, 0, 378, 178));
    return canvas;
}

bool HasInk(const QImage& image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 80)
                return true;
    return false;
}

// Offset of the first record of the function after the headers (22 + 18 octets).
qsizetype RecordOf(const QByteArray& wmf, uint16_t function)
{
    const auto word = [&](qsizetype at) { return uint16_t(uint8_t(wmf[at]) | uint8_t(wmf[at + 1]) << 8); };
    for (qsizetype at = 40; at + 6 <= wmf.size();) {
        if (word(at + 4) == function)
            return at;
        at += 2 * (qsizetype(word(at)) | qsizetype(word(at + 2)) << 16);
    }
    ADD_FAILURE() << "no record " << function;
    return 0;
}

void PutWord(QByteArray& data, qsizetype at, uint16_t value)
{
    data[at] = char(value & 0xFF);
    data[at + 1] = char(value >> 8);
}

TEST(WindowsMetafile, DrawsItsFieldsAndTextWhereTheyLieInItsFrame)
{
    const QByteArray wmf = Picture();
    ASSERT_FALSE(wmf.isEmpty()) << TestDataPath("picture.wmf").toStdString();
    const TrpGraphic graphic(gkMetafile, wmf);
    ASSERT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    // 3780 / 2540 x 96 = 142.9 and 1780 / 2540 x 96 = 67.3 pixels at 96 DPI.
    EXPECT_EQ(graphic.Size(), QSize(143, 67));

    const QImage image = Drawn(graphic);
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(180, 120), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(200, 60), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(370, 120), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(370, 170), QColor(Qt::white)) << "the strip under the fields";
    EXPECT_EQ(image.pixelColor(200, 133), QColor(Qt::white));
    // The text stands on its base line at 174, about 30 pixels high, and ends left of 300.
    EXPECT_TRUE(HasInk(image, QRect(5, 145, 150, 29))) << "the text is drawn";
    EXPECT_FALSE(HasInk(image, QRect(300, 131, 70, 45)));
    EXPECT_FALSE(HasInk(image, QRect(0, 0, 378, 125))) << "no text over the fields";
    EXPECT_EQ(image.pixelColor(385, 100), QColor(Qt::gray)) << "nothing outside the frame";
    EXPECT_EQ(image.pixelColor(100, 185), QColor(Qt::gray));
}

// A bitmap record before the end that claims 30000 x 30000 pixels of 24 bits and carries 64 octets.
void AddHugeBitmap(QByteArray& wmf)
{
    QByteArray record(6, '\0');
    const auto word = [&record](int value) {
        record.append(char(value & 0xFF));
        record.append(char((value >> 8) & 0xFF));
    };
    word(0x0020), word(0x00CC), word(0);                  // copy, colours by value
    word(30000), word(30000), word(0), word(0);           // the source: height, width, y, x
    word(400), word(800), word(50), word(100);            // the destination
    word(40), word(0), word(30000), word(0), word(30000), word(0), word(1), word(24);
    record.append(QByteArray(24 + 64, '\0'));            // no compression, no sizes; the pixels
    PutWord(record, 0, uint16_t(record.size() / 2));
    PutWord(record, 4, 0x0F43);
    wmf.insert(wmf.size() - 6, record);
}

struct Damage {
    const char* name;
    std::function<void(QByteArray&)> apply;
};

void PrintTo(const Damage& d, std::ostream* os)
{
    *os << d.name;
}

class DamagedWindowsMetafile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedWindowsMetafile, DecodesToNothingWithAReason)
{
    QByteArray wmf = Picture();
    ASSERT_FALSE(wmf.isEmpty());
    GetParam().apply(wmf);
    const TrpGraphic graphic(gkMetafile, wmf);
    EXPECT_FALSE(graphic.Decode());
    EXPECT_FALSE(graphic.Error().isEmpty());
    EXPECT_TRUE(graphic.Size().isEmpty());
    const QImage image = Drawn(graphic);
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::gray));
    EXPECT_EQ(image.pixelColor(200, 60), QColor(Qt::gray));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedWindowsMetafile,
    ::testing::Values(
        Damage{"cut_in_a_record", [](QByteArray& d) { d.truncate(RecordOf(d, 0x0521) + 10); }},
        Damage{"without_its_end", [](QByteArray& d) { d.chop(6); }},
        Damage{"frame_changed_after_its_checksum", [](QByteArray& d) { PutWord(d, 10, 60000); }},
        Damage{"without_its_placeable_header", [](QByteArray& d) { d.remove(0, 22); }},
        // The largest record the header claims sizes the library's record buffer: 4 GB here.
        Damage{"largest_record_past_the_data", [](QByteArray& d) { PutWord(d, 22 + 14, 0x7FFF); }},
        Damage{"record_longer_than_the_largest", [](QByteArray& d) { PutWord(d, 22 + 12, 3); }},
        Damage{"polygon_points_past_their_record",
               [](QByteArray& d) { PutWord(d, RecordOf(d, 0x0538) + 8, 0x4000); }},
        Damage{"text_past_its_record", [](QByteArray& d) { PutWord(d, RecordOf(d, 0x0521) + 6, 0x4000); }},
        Damage{"empty_frame", [](QByteArray& d) {
                   // The right edge on the left one, the checksum made good again.
                   PutWord(d, 10, 0);
                   uint16_t sum = 0;
                   for (int at = 0; at < 20; at += 2)
                       sum ^= uint16_t(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8);
                   PutWord(d, 20, sum);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowsMetafile, ABitmapAskingForGigabytesDrawsNothingOfItsOwn)
{
    QByteArray wmf = Picture();
    AddHugeBitmap(wmf);
    const TrpGraphic graphic(gkMetafile, wmf);
    ASSERT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    const QImage image = Drawn(graphic);
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(200, 60), QColor(Qt::blue));
}

TEST(WindowsMetafile, TheKeyTellsItFromAnEnhancedOne)
{
    EXPECT_TRUE(IsWindowsMetafile(Picture()));
    EXPECT_FALSE(IsWindowsMetafile(SampleMetafile(qRgb(255, 0, 0))));
    EXPECT_FALSE(IsWindowsMetafile(QByteArray("\xD7\xCD", 2)));
}

}  // namespace
