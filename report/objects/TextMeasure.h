#pragma once
// Widths of report text in whole device pixels, as the layout counts them: the sum of the
// characters' advances plus the character extra after every character. Report fonts are fully
// hinted and unkerned (ReportFont.h), so this is also the width the text is drawn with.
#include <array>
#include <cstdint>

#include <QFont>
#include <QFontMetrics>
#include <QStringView>

class QPaintDevice;

class TrpTextMeasure {
public:
    TrpTextMeasure(const QFont& font, const QPaintDevice* device, int charExtra = 0);

    int Width(QStringView text) const;
    int CharWidth(QChar c) const;
    int Ascent() const { return metrics_.ascent(); }
    int CharExtra() const { return charExtra_; }

private:
    QFontMetrics metrics_;
    int charExtra_;
    // Advances of the Latin and Cyrillic characters, measured once each (-1: not yet).
    mutable std::array<int16_t, 0x500> advances_;
};
