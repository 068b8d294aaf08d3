#pragma once
// A report object's font as its records and scripts see it: name, size in points, style,
// colour and character set. The drawing code turns it into a QFont when it paints.
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

    QFont ToQFont() const
    {
        QFont font(Name);
        font.setPointSize(Size > 0 ? Size : 1);
        font.setBold(Style & fsBold);
        font.setItalic(Style & fsItalic);
        font.setUnderline(Style & fsUnderline);
        font.setStrikeOut(Style & fsStrikeOut);
        return font;
    }
};
