#include "report/objects/ReportFont.h"

#include <cmath>

#include "base/Rounding.h"
#include "report/runtime/LayoutDpi.h"

namespace {

struct TFamilySubstitute {
    const char* windows;
    const char* here;
};

constexpr TFamilySubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

}  // namespace

QString ReportFontFamily(const QString& name)
{
    for (const TFamilySubstitute& s : kSubstitutes)
        if (name.compare(QLatin1String(s.windows), Qt::CaseInsensitive) == 0)
            return QLatin1String(s.here);
    return name;
}

int FontPixelHeight(int points, double zoom)
{
    const double pixels = points * double(kLayoutDpi) / 72.0 * zoom;
    return zoom == 1.0 ? int(Round(pixels)) : int(std::trunc(pixels));
}

QFont ReportQFont(const TrpFont& font, int pixelHeight)
{
    QFont q;
    // The template's own name stays second, for a machine that has it and not the stand-in.
    q.setFamilies({ReportFontFamily(font.Name), font.Name});
    q.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
    q.setBold(font.Style & fsBold);
    q.setItalic(font.Style & fsItalic);
    q.setUnderline(font.Style & fsUnderline);
    q.setStrikeOut(font.Style & fsStrikeOut);
    q.setKerning(false);
    q.setHintingPreference(QFont::PreferFullHinting);
    return q;
}
