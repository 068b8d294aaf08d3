#include "app/board/SiloCellGeometry.h"

#include <algorithm>

namespace {

constexpr int kMinRowHeight = 18;
constexpr int kContentLeftMargin = 4;

} // namespace

int SiloRowHeight(int sensorCount, int bandHeight)
{
    const int step = std::max(sensorCount, 1);
    int height = sensorCount * bandHeight + 2;
    while (height < kMinRowHeight)
        height += step;
    return height;
}

QRect CellContentRect(const QRect& cell)
{
    return QRect(cell.left() + kContentLeftMargin, cell.top(), cell.width() - kContentLeftMargin - 1,
        cell.height() - 1);
}

QRect SensorBandRect(const QRect& content, int sensorCount, int k)
{
    if (sensorCount <= 0)
        return {};
    const int b = content.height() / sensorCount;
    const int top = content.top() + 1 + k * b;
    const int bottom = content.top() + (k + 1) * b - 1;
    if (bottom < top)
        return {};
    return QRect(QPoint(content.left(), top), QPoint(content.right(), bottom));
}

QRect SelectionMarkerRect(const QRect& cell, const QRect& content)
{
    return QRect(QPoint(cell.left() + 1, cell.top() + 1), QPoint(content.left() + 2, cell.bottom() - 1));
}

QString ShortSiloName(const QString& name)
{
    return name.size() > 4 ? name.left(3) + QStringLiteral("..") : name;
}
