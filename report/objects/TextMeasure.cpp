#include "report/objects/TextMeasure.h"

#include <QPaintDevice>

#include "report/objects/ReportFont.h"

namespace {

// Zooms and spacings a run goes through each give measures of their own: past this many the
// measures are made afresh (the advance tables stay).
constexpr qsizetype kMaxMeasures = 1024;

std::shared_ptr<TrpTextMeasure::TAdvances> NewAdvances()
{
    auto advances = std::make_shared<TrpTextMeasure::TAdvances>();
    advances->fill(-1);
    return advances;
}

}  // namespace

TrpTextMeasure::TrpTextMeasure(const QFont& font, const QPaintDevice* device, int charExtra,
                               std::shared_ptr<TAdvances> advances)
    : metrics_(font, device), charExtra_(charExtra), advances_(advances ? std::move(advances) : NewAdvances())
{
}

int TrpTextMeasure::CharWidth(QChar c) const
{
    const char16_t code = c.unicode();
    if (code >= advances_->size())
        return metrics_.horizontalAdvance(c) + charExtra_;
    int16_t& advance = (*advances_)[code];
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

TrpTextMeasure TrpTextMeasures::Measure(const TrpFont& font, int pixelHeight, const QPaintDevice* device,
                                        int charExtra)
{
    // Advances depend on the device's resolution and kind too (printers measure unhinted).
    const int dpi = device->logicalDpiY();
    const int deviceType = device->devType();
    const TKey& l = lastKey_;
    if (last_ && l.pixelHeight == pixelHeight && l.style == font.Style && l.dpi == dpi &&
        l.deviceType == deviceType && l.charExtra == charExtra && l.family == font.Name)
        return *last_;
    TKey key{font.Name, pixelHeight, font.Style, dpi, deviceType, charExtra};
    auto known = measures_.constFind(key);
    if (known == measures_.cend()) {
        key.charExtra = 0;
        std::shared_ptr<TrpTextMeasure::TAdvances>& table = tables_[key];
        if (!table)
            table = NewAdvances();
        key.charExtra = charExtra;
        if (measures_.size() >= kMaxMeasures)
            measures_.clear();
        known = measures_.insert(key, TrpTextMeasure(ReportQFont(font, pixelHeight), device, charExtra, table));
    }
    lastKey_ = std::move(key);
    last_ = *known;
    return *last_;
}

size_t qHash(const TrpTextMeasures::TKey& key, size_t seed)
{
    return qHashMulti(seed, key.family, key.pixelHeight, key.style, key.dpi, key.deviceType, key.charExtra);
}
