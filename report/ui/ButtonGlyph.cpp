#include "report/ui/ButtonGlyph.h"

#include <algorithm>

namespace {

bool SameColour(QRgb a, QRgb b)
{
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

// The pixels the embossed disabled image is made from: darker than the middle grey.
bool IsDark(QRgb pixel)
{
    return qRed(GreyTone(pixel)) < 128;
}

} // namespace

QRgb GreyTone(QRgb colour)
{
    const int grey = (qRed(colour) * 77 + qGreen(colour) * 150 + qBlue(colour) * 29) >> 8;
    return qRgba(grey, grey, grey, qAlpha(colour));
}

void TButtonGlyph::SetGlyph(const QImage& glyph)
{
    FreeImages();
    glyph_ = glyph.convertToFormat(QImage::Format_ARGB32);
    if (glyph_.isNull())
        return;
    transparent_ = glyph_.pixel(0, glyph_.height() - 1);
    if (glyph_.width() % glyph_.height() == 0) {
        const int count = glyph_.width() / glyph_.height();
        numGlyphs_ = count < 5 ? count : 1;
    }
}

void TButtonGlyph::SetNumGlyphs(int count)
{
    count = std::clamp(count, 1, 4);
    if (count == numGlyphs_)
        return;
    numGlyphs_ = count;
    FreeImages();
}

QSize TButtonGlyph::ImageSize() const
{
    return glyph_.isNull() ? QSize() : QSize(glyph_.width() / numGlyphs_, glyph_.height());
}

void TButtonGlyph::FreeImages()
{
    images_.fill(QImage());
}

QImage TButtonGlyph::Source(int index) const
{
    const QSize size = ImageSize();
    if (index >= numGlyphs_)
        index = 0;
    return glyph_.copy(index * size.width(), 0, size.width(), size.height());
}

const QImage& TButtonGlyph::Image(TButtonState state, const TGlyphColours& colours)
{
    QImage& image = images_[state];
    if (!image.isNull() || glyph_.isNull())
        return image;
    const QRgb face = colours.ButtonFace.rgb();
    const bool ownDisabled = state == bsDisabled && numGlyphs_ > 1;
    if (state == bsDisabled && !ownDisabled) {
        const QImage up = Source(0);
        image = QImage(up.size(), QImage::Format_ARGB32);
        image.fill(face);
        for (const auto& [dx, colour] : {std::pair{1, colours.Highlight.rgb()}, std::pair{0, colours.Shadow.rgb()}})
            for (int y = 0; y < up.height(); ++y)
                for (int x = 0; x < up.width(); ++x) {
                    const QRgb pixel = up.pixel(x, y);
                    if (!SameColour(pixel, transparent_) && qAlpha(pixel) != 0 && IsDark(pixel) &&
                        x + dx < image.width() && y + dx < image.height())
                        image.setPixel(x + dx, y + dx, colour);
                }
        return image;
    }
    image = Source(state == bsInactive ? 0 : state);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QRgb& pixel = line[x];
            const bool transparent = SameColour(pixel, transparent_) || qAlpha(pixel) == 0;
            if (ownDisabled) {
                if (transparent)
                    pixel = face;
                else if (SameColour(pixel, 0xFFFFFF))
                    pixel = colours.Highlight.rgb();
                else if (SameColour(pixel, 0x808080))
                    pixel = colours.Shadow.rgb();
            } else if (transparent) {
                pixel = 0;
            } else if (state == bsInactive && !SameColour(pixel, face)) {
                pixel = GreyTone(pixel);
            }
        }
    }
    return image;
}
