#pragma once
// Colours of report objects: 0x00BBGGRR, the system colours 0xFF000000 plus their index, and
// clTransparent (0x1FFFFFFF), "no fill".
#include <QColor>

#include "base/Colour.h"

inline constexpr TColor clTransparent = 0x1FFFFFFF;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBtnFace = 0xFF00000F;

// The colour to paint with. System colours take the classic desktop's defaults, so that a
// report looks the same on every machine.
QColor ReportQColor(TColor colour);
