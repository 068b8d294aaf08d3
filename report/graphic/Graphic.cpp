#include "report/graphic/Graphic.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include "report/graphic/Metafile.h"
#include "report/graphic/WindowsMetafile.h"

struct TrpGraphic::Decoded {
    QString Error;
    QSize Size;
    QImage Image;                         // raster kinds
    std::unique_ptr<QSvgRenderer> Svg;    // metafiles
};

namespace {

// The reader's format: a bitmap may be any raster image; icons and JPEG images only what they
// claim to be.
QByteArray ReaderFormat(TrpGraphicKind kind)
{
    switch (kind) {
    case gkIcon:
        return "ico";
    case gkJpeg:
        return "jpeg";
    default:
        return {};
    }
}

QString RasterError(QImageReader& reader)
{
    return QStringLiteral("изображение не читается: %1").arg(reader.errorString());
}

}  // namespace

TrpGraphic::TrpGraphic(TrpGraphicKind kind, QByteArray data)
    : kind_(data.isEmpty() ? gkNone : kind), data_(kind_ == gkNone ? QByteArray() : std::move(data))
{
}

const TrpGraphic::Decoded& TrpGraphic::Decoding() const
{
    if (decoded_)
        return *decoded_;
    auto d = std::make_shared<Decoded>();
    if (kind_ == gkNone) {
        d->Error = QStringLiteral("картинка пуста");
    } else if (data_.size() > kMaxGraphicBytes) {
        d->Error = QStringLiteral("картинка слишком велика: %1 байт").arg(data_.size());
    } else if (kind_ == gkMetafile) {
        // A metafile is an enhanced one or an old one with its placeable header.
        const bool old = IsWindowsMetafile(data_);
        const TrpMetafileInfo info = old ? InspectWindowsMetafile(data_) : InspectMetafile(data_);
        d->Error = info.Error;
        if (info.Valid) {
            d->Svg = std::make_unique<QSvgRenderer>(old ? WindowsMetafileToSvg(data_, info.Size) : MetafileToSvg(data_));
            if (d->Svg->isValid())
                d->Size = info.Size;
            else
                d->Error = QStringLiteral("метафайл не преобразуется");
        }
    } else {
        QBuffer buffer(const_cast<QByteArray*>(&data_));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, ReaderFormat(kind_));
        const QSize size = reader.size();
        if (!size.isValid()) {
            d->Error = RasterError(reader);
        } else if (qint64(size.width()) * size.height() > kMaxGraphicPixels) {
            d->Error = QStringLiteral("изображение слишком велико: %1 x %2").arg(size.width()).arg(size.height());
        } else if (!reader.read(&d->Image)) {
            d->Error = RasterError(reader);
        } else {
            d->Size = d->Image.size();
        }
    }
    if (!d->Error.isEmpty()) {
        d->Image = QImage();
        d->Svg.reset();
        d->Size = QSize();
    }
    decoded_ = std::move(d);
    return *decoded_;
}

bool TrpGraphic::Decode() const
{
    return Decoding().Error.isEmpty();
}

QString TrpGraphic::Error() const
{
    return Decoding().Error;
}

QSize TrpGraphic::Size() const
{
    return Decoding().Size;
}

void TrpGraphic::Draw(QPainter& painter, const QRect& target) const
{
    const Decoded& d = Decoding();
    if (d.Svg) {
        // A metafile may draw outside its frame, which shows nothing beyond it.
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        d.Svg->render(&painter, QRectF(target));
        painter.restore();
    }
    else if (!d.Image.isNull())
        painter.drawImage(target, d.Image);
}

TrpGraphicKind GraphicKindOfFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("bmp") || suffix == QLatin1String("png") || suffix == QLatin1String("gif"))
        return gkBitmap;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return gkJpeg;
    if (suffix == QLatin1String("ico"))
        return gkIcon;
    if (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf"))
        return gkMetafile;
    return gkNone;
}
