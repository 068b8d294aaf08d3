#include "app/main/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // The silo: a cylinder with a conical roof.
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 170, 90));
    p.drawRect(QRectF(5, 11, 16, 18));
    QPainterPath roof;
    roof.moveTo(4, 11);
    roof.lineTo(13, 3);
    roof.lineTo(22, 11);
    roof.closeSubpath();
    p.setBrush(QColor(150, 150, 160));
    p.drawPath(roof);

    // The thermometer beside it.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(24, 6, 4, 18), 2, 2);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(22.5, 22, 7, 7));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(25, 13, 2, 10));
    return pixmap;
}

} // namespace

QIcon LoadApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
