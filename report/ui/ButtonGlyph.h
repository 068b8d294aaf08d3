#pragma once
// The picture of a speed button: one bitmap holding one to four images side by side (up,
// disabled, pressed, held down), and the image drawn in each drawing state, made on first use
// and kept until the bitmap changes. The bitmap's transparent colour is its bottom-left pixel.
#include <array>

#include <QColor>
#include <QImage>

// The drawing states of a speed button.
enum TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3, bsInactive = 4 };

// The system colours the images are made with.
struct TGlyphColours {
    QColor ButtonFace;
    QColor Highlight;
    QColor Shadow;
};

class TButtonGlyph {
public:
    const QImage& Glyph() const { return glyph_; }
    // Takes a copy; a bitmap whose width is a whole multiple of its height holds that many
    // images when there are fewer than 5, else one; any other width keeps the count.
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    // 1 to 4; larger counts become 4.
    void SetNumGlyphs(int count);
    bool IsEmpty() const { return glyph_.isNull(); }
    QSize ImageSize() const;

    // The image drawn in a state, with transparent pixels where the bitmap has its transparent
    // colour. Up, pressed and held down: the bitmap's image of that index (image 0 when the
    // bitmap has too few). Disabled: the bitmap's own disabled image with white, grey and the
    // transparent colour turned into highlight, shadow and button face; without one, the up
    // image's dark pixels embossed. Greyed: the up image in grey tones.
    const QImage& Image(TButtonState state, const TGlyphColours& colours);
    // Drops the images made (the colours they were made with changed).
    void FreeImages();

private:
    QImage Source(int index) const;

    QImage glyph_;
    QRgb transparent_ = 0;
    int numGlyphs_ = 1;
    std::array<QImage, 5> images_;
};

// The grey tone of a colour: (red x 77 + green x 150 + blue x 29) / 256, in all three channels.
QRgb GreyTone(QRgb colour);
