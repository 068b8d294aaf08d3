#pragma once
// The program's stored colours (0x00BBGGRR) as Qt colours.
#include "base/Colour.h"

#include <QColor>

inline QColor ToQColor(TColor colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& colour)
{
    return static_cast<TColor>(colour.red()) | static_cast<TColor>(colour.green()) << 8 |
           static_cast<TColor>(colour.blue()) << 16;
}
