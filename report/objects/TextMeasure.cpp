#include "report/objects/TextMeasure.h"

#include <QPaintDevice>

TrpTextMeasure::TrpTextMeasure(const QFont& font, const QPaintDevice* device, int charExtra)
    : metrics_(font, device), charExtra_(charExtra)
{
    advances_.fill(-1);
}

int TrpTextMeasure::CharWidth(QChar c) const
{
    const char16_t code = c.unicode();
    if (code >= advances_.size())
        return metrics_.horizontalAdvance(c) + charExtra_;
    int16_t& advance = advances_[code];
    if (advance < 0)
        advance = int16_t(metrics_.horizontalAdvance(c));
    return advance + charExtra_;
}

int TrpTextMeasure::Width(QStringView text) const
{
    int width = 0;
    for (const QChar c : text)
        width += CharWidth(c);
    return width;
}
