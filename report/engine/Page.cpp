#include "report/engine/Page.h"

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

int TrpPage::RightLimit() const
{
    const TPaperGeometry& g = PaperGeometry;
    if (!MarginsOn)
        return g.PageWidth;
    return RightMargin != 0 ? g.PageWidth - RightMargin : g.OffsetX + g.PrintWidth;
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

void TrpPage::PrintBand(TrpBand* band)
{
    // Printing a band at the current position is the page build's work; a page that is not
    // being built has no bands to print.
    (void)band;
}
