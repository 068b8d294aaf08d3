#pragma once
// The graphic a picture object shows: a bitmap (any raster image Qt reads: BMP, PNG, GIF), a
// metafile (enhanced, or the old Windows kind with its placeable header), an icon or a JPEG
// image, kept as the octets of its file, exactly as records and blob fields carry it, and
// decoded once when it is first measured or drawn. Data that is not a picture of its kind, or
// that is too large, decodes to nothing with the reason in Error().
#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// The kinds as picture records number them.
enum TrpGraphicKind : uint8_t { gkNone = 0, gkBitmap = 1, gkMetafile = 2, gkIcon = 3, gkJpeg = 4 };

// Limits that keep a damaged or hostile picture from taking unbounded memory: the octets kept,
// and the pixels a raster image may decode to (about 160 MB at four octets a pixel).
constexpr qint64 kMaxGraphicBytes = qint64(64) << 20;
constexpr qint64 kMaxGraphicPixels = 40'000'000;

class TrpGraphic {
public:
    TrpGraphic() = default;
    // Kind gkNone, or no octets, makes an empty graphic.
    TrpGraphic(TrpGraphicKind kind, QByteArray data);

    TrpGraphicKind Kind() const { return kind_; }
    const QByteArray& Data() const { return data_; }
    bool IsEmpty() const { return kind_ == gkNone; }

    // Decodes on first use; false when the graphic is empty or cannot be decoded.
    bool Decode() const;
    // Why the graphic could not be decoded; empty when it could.
    QString Error() const;
    // The graphic's own size in pixels (a metafile's at 96 DPI); empty when it cannot be decoded.
    QSize Size() const;
    // Stretches the graphic into the rectangle, a metafile clipped to it; nothing when it cannot
    // be decoded.
    void Draw(QPainter& painter, const QRect& target) const;

private:
    struct Decoded;
    const Decoded& Decoding() const;

    TrpGraphicKind kind_ = gkNone;
    QByteArray data_;
    // Shared by copies: decoding is done once and never changes afterwards.
    mutable std::shared_ptr<const Decoded> decoded_;
};

// The kind a picture file gets by its extension: .bmp, .png and .gif bitmaps, .jpg and .jpeg,
// .ico, .emf and .wmf metafiles; gkNone for any other.
TrpGraphicKind GraphicKindOfFile(const QString& fileName);
