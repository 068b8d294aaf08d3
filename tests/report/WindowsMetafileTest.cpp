// Old Windows metafiles in pictures, read from a file LibreOffice wrote (data/picture.wmf): its
// frame gives its size, its fields and its text land where they lie in the frame, and damaged
// copies of it decode to nothing with a reason, drawing nothing. Records that carry a bitmap, in
// pictures made record by record: a bitmap of every kind draws, and one the library would read
// past its record, loop on or size by gigabytes refuses the picture.
#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "SampleGraphics.h"
#include "TestData.h"
#include "report/graphic/Graphic.h"
#include "report/graphic/WindowsMetafile.h"
#include "support/BoundedRun.h"

namespace {

// The picture's frame is 3780 x 1780 hundredths of a millimetre (2540 to the inch): red from
// the left edge to 1890, blue from there to the right edge, both down to 1289; below them a
// white strip with black text in a 4 mm font whose base line is at 1739. LibreOffice sets the
// text's alignment and colour before it saves the device context it draws the text in.
QByteArray Picture()
{
    return TestDataFile("picture.wmf");
}

// The picture drawn into the target's pixels on a grey canvas: by default 378 x 178 (one pixel
// for ten hundredths) on 400 x 200.
QImage Drawn(const TrpGraphic& graphic, QSize canvasSize = {400, 200}, QRect target = {0, 0, 378, 178})
{
    QImage canvas(canvasSize, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter painter(&canvas);
    graphic.Draw(painter, target);
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
        // Sizing the pixels by the bitmap's header, the library would fill an image of gigabytes.
        Damage{"bitmap_asking_for_gigabytes", AddHugeBitmap},
        Damage{"empty_frame", [](QByteArray& d) {
                   // The right edge on the left one, the checksum made good again.
                   PutWord(d, 10, 0);
                   uint16_t sum = 0;
                   for (int at = 0; at < 20; at += 2)
                       sum ^= uint16_t(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8);
                   PutWord(d, 20, sum);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowsMetafile, TheKeyTellsItFromAnEnhancedOne)
{
    EXPECT_TRUE(IsWindowsMetafile(Picture()));
    EXPECT_FALSE(IsWindowsMetafile(SampleMetafile(qRgb(255, 0, 0))));
    EXPECT_FALSE(IsWindowsMetafile(QByteArray("\xD7\xCD", 2)));
}

// ---- Records that carry a bitmap, in pictures made record by record: a frame 1000 units square
// at 1000 units to the inch, drawn into 400 x 400 pixels (0.4 pixel a unit).

QByteArray Words(std::initializer_list<int> words)
{
    QByteArray out;
    for (const int word : words)
        out.append(char(word & 0xFF)).append(char((word >> 8) & 0xFF));
    return out;
}

QByteArray DoubleWords(std::initializer_list<int64_t> values)
{
    QByteArray out;
    for (const int64_t value : values)
        out += Words({int(value & 0xFFFF), int((value >> 16) & 0xFFFF)});
    return out;
}

QByteArray Record(int function, const QByteArray& params)
{
    return DoubleWords({3 + (params.size() + 1) / 2}) + Words({function}) + params +
           QByteArray(params.size() % 2, '\0');
}

QByteArray MadeMetafile(const QByteArray& records)
{
    QByteArray placeable = DoubleWords({0x9AC6CDD7}) + Words({0, 0, 0, 1000, 1000, 1000}) + DoubleWords({0});
    int checksum = 0;
    for (qsizetype at = 0; at < placeable.size(); at += 2)
        checksum ^= uint8_t(placeable[at]) | uint8_t(placeable[at + 1]) << 8;
    const QByteArray body = records + Record(0x0000, {});
    int64_t largest = 0;
    for (qsizetype at = 0; at < body.size();) {
        const int64_t words = uint8_t(body[at]) | uint8_t(body[at + 1]) << 8 | uint8_t(body[at + 2]) << 16 |
                              int64_t(uint8_t(body[at + 3])) << 24;
        largest = std::max(largest, words);
        at += 2 * words;
    }
    // Four objects at most: the pattern brush.
    return placeable + Words({checksum, 1, 9, 0x0300}) + DoubleWords({(18 + body.size()) / 2}) + Words({4}) +
           DoubleWords({largest}) + Words({0}) + body;
}

// The colour every bitmap below is drawn in: its pixels are all of it, or all of the palette's
// second colour, which is it.
const QColor kInk(0x20, 0xA0, 0x40);

// A device-independent bitmap: its header (of the size given: 12 for the old core header), its
// colour table and its pixels, by default as many octets as its lines need.
struct Bitmap {
    int64_t header = 40;
    int64_t width = 60, height = 40;
    int bits = 24;
    int64_t compression = 0;
    int64_t colours = 0;          // the header's count of colours; the table holds them, or 2^bits
    int64_t pixelOctets = -1;     // -1: what the lines need
    QByteArray runs;              // the pixels of a run-length bitmap

    int64_t LineOctets() const { return (width * bits + 31) / 32 * 4; }

    QByteArray Octets() const
    {
        QByteArray out;
        if (header == 12)
            out = DoubleWords({12}) + Words({int(width), int(height), 1, bits});
        else
            out = DoubleWords({header, width, height}) + Words({1, bits}) +
                  DoubleWords({compression, runs.size(), 0, 0, colours, 0}) + QByteArray(std::max<int64_t>(header - 40, 0), '\0');
        const int64_t table = bits <= 8 ? (colours ? colours : int64_t(1) << bits) : colours;
        for (int64_t i = 0; i < table; ++i) {
            const QColor colour = i == 1 ? kInk : QColor(Qt::black);
            out.append(char(colour.blue())).append(char(colour.green())).append(char(colour.red()));
            if (header != 12)
                out.append('\0');
        }
        if (compression == 3)
            out += DoubleWords({0xF800, 0x07E0, 0x001F});
        if (!runs.isEmpty())
            return out + runs;
        // One line, or as much of it as the pixels take: a bitmap may claim far more than it holds.
        const int64_t count = pixelOctets >= 0 ? pixelOctets : LineOctets() * height;
        const int64_t lineOctets = std::min(LineOctets(), count);
        QByteArray line;
        const int r = kInk.red(), g = kInk.green(), b = kInk.blue();
        for (int64_t x = 0; x < width && line.size() < lineOctets && bits > 8; ++x) {
            if (bits == 16 && compression == 3)
                line += Words({(r >> 3) << 11 | (g >> 2) << 5 | b >> 3});
            else if (bits == 16)
                line += Words({(r >> 3) << 10 | (g >> 3) << 5 | b >> 3});
            else
                line.append(char(b)).append(char(g)).append(char(r)).append(QByteArray(bits / 8 - 3, '\0'));
        }
        // Index 1 in every pixel of the palette bitmaps.
        const char index = bits == 1 ? '\xFF' : bits == 4 ? '\x11' : '\x01';
        line = bits <= 8 ? QByteArray(lineOctets, index) : line.leftJustified(lineOctets, '\0', true);
        QByteArray pixels;
        while (pixels.size() < count)
            pixels += line.isEmpty() ? QByteArray(count, '\0') : line.left(count - pixels.size());
        return out + pixels;
    }
};

// The records that carry a device-independent bitmap. Each draws it, as far as it can, onto the
// destination at units (100, 200): stretched to 600 x 400 units, or at its own size in units.
enum class Carrier { DibBitBlt, DibStretchBlt, StretchDib, SetDibToDev, PatternBrush };

const QByteArray kCopy = DoubleWords({0x00CC0020});

QByteArray Carrying(Carrier carrier, const Bitmap& bitmap)
{
    const int w = int(bitmap.width), h = int(bitmap.height);
    const QByteArray stretch = Words({h, w, 0, 0, 400, 600, 200, 100});
    const QByteArray dib = bitmap.Octets();
    switch (carrier) {
    case Carrier::DibBitBlt:
        return Record(0x0940, kCopy + Words({0, 0, h, w, 200, 100}) + dib);
    case Carrier::DibStretchBlt:
        return Record(0x0B41, kCopy + stretch + dib);
    case Carrier::StretchDib:
        return Record(0x0F43, kCopy + Words({0}) + stretch + dib);
    case Carrier::SetDibToDev:
        return Record(0x0D33, Words({0, h, 0, 0, 0, h, w, 200, 100}) + dib);
    case Carrier::PatternBrush:
        // The brush selected, a rectangle filled with it.
        return Record(0x0142, Words({5, 0}) + dib) + Record(0x012D, Words({0})) +
               Record(0x041B, Words({600, 700, 200, 100}));
    }
    return {};
}

// A bitmap of the old records: type, width, height, octets a line, planes, bits a pixel, pixels.
QByteArray DeviceBitmap(int width, int height, int lineOctets, int planes, int bits, int pixelOctets)
{
    return Words({0, width, height, lineOctets, planes | bits << 8}) + QByteArray(pixelOctets, '\x55');
}

QByteArray OldBitBlt(const QByteArray& bitmap)
{
    return Record(0x0922, kCopy + Words({0, 0, 40, 60, 200, 100}) + bitmap);
}

QByteArray OldStretchBlt(const QByteArray& bitmap)
{
    return Record(0x0B23, kCopy + Words({40, 60, 0, 0, 400, 600, 200, 100}) + bitmap);
}

QImage DrawnMade(const TrpGraphic& graphic)
{
    return Drawn(graphic, {400, 400}, {0, 0, 400, 400});
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 && std::abs(a.blue() - b.blue()) <= 8;
}

// How many pixels of the canvas are in the bitmaps' colour.
int Inked(const QImage& image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += Near(image.pixelColor(x, y), kInk);
    return inked;
}

// Run-length pixels: each line one run of the palette's second colour and its end, then the
// end of the bitmap. A run gives at most 255 pixels.
QByteArray Runs(int64_t width, int64_t height, int bits)
{
    QByteArray out;
    for (int64_t y = 0; y < height; ++y) {
        for (int64_t x = 0; x < width; x += 255)
            out.append(char(std::min<int64_t>(255, width - x))).append(bits == 8 ? '\x01' : '\x11');
        if (y + 1 < height)
            out += QByteArray("\0\0", 2);
    }
    // The end of the bitmap; the library takes an end of line after the last as damage.
    return out + QByteArray("\0\1", 2);
}

struct DrawnBitmap {
    const char* name;
    Carrier carrier;
    Bitmap bitmap;
};

void PrintTo(const DrawnBitmap& d, std::ostream* os)
{
    *os << d.name;
}

class BitmapRecord : public ::testing::TestWithParam<DrawnBitmap> {};

// The library places a copy at its own size by its own measure (a few pixels here), scales a
// stretched bitmap down once more by its width, and fills with a pattern brush in black in its
// SVG: what is asked of each is its bitmap's colour on the canvas, or the fill.
TEST_P(BitmapRecord, DrawsItsBitmapInItsColour)
{
    const DrawnBitmap& c = GetParam();
    const TrpGraphic graphic(gkMetafile, MadeMetafile(Carrying(c.carrier, c.bitmap)));
    ASSERT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    EXPECT_EQ(graphic.Size(), QSize(96, 96));
    const QImage image = DrawnMade(graphic);
    if (c.carrier == Carrier::PatternBrush) {
        EXPECT_NE(image.pixelColor(160, 160), QColor(Qt::gray));
        return;
    }
    EXPECT_GT(Inked(image), 0) << "pixels in the bitmap's colour";
    EXPECT_EQ(image.pixelColor(390, 390), QColor(Qt::gray)) << "nothing outside the destination";
}

// The library reads as many colours as the header counts, none for a count of 0: the bitmaps
// below count theirs.
Bitmap Of(int bits, int64_t compression = 0, int64_t header = 40)
{
    Bitmap b;
    b.bits = bits, b.compression = compression, b.header = header;
    b.colours = bits <= 8 && header != 12 ? int64_t(1) << bits : 0;
    if (compression == 1 || compression == 2)
        b.runs = Runs(b.width, b.height, bits);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, BitmapRecord,
    ::testing::Values(DrawnBitmap{"dib_bitblt", Carrier::DibBitBlt, Of(24)},
                      DrawnBitmap{"dib_stretchblt", Carrier::DibStretchBlt, Of(24)},
                      DrawnBitmap{"stretch_dib", Carrier::StretchDib, Of(24)},
                      DrawnBitmap{"set_dib_to_device", Carrier::SetDibToDev, Of(24)},
                      DrawnBitmap{"pattern_brush", Carrier::PatternBrush, Of(24)},
                      DrawnBitmap{"one_bit", Carrier::StretchDib, Of(1)},
                      DrawnBitmap{"four_bits", Carrier::StretchDib, Of(4)},
                      DrawnBitmap{"eight_bits", Carrier::StretchDib, Of(8)},
                      DrawnBitmap{"sixteen_bits", Carrier::StretchDib, Of(16)},
                      DrawnBitmap{"sixteen_bits_by_masks", Carrier::StretchDib, Of(16, 3)},
                      DrawnBitmap{"thirty_two_bits", Carrier::StretchDib, Of(32)},
                      DrawnBitmap{"run_length_eight", Carrier::StretchDib, Of(8, 1)},
                      DrawnBitmap{"run_length_four", Carrier::DibStretchBlt, Of(4, 2)},
                      DrawnBitmap{"core_header", Carrier::StretchDib, Of(24, 0, 12)},
                      DrawnBitmap{"longer_header", Carrier::StretchDib, Of(24, 0, 108)},
                      DrawnBitmap{"short_palette", Carrier::StretchDib, [] {
                                      Bitmap b = Of(8);
                                      b.colours = 2;
                                      return b;
                                  }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowsMetafile, TheOldBitmapRecordsAreCheckedAndLeftUndrawn)
{
    // 60 pixels of one bit: 8 octets a line, 40 lines. The library draws neither form.
    for (const auto& record : {OldBitBlt(DeviceBitmap(60, 40, 8, 1, 1, 320)),
                               OldStretchBlt(DeviceBitmap(60, 40, 8, 1, 1, 320)),
                               OldBitBlt(DeviceBitmap(60, 40, 10, 1, 1, 400)),
                               Record(0x0922, kCopy + Words({0, 0, 0, 40, 60, 200, 100})),
                               Record(0x0940, kCopy + Words({0, 0, 0, 40, 60, 200, 100}))}) {
        const TrpGraphic graphic(gkMetafile, MadeMetafile(Record(0x041B, Words({900, 900, 800, 800})) + record));
        EXPECT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    }
}

// A picture whose bitmap record the library must not see: refused with the picture error before
// anything is drawn, at once and within a reader's bounds.
void ExpectRefused(const std::string& name, const QByteArray& records)
{
    ExpectBounded(name, [&] {
        const TrpGraphic graphic(gkMetafile, MadeMetafile(Record(0x041B, Words({900, 900, 800, 800})) + records));
        EXPECT_FALSE(graphic.Decode()) << name;
        EXPECT_FALSE(graphic.Error().isEmpty()) << name;
        EXPECT_TRUE(graphic.Size().isEmpty()) << name;
        EXPECT_EQ(DrawnMade(graphic).pixelColor(340, 340), QColor(Qt::gray)) << name;
    });
}

TEST(WindowsMetafile, RefusesABitmapHeaderItCannotRead)
{
    const auto header = [](int64_t size) {
        Bitmap b;
        b.header = size;
        return b;
    };
    for (const int64_t size : {0, 11, 13, 39})
        ExpectRefused("header of " + std::to_string(size), Carrying(Carrier::StretchDib, header(size)));
    // A header longer than the record holds.
    QByteArray cut = Bitmap().Octets().left(40);
    cut[0] = char(44);
    ExpectRefused("header past its record", Record(0x0F43, kCopy + Words({0, 40, 60, 0, 0, 400, 600, 200, 100}) + cut));
    // A pattern brush or a device-independent copy with no bitmap after its parameters.
    ExpectRefused("pattern brush without its bitmap", Record(0x0142, Words({5, 0})));
    ExpectRefused("pattern brush with half a header", Record(0x0142, Words({5, 0, 40})));
    ExpectRefused("stretched copy without its bitmap", Record(0x0F43, kCopy + Words({0, 40, 60, 0, 0, 400, 600, 200, 100})));
}

TEST(WindowsMetafile, RefusesABitmapWhosePixelsTheRecordDoesNotHold)
{
    struct Case {
        std::string name;
        Bitmap bitmap;
    };
    std::vector<Case> cases;
    const auto add = [&cases](std::string name, auto change) {
        Bitmap b;
        change(b);
        cases.push_back({std::move(name), b});
    };
    // The octets in the last line short by a word: a record holds whole words.
    add("last line short", [](Bitmap& b) { b.pixelOctets = b.LineOctets() * b.height - 2; });
    // 32768 x 32768 x 32 bits is 2^35, 0 in 32 bits.
    add("size wrapping 32 bits", [](Bitmap& b) { b.width = 32768, b.height = 32768, b.bits = 32, b.pixelOctets = 64; });
    add("width wrapping 32 bits with its line", [](Bitmap& b) { b.width = 0x7FFFFFFF, b.height = 1, b.pixelOctets = 64; });
    add("no bit count", [](Bitmap& b) { b.bits = 0, b.width = 30000, b.height = 30000, b.pixelOctets = 64; });
    add("no bit count, small", [](Bitmap& b) { b.bits = 0; });
    add("two bits", [](Bitmap& b) { b.bits = 2; });
    add("no width", [](Bitmap& b) { b.width = 0; });
    add("lines from the top", [](Bitmap& b) { b.height = -40; });
    add("palette longer than the bits count", [](Bitmap& b) { b.bits = 8, b.colours = 257; });
    add("compression it cannot read", [](Bitmap& b) { b.compression = 4; });
    add("run length of 24 bits", [](Bitmap& b) { b.compression = 1, b.runs = Runs(60, 40, 8); });
    // 30000 x 30000 pixels from one run: a run of two octets gives at most 255.
    add("run length of gigabytes", [](Bitmap& b) {
        b.bits = 8, b.compression = 1, b.width = 30000, b.height = 30000, b.runs = QByteArray("\xFF\x01\0\1", 4);
    });
    add("past what a page shows", [](Bitmap& b) { b.bits = 1, b.colours = 2, b.width = 4097, b.height = 4096; });
    for (const Case& c : cases)
        ExpectRefused(c.name, Carrying(Carrier::StretchDib, c.bitmap));
    // Two planes are not what the header of a device-independent bitmap may say.
    QByteArray planes = Carrying(Carrier::StretchDib, Bitmap());
    PutWord(planes, 6 + 22 + 12, 2);
    ExpectRefused("two planes", planes);
}

TEST(WindowsMetafile, ChecksEveryRecordThatCarriesABitmap)
{
    Bitmap wrapping;
    wrapping.width = 32768, wrapping.height = 32768, wrapping.bits = 32, wrapping.pixelOctets = 64;
    for (const Carrier carrier : {Carrier::DibBitBlt, Carrier::DibStretchBlt, Carrier::StretchDib,
                                  Carrier::SetDibToDev, Carrier::PatternBrush})
        ExpectRefused("carrier " + std::to_string(int(carrier)), Carrying(carrier, wrapping));
    // The old forms: pixels past the record, a line shorter than the width, an unknown format.
    ExpectRefused("old copy past its record", OldBitBlt(DeviceBitmap(60, 40, 8, 1, 1, 318)));
    ExpectRefused("old stretch past its record", OldStretchBlt(DeviceBitmap(60, 40, 8, 1, 1, 318)));
    ExpectRefused("old line too short", OldBitBlt(DeviceBitmap(60, 40, 6, 1, 1, 320)));
    ExpectRefused("old bits", OldBitBlt(DeviceBitmap(60, 40, 8, 1, 3, 320)));
    // Copying to the device, the library takes the record's count of scan lines for the height.
    ExpectRefused("more scan lines than the bitmap has",
                  Record(0x0D33, Words({0, 41, 0, 0, 0, 40, 60, 200, 100}) + Bitmap().Octets()));
    ExpectRefused("old without bitmap", Record(0x0922, kCopy + Words({0, 0, 40, 60, 200, 100})));
}

TEST(WindowsMetafile, TheNearestBitmapsToEachBoundStillLoad)
{
    // Exactly the pixels its lines need.
    const TrpGraphic whole(gkMetafile, MadeMetafile(Carrying(Carrier::StretchDib, Bitmap())));
    EXPECT_TRUE(whole.Decode()) << whole.Error().toStdString();
    // 510 pixels from four octets of runs: the most two octets of runs may give each.
    for (const int width : {510, 511}) {
        Bitmap runs = Of(8, 1);
        runs.width = width, runs.height = 1, runs.runs = QByteArray("\xFF\x01\0\1", 4);
        const TrpGraphic graphic(gkMetafile, MadeMetafile(Carrying(Carrier::StretchDib, runs)));
        EXPECT_EQ(graphic.Decode(), width == 510) << width;
    }
    // As many pixels as a bitmap may have: 4096 x 4096.
    Bitmap page = Of(1);
    page.width = 4096, page.height = 4096;
    const TrpGraphic graphic(gkMetafile, MadeMetafile(Carrying(Carrier::StretchDib, page)));
    ASSERT_TRUE(graphic.Decode()) << graphic.Error().toStdString();
    EXPECT_GT(Inked(DrawnMade(graphic)), 0);
}

}  // namespace
