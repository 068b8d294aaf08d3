#pragma once
// A report object's font as its records and scripts see it (name, size in points, style,
// colour, character set), and the one place where report text gets its Qt font: everything
// that measures or draws report text builds its QFont here.
//
// Templates name Windows fonts; "Arial", "Times New Roman" and "Courier New" resolve to the
// metric-compatible Liberation families, so that lines break where they break for a user of the
// original fonts. Fonts are fully hinted: a text's width is then the sum of its characters'
// whole-pixel advances on every machine, as measuring and drawing both assume.
#include <cstdint>

#include <QFont>
#include <QString>

#include "report/file/StreamPrimitives.h"

struct TrpFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10;                // points
    TFontStyles Style = 0;        // bold first, italic second (FontStyleFromFr converts)
    uint32_t Color = 0;           // 0x00BBGGRR
    int Charset = 1;              // the engine's default character set

    bool operator==(const TrpFont&) const = default;
};

// The family that stands in for a Windows font family here; other names stay as they are.
QString ReportFontFamily(const QString& name);

// The font's character height (em height) in pixels of the 96-DPI measuring device, as the
// engine's layout counts it: Round(size x 96 / 72), or truncated when scaled by a zoom other
// than 1.
int FontPixelHeight(int points, double zoom = 1.0);

// The Qt font for report text of that font at a character height in device pixels. A height
// below 1 pixel gives a 1-pixel font (the layout still counts the height it was given).
QFont ReportQFont(const TrpFont& font, int pixelHeight);
