#include "report/graphic/WindowsMetafileBitmap.h"

#include <algorithm>
#include <iterator>

namespace {

// A record that carries a bitmap: where the bitmap starts in its parameters, and the length of
// its form without one (a raster operation on the destination alone), 0 where none is bare.
struct TBitmapRecord {
    uint16_t Function;
    qsizetype BitmapAt;
    qsizetype BareLength;
    bool OfTheDevice = false;   // the old form, a device's bitmap; else a device-independent one
    // Where the record counts the bitmap's scan lines, -1 where it does not. The library takes
    // that count, when there is one, for the bitmap's height.
    qsizetype ScanLinesAt = -1;
};

constexpr TBitmapRecord kBitmapRecords[] = {
    // BitBlt: raster operation (2 words), source y, x, height, width, destination y, x.
    {0x0922, 16, 18, true},
    // StretchBlt: raster operation, source height, width, y, x, destination height, width, y, x.
    {0x0B23, 20, 22, true},
    {0x0940, 16, 18},   // DIBBitBlt, laid out as BitBlt
    {0x0B41, 20, 22},   // DIBStretchBlt, laid out as StretchBlt
    // StretchDIB: raster operation, colour use, source and destination rectangles.
    {0x0F43, 22, 0},
    // SetDIBitsToDevice: colour use, scan lines, first scan line, source and destination.
    {0x0D33, 18, 0, false, 2},
    {0x0142, 4, 0},     // DIBCreatePatternBrush: style, colour use
};

// The octets of one bitmap; the caller reads only offsets it has checked against Length.
class TOctets {
public:
    TOctets(const QByteArray& data, qsizetype at, qsizetype length) : data_(data), at_(at), length_(length) {}

    int64_t Length() const { return length_; }
    uint8_t U8(qsizetype offset) const { return uint8_t(data_[at_ + offset]); }
    uint16_t U16(qsizetype offset) const { return uint16_t(U8(offset) | U8(offset + 1) << 8); }
    uint32_t U32(qsizetype offset) const { return uint32_t(U16(offset)) | uint32_t(U16(offset + 2)) << 16; }

private:
    const QByteArray& data_;
    qsizetype at_;
    qsizetype length_;
};

enum TCompression : uint32_t { kUncompressed = 0, kRunLength8 = 1, kRunLength4 = 2, kBitFields = 3 };

// What a bitmap's header tells, in 64 bits.
struct TBitmapShape {
    int64_t Width = 0, Height = 0;
    int64_t Planes = 0, BitCount = 0;
    uint32_t Compression = kUncompressed;
    int64_t LineOctets = 0;    // one scan line of the uncompressed pixels
    int64_t PixelOctets = 0;   // what the record holds after the header and the colour table
};

// The library keeps a bitmap's sides in 16 bits.
constexpr int64_t kMaxSide = 0xFFFF;
// The most pixels a bitmap may have, 4096 x 4096 (an A4 page at 400 DPI): the library holds it at
// four octets a pixel and encodes it again, within what it may allocate for one picture.
constexpr int64_t kMaxPixels = int64_t(4096) * 4096;
// A run of two octets gives at most 255 pixels.
constexpr int64_t kMaxRunPixels = 255;

bool KnownBitCount(int64_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The sides, the pixels a page may show, the format, and the pixels' octets: those of the lines,
// or for run-length pixels what their runs may give at most. A bitmap whose lines run from the
// top (a negative height) the library reads as one of some 65000 lines: it is refused too.
QString CheckShape(const TBitmapShape& s)
{
    if (s.Width <= 0 || s.Height <= 0 || s.Width > kMaxSide || s.Height > kMaxSide)
        return QStringLiteral("неверный размер растра в метафайле: %1 x %2").arg(s.Width).arg(s.Height);
    if (s.Width * s.Height > kMaxPixels)
        return QStringLiteral("растр в метафайле слишком велик: %1 x %2").arg(s.Width).arg(s.Height);
    if (s.Planes != 1 || !KnownBitCount(s.BitCount))
        return QStringLiteral("неверный формат растра в метафайле: %1 плоск., %2 бит на точку")
            .arg(s.Planes)
            .arg(s.BitCount);
    const bool compressed = s.Compression == kRunLength8 || s.Compression == kRunLength4;
    if (compressed ? s.Width * s.Height > kMaxRunPixels * ((s.PixelOctets + 1) / 2)
                   : s.LineOctets * s.Height > s.PixelOctets)
        return QStringLiteral("точки растра %1 x %2 не умещаются в запись метафайла").arg(s.Width).arg(s.Height);
    return {};
}

// A device-independent bitmap: its header (of 12 octets, or of 40 and more), its colour table
// and its pixels, of which the record may count fewer scan lines (0: all).
QString CheckIndependentBitmap(const TOctets& dib, int64_t scanLines)
{
    constexpr uint32_t kCoreHeader = 12;
    constexpr uint32_t kInfoHeader = 40;
    const uint32_t header = dib.Length() >= 4 ? dib.U32(0) : 0;
    TBitmapShape s;
    int64_t colours = 0;
    int64_t entry = 4;
    if (header == kCoreHeader && dib.Length() >= kCoreHeader) {
        s.Width = dib.U16(4), s.Height = dib.U16(6), s.Planes = dib.U16(8), s.BitCount = dib.U16(10);
        entry = 3;
    } else if (header >= kInfoHeader && header <= dib.Length()) {
        s.Width = int32_t(dib.U32(4)), s.Height = int32_t(dib.U32(8));
        s.Planes = dib.U16(12), s.BitCount = dib.U16(14);
        s.Compression = dib.U32(16);
        colours = dib.U32(32);
    } else {
        return dib.Length() < 4 ? QStringLiteral("запись метафайла без своего растра")
                                : QStringLiteral("неверный заголовок растра в метафайле: %1 октетов").arg(header);
    }
    const bool readable = s.Compression == kUncompressed || (s.Compression == kRunLength8 && s.BitCount == 8) ||
                          (s.Compression == kRunLength4 && s.BitCount == 4) ||
                          (s.Compression == kBitFields && (s.BitCount == 16 || s.BitCount == 32));
    if (!readable)
        return QStringLiteral("растр в метафайле сжат неизвестным способом %1").arg(s.Compression);
    if (s.BitCount <= 8) {
        const int64_t palette = int64_t(1) << s.BitCount;
        if (colours > palette)
            return QStringLiteral("палитра растра в метафайле длиннее %1 цветов").arg(palette);
        if (colours == 0)
            colours = palette;
    }
    if (scanLines > s.Height)
        return QStringLiteral("запись метафайла берёт %1 строк растра высотой %2").arg(scanLines).arg(s.Height);
    const int64_t masks = s.Compression == kBitFields ? 12 : 0;
    s.PixelOctets = dib.Length() - header - masks - colours * entry;
    s.LineOctets = (s.Width * s.BitCount + 31) / 32 * 4;
    return CheckShape(s);
}

// A device's bitmap of the old records: type, width, height, octets a scan line, planes and bits
// a pixel, then its pixels.
QString CheckDeviceBitmap(const TOctets& bitmap)
{
    constexpr int64_t kHeader = 10;
    if (bitmap.Length() < kHeader)
        return QStringLiteral("запись метафайла без своего растра");
    TBitmapShape s;
    s.Width = int16_t(bitmap.U16(2)), s.Height = int16_t(bitmap.U16(4));
    s.LineOctets = bitmap.U16(6);
    s.Planes = bitmap.U8(8), s.BitCount = bitmap.U8(9);
    s.PixelOctets = bitmap.Length() - kHeader;
    if (QString error = CheckShape(s); !error.isEmpty())
        return error;
    if (s.LineOctets < (s.Width * s.BitCount + 15) / 16 * 2)
        return QStringLiteral("строка растра в метафайле короче его ширины");
    return {};
}

}  // namespace

QString CheckRecordBitmap(uint16_t function, const QByteArray& data, qsizetype params, qsizetype length)
{
    const auto* record = std::find_if(std::begin(kBitmapRecords), std::end(kBitmapRecords),
                                      [function](const TBitmapRecord& r) { return r.Function == function; });
    if (record == std::end(kBitmapRecords) || length == record->BareLength)
        return {};
    const TOctets bitmap(data, params + record->BitmapAt, length - record->BitmapAt);
    if (record->OfTheDevice)
        return CheckDeviceBitmap(bitmap);
    // The record's parameters before the bitmap are there, or the bitmap would have no octets.
    const int64_t scanLines = record->ScanLinesAt >= 0 && bitmap.Length() > 0
                                  ? TOctets(data, params, length).U16(record->ScanLinesAt)
                                  : 0;
    return CheckIndependentBitmap(bitmap, scanLines);
}
