#include "app/widgets/TextContrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(const QColor& colour)
{
    return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) + 0.0722 * Linear(colour.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextColour(const QColor& background)
{
    // Black wins while (L + 0.05) / 0.05 >= 1.05 / (L + 0.05).
    const double shifted = RelativeLuminance(background) + 0.05;
    return shifted * shifted >= 1.05 * 0.05 ? QColor(Qt::black) : QColor(Qt::white);
}
