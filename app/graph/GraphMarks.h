#pragma once
// The point marks of the chart's series, drawn by style number as the settings keep it:
// 0 rectangle, 1 circle, 2 triangle, 3 down triangle, 4 cross, 5 diagonal cross, 6 star,
// 7 diamond, 8 small dot, 9 none, 10 left triangle, 11 right triangle.
#include <QColor>
#include <QImage>

enum TPointStyle : int {
    psRectangle = 0,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
    psNothing,
    psLeftTriangle,
    psRightTriangle,
};

// A style number the settings file may hold that names no style is drawn as a rectangle.
TPointStyle PointStyleOf(int number);
// The mark of a style in a colour, drawn larger than it is shown so that scaling keeps its
// edges; psNothing gives an empty (transparent) image.
QImage PointMarkImage(TPointStyle style, const QColor& colour);
