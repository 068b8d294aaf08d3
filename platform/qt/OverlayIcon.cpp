#include "platform/qt/OverlayIcon.h"

#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QSize>

#include <algorithm>

namespace {

constexpr int kStandardSizes[] = {16, 32, 48};

QList<QSize> SizesOf(const QIcon& base)
{
    QList<QSize> sizes = base.availableSizes();
    if (sizes.isEmpty())
        for (int side : kStandardSizes)
            sizes.append(QSize(side, side));
    return sizes;
}

// The icon's image at exactly this size: icons give their nearest smaller image unscaled.
QPixmap PixmapOfSize(const QIcon& icon, const QSize& size)
{
    QPixmap pixmap = icon.pixmap(size);
    if (!pixmap.isNull() && pixmap.size() != size)
        pixmap = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}

QPixmap Compose(const QIcon& base, const QIcon& overlay, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.drawPixmap(0, 0, PixmapOfSize(base, size));
    // Half the icon, as on Windows, but never so small that the colour cannot be told.
    const int side = std::max(8, std::min(size.width(), size.height()) / 2);
    const QRect corner(size.width() - side, size.height() - side, side, side);
    painter.drawPixmap(corner.topLeft(), PixmapOfSize(overlay, corner.size()));
    return pixmap;
}

QPixmap Mark(const QColor& colour, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal rim = std::max(1.0, side / 16.0);
    painter.setPen(QPen(colour.darker(160), rim));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(rim / 2, rim / 2, side - rim, side - rim));
    return pixmap;
}

} // namespace

QIcon ComposeOverlayIcon(const QIcon& base, const QIcon& overlay)
{
    if (overlay.isNull())
        return base;
    QIcon composed;
    for (const QSize& size : SizesOf(base))
        composed.addPixmap(Compose(base, overlay, size));
    return composed;
}

QIcon StateMarkIcon(const QColor& colour)
{
    QIcon icon;
    for (int side : kStandardSizes)
        icon.addPixmap(Mark(colour, side));
    return icon;
}
