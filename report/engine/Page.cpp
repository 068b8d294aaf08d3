#include "report/engine/Page.h"

#include "base/Exception.h"
#include "report/engine/Report.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kMaxDefaultPageNumber = 10000;

}  // namespace

TrpPage::TrpPage(TrpReport& report, int size, int width, int height, int bin, uint8_t orientation)
{
    Report = &report;
    Name = DefaultName();
    ApplyPaper(size, width, height, bin, orientation);
}

QString TrpPage::DefaultName() const
{
    const auto taken = [this](const QString& name) {
        for (const auto& page : Report->Pages)
            if (page.get() != this && page->Name.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (int i = 1; i <= kMaxDefaultPageNumber; ++i) {
        const QString name = QStringLiteral("Page%1").arg(i);
        if (!taken(name))
            return name;
    }
    return {};
}

void TrpPage::ApplyPaper(int size, int width, int height, int bin, uint8_t orientation)
{
    TrpPrinter& printer = Context().ReportPrinter;
    try {
        printer.SetPaper(size, width, height, bin, orientation, false);
        printer.FillPaperGeometry(PaperGeometry);
    } catch (const Exception&) {
        printer.SetPaper(kCustomPaper, width, height, -1, orientation, false);
        printer.FillPaperGeometry(PaperGeometry);
    }
    Size = printer.PaperSize;
    PaperWidth = printer.PaperWidth;
    PaperHeight = printer.PaperHeight;
    Orientation = printer.Orientation;
    PaperBin = IsDefaultBin(bin) ? kDefaultBin : printer.PaperBin;
}

int TrpPage::TopLimitOn(const TPaperGeometry& sheet, int topMargin) const
{
    if (!MarginsOn)
        return 0;
    return topMargin != 0 ? topMargin : sheet.OffsetY;
}

int TrpPage::SheetBottomOn(const TPaperGeometry& sheet, int bottomMargin) const
{
    if (!MarginsOn)
        return sheet.PageHeight;
    return bottomMargin != 0 ? sheet.PageHeight - bottomMargin : sheet.OffsetY + sheet.PrintHeight;
}

int TrpPage::TopLimit() const
{
    return TopLimitOn(PaperGeometry, TopMargin);
}

int TrpPage::BottomLimit() const
{
    int limit = SheetBottomOn(PaperGeometry, BottomMargin);
    const TrpBand* footer = Bands[btPageFooter];
    if (footer && Context().PrintModeFlag)
        limit -= footer->Height;
    return limit;
}

int TrpPage::RoomHeight(const TPaperGeometry& sheet, int topMargin, int bottomMargin) const
{
    return SheetBottomOn(sheet, bottomMargin) - TopLimitOn(sheet, topMargin);
}

int TrpPage::LeftLimit() const
{
    if (!MarginsOn)
        return 0;
    return LeftMargin != 0 ? LeftMargin : PaperGeometry.OffsetX;
}

int TrpPage::RightLimit() const
{
    const TPaperGeometry& g = PaperGeometry;
    if (!MarginsOn)
        return g.PageWidth;
    return RightMargin != 0 ? g.PageWidth - RightMargin : g.OffsetX + g.PrintWidth;
}

TrpView* TrpPage::AddObject(std::unique_ptr<TrpView> object)
{
    object->Report = Report;
    Objects.push_back(std::move(object));
    return Objects.back().get();
}

TrpView* TrpPage::FindObject(const QString& name) const
{
    for (const auto& object : Objects)
        if (object->Name.compare(name, Qt::CaseInsensitive) == 0)
            return object.get();
    return nullptr;
}

void TrpPage::DeleteObject(int index)
{
    if (index < 0 || size_t(index) >= Objects.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    Objects.erase(Objects.begin() + index);
}

void TrpPage::Clear()
{
    Objects.clear();
}

TrpBand* TrpPage::FindBandByName(const QString& name) const
{
    for (TrpBand* band : Bands)
        for (; band; band = band->Next)
            if (band->View && band->View->Name.compare(name, Qt::CaseInsensitive) == 0)
                return band;
    return nullptr;
}

void TrpPage::PrintBandByName(const QString& name)
{
    PrintBand(FindBandByName(name));
}
