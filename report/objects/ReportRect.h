#pragma once
// A rectangle as the report's drawing counts it: Right and Bottom lie just outside it, so
// Right - Left is its width.
#include <QRect>

struct TrpRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    bool operator==(const TrpRect&) const = default;
};
