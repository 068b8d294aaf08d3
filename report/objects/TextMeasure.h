#pragma once
// Widths of report text in whole device pixels, as the layout counts them: the sum of the
// characters' advances plus the character extra after every character. Report fonts are fully
// hinted and unkerned (ReportFont.h), so this is also the width the text is drawn with.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <QStringView>

class QPaintDevice;

class TrpTextMeasure {
public:
    // Advances of the Latin and Cyrillic characters, measured on first use (-1: not yet).
    using TAdvances = std::array<int16_t, 0x500>;

    // Measures with a table of its own, or with one shared by every measure of that font.
    TrpTextMeasure(const QFont& font, const QPaintDevice* device, int charExtra = 0,
                   std::shared_ptr<TAdvances> advances = nullptr);

    int Width(QStringView text) const;
    int CharWidth(QChar c) const;
    int Ascent() const { return metrics_.ascent(); }
    int CharExtra() const { return charExtra_; }

private:
    QFontMetrics metrics_;
    int charExtra_;
    std::shared_ptr<TAdvances> advances_;
};

struct TrpFont;

// The measures of the report fonts used so far and their advance tables, kept by the run
// context, so that a font is resolved and a character of it measured once in a run however
// many objects measure with it.
class TrpTextMeasures {
public:
    // The report font at a character height in pixels of the device.
    TrpTextMeasure Measure(const TrpFont& font, int pixelHeight, const QPaintDevice* device, int charExtra);

    struct TKey {
        QString family;
        int pixelHeight, style, dpi, deviceType;
        int charExtra = 0;   // 0 for the advance tables, which every character extra shares
        bool operator==(const TKey&) const = default;
    };

private:
    QHash<TKey, std::shared_ptr<TrpTextMeasure::TAdvances>> tables_;
    QHash<TKey, TrpTextMeasure> measures_;
    // The measure given last, which the next object most often asks for again.
    TKey lastKey_{};
    std::optional<TrpTextMeasure> last_;
};

size_t qHash(const TrpTextMeasures::TKey& key, size_t seed = 0);
