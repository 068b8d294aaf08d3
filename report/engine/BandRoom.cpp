#include "report/engine/BandRoom.h"

#include <algorithm>
#include <array>

#include <QLocale>

#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"

namespace {

// Page units to millimetres as the printer geometry converts them, to one decimal.
QString Millimetres(int units)
{
    return QLocale(QLocale::Russian).toString(units * kTenthsMmPerInch / kPageUnitsPerInch / 10, 'f', 1);
}

}  // namespace

int BandsHeight(const TrpPage& page)
{
    std::array<int, kBandTypeCount> tallest{};
    bool headerOnFirstPage = false;
    for (const auto& object : page.Objects) {
        const auto* band = dynamic_cast<const TrpBandView*>(object.get());
        if (!band || band->FrameTyp >= kBandTypeCount)
            continue;
        int& height = tallest[band->FrameTyp];
        height = std::max(height, band->Height);
        if (band->FrameTyp == btPageHeader && (band->Flags & bfOnFirstPage))
            headerOnFirstPage = true;
    }
    const auto furniture = [](int type) {
        return type == btReportTitle || type == btPageHeader || type == btPageFooter || type == btColumnHeader ||
               type == btColumnFooter || type == btOverlay || type == btNone || IsCrossBand(type);
    };
    int flowing = 0;
    for (int type = 0; type < kBandTypeCount; ++type)
        if (!furniture(type))
            flowing = std::max(flowing, tallest[type]);
    const int firstPage =
        tallest[btReportTitle] + (headerOnFirstPage ? tallest[btPageHeader] : 0) + tallest[btColumnHeader];
    const int laterPage = tallest[btPageHeader] + tallest[btColumnHeader] + flowing + tallest[btColumnFooter];
    return tallest[btPageFooter] + std::max(firstPage, laterPage);
}

QString BandsRoomRefusal(const TrpReport& report, const TPaperGeometry& sheet, const std::optional<QMargins>& margins)
{
    for (const auto& page : report.Pages) {
        if (page->Type != ptReport || !page->Visible)
            continue;
        const int room = margins ? page->RoomHeight(sheet, margins->top(), margins->bottom())
                                 : page->RoomHeight(sheet, page->TopMargin, page->BottomMargin);
        const int needed = BandsHeight(*page);
        if (room < needed)
            return QStringLiteral("Полосы страницы «%1» не помещаются на листе: им нужно %2 мм в высоту, "
                                  "а на листе есть %3 мм")
                .arg(page->Name, Millimetres(needed), Millimetres(std::max(room, 0)));
    }
    return {};
}
