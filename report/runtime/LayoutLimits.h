#pragma once
// What the engine can lay out. Positions, sizes, counts and spacings read from templates and
// prepared pages, or set by a report's script, are refused outside these bounds (EOutOfRange), so
// that every sum and product of them in layout, measuring, line breaking, drawing and export
// stays far inside int.
#include <cstdint>

// Positions and sizes of objects, margins, gaps, column widths and gaps, frame widths: a thousand
// pages' width either way.
constexpr int kMaxPageUnits = 1'000'000;
// Extra room between lines or between characters, page units: about a page.
constexpr int kMaxSpacing = 1000;
// Columns of a page or a band.
constexpr int kMaxColumns = 100;
// Font sizes in points (either sign).
constexpr int kMaxFontPoints = 1638;
// Paper widths and heights in tenths of a millimetre: 100 m.
constexpr int kMaxPaperTenths = 1'000'000;

// The value when it lies within low to high; EOutOfRange naming what it is otherwise.
int InLayoutRange(int64_t value, int low, int high, const char* what);
// The same for a fractional value; not a number is refused too.
double InLayoutRange(double value, double low, double high, const char* what);

inline int CheckedPageUnits(int64_t value, const char* what)
{
    return InLayoutRange(value, -kMaxPageUnits, kMaxPageUnits, what);
}

inline int CheckedFontSize(int64_t points)
{
    return InLayoutRange(points, -kMaxFontPoints, kMaxFontPoints, "Font.Size");
}

// Frame widths are fractional page units, never negative.
inline float CheckedFrameWidth(double width)
{
    return float(InLayoutRange(width, 0.0, double(kMaxPageUnits), "FrameWidth"));
}
