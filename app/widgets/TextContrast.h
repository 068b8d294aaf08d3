#pragma once
// Text that stays readable on any colour the board shows: black or white, whichever stands out
// more from the background by the contrast ratio of the web accessibility guidelines (1 for equal
// colours, 21 for black on white). The better of the two is at least 4.58 on every colour.
#include <QColor>

// The relative luminance of an sRGB colour, from 0 (black) to 1 (white).
double RelativeLuminance(const QColor& colour);
// (lighter + 0.05) / (darker + 0.05).
double ContrastRatio(const QColor& a, const QColor& b);
// Black or white, whichever contrasts more with the background.
QColor ReadableTextColour(const QColor& background);
