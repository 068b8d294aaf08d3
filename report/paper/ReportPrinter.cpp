#include "report/paper/ReportPrinter.h"

#include <algorithm>
#include <cstdlib>

#include "base/Rounding.h"
#include "report/paper/PaperTable.h"
#include "report/paper/PlatformPrinter.h"
#include "report/runtime/Locale.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kVirtualPrinterText = 55007;
constexpr int kDefaultBinText = 55435;
constexpr int kInvalidPrinterText = 55210;
constexpr const char* kDefaultBinName = "Default source";
// The most papers and sources a printer's lists keep (the default source counts as one).
constexpr size_t kMaxPapers = 256;
constexpr size_t kMaxBins = 64;
// The virtual printer leaves 5 mm unprinted on every side.
constexpr int kVirtualBorder = 50;

int TenthsToPageUnits(int tenths)
{
    return int(Round(tenths * kPageUnitsPerInch / kTenthsMmPerInch));
}

int PixelsToPageUnits(int pixels, int dpi)
{
    return dpi > 0 ? int(Round(kPageUnitsPerInch / dpi * pixels)) : 0;
}

QString TextOr(const TrpLocale& locale, int id, const char* fallback)
{
    const QString text = locale.LoadString(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

}  // namespace

TrpPrinter::TrpPrinter(const TrpLocale& locale)
{
    Localize(locale);
}

void TrpPrinter::Localize(const TrpLocale& locale)
{
    tableNames_.clear();
    const auto table = PaperTable();
    for (size_t i = 0; i < table.size(); ++i)
        tableNames_.append(TextOr(locale, kFirstPaperNameText + int(i), table[i].Name));
    virtualName_ = TextOr(locale, kVirtualPrinterText, "Virtual printer");
    defaultBinName_ = TextOr(locale, kDefaultBinText, kDefaultBinName);
    invalidPrinterText_ = locale.LoadString(kInvalidPrinterText);
    if (!Printers.isEmpty())
        Printers.last() = virtualName_;
    if (IsVirtual() && !Printers.isEmpty())
        PaperNames = tableNames_;
    // The printer's own sources keep their names; the first entry is the default one.
    if (!BinNames.isEmpty())
        BinNames.front() = defaultBinName_;
}

void TrpPrinter::AttachPrinter(TrpPlatformPrinter* printer)
{
    Printers.clear();
    CurrentIndex = 0;
    platform_ = printer;
    hasDeviceSettings_ = false;
    if (platform_) {
        Printers = platform_->PrinterNames();
        CurrentIndex = std::max<int>(0, Printers.indexOf(platform_->CurrentPrinter()));
    }
    const bool installed = !Printers.isEmpty();
    Printers.append(virtualName_);
    VirtualIndex = int(Printers.size()) - 1;
    if (!installed)
        ApplyDeviceMode();
    else
        ReadSettings();
}

void TrpPrinter::ChoosePrinter(int index)
{
    if (index == CurrentIndex)
        return;
    if (index < 0 || index >= Printers.size())
        throw EPrinter(invalidPrinterText_);
    CurrentIndex = index;
    if (IsVirtual()) {
        ApplyDeviceMode();
    } else if (platform_) {
        platform_->SelectPrinter(Printers[index]);
        ReadSettings();
    }
}

void TrpPrinter::ReadSettings()
{
    std::optional<TrpDeviceSettings> settings;
    if (platform_) {
        try {
            settings = platform_->ReadSettings();
        } catch (const Exception&) {
            settings.reset();
        }
    }
    hasDeviceSettings_ = settings.has_value();
    if (settings)
        TakeSettings(*settings);
    else
        ChoosePrinter(VirtualIndex);
}

void TrpPrinter::TakeSettings(const TrpDeviceSettings& settings)
{
    PaperSize = settings.PaperSize;
    PaperWidth = settings.PaperWidth;
    PaperHeight = settings.PaperHeight;
    Orientation = settings.Orientation == poPortrait ? poPortrait : poLandscape;
    PaperIds.clear();
    PaperNames.clear();
    for (const TrpDeviceItem& paper : settings.Papers) {
        if (PaperIds.size() == kMaxPapers)
            break;
        PaperIds.push_back(paper.Id);
        PaperNames.append(paper.Name);
    }
    PaperBin = settings.PaperBin;
    BinIds = {-1};
    BinNames = {defaultBinName_};
    for (const TrpDeviceItem& bin : settings.Bins) {
        if (BinIds.size() == kMaxBins)
            break;
        BinIds.push_back(bin.Id);
        BinNames.append(bin.Name);
    }
}

void TrpPrinter::Refresh()
{
    if (IsVirtual())
        ApplyDeviceMode();
    else
        ReadSettings();
}

void TrpPrinter::ApplyDeviceMode()
{
    if (IsVirtual() || !platform_) {
        ApplyVirtualPaper();
        return;
    }
    platform_->WriteSettings(DeviceMode());
    ReadSettings();
}

TrpDeviceMode TrpPrinter::DeviceMode() const
{
    TrpDeviceMode mode;
    mode.PaperSize = PaperSize;
    mode.PaperWidth = PaperWidth;
    mode.PaperHeight = PaperHeight;
    mode.Orientation = Orientation;
    mode.PaperBin = PaperBin;
    return mode;
}

void TrpPrinter::ApplyVirtualPaper()
{
    PaperIds.clear();
    for (const TPaperInfo& paper : PaperTable())
        PaperIds.push_back(paper.Id);
    PaperNames = tableNames_;
    // The virtual printer has no sources of its own.
    BinIds = {-1};
    BinNames = {defaultBinName_};
    const TPaperInfo* paper = PaperSize != kCustomPaper ? FindPaper(PaperSize) : nullptr;
    if (!paper)
        return;
    const bool landscape = Orientation == poLandscape;
    PaperWidth = landscape ? paper->Height : paper->Width;
    PaperHeight = landscape ? paper->Width : paper->Height;
}

bool TrpPrinter::IsEqualPaper(int size, int width, int height, int bin, int orientation) const
{
    if (size != PaperSize || orientation != Orientation)
        return false;
    if (size == kCustomPaper)
        return std::abs(width - PaperWidth) <= 1 && std::abs(height - PaperHeight) <= 1;
    return bin == PaperBin || IsDefaultBin(bin);
}

void TrpPrinter::SetPaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation, bool force)
{
    if (platform_ && platform_->Printing())
        return;
    if (!force && IsEqualPaper(paperSize, paperWidth, paperHeight, bin, orientation))
        return;
    const TrpDeviceMode had = DeviceMode();
    StorePaper(paperSize, paperWidth, paperHeight, bin, orientation);
    try {
        ApplyDeviceMode();
    } catch (const Exception&) {
        // A paper the printer refuses is not its paper: the one it kept stays current.
        StorePaper(had.PaperSize, had.PaperWidth, had.PaperHeight, had.PaperBin, had.Orientation);
        throw;
    }
}

bool TrpPrinter::HasSheet(int paperSize, int paperWidth, int paperHeight) const
{
    if (paperSize == kCustomPaper)
        return paperWidth > 0 && paperHeight > 0;
    return std::find(PaperIds.begin(), PaperIds.end(), paperSize) != PaperIds.end();
}

void TrpPrinter::SetJobPaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation)
{
    StorePaper(paperSize, paperWidth, paperHeight, bin, orientation);
    ApplyDeviceMode();
    // The virtual printer's file is the platform's while its job runs.
    if (IsVirtual() && platform_)
        platform_->WriteSettings(DeviceMode());
}

void TrpPrinter::StorePaper(int paperSize, int paperWidth, int paperHeight, int bin, int orientation)
{
    PaperSize = paperSize;
    // A paper asked for by id alone keeps the sheet's size until the printer gives its own:
    // a new page on a paper the virtual printer does not know is not a sheet of nothing.
    if (paperSize == kCustomPaper || (paperWidth > 0 && paperHeight > 0)) {
        PaperWidth = paperWidth;
        PaperHeight = paperHeight;
    }
    PaperBin = bin;
    Orientation = orientation == poPortrait ? poPortrait : poLandscape;
}

void TrpPrinter::FillPaperGeometry(TPaperGeometry& g) const
{
    // While the virtual printer prints, its file is a device with metrics of its own.
    if (!platform_ || (IsVirtual() && !platform_->Printing())) {
        g.PageWidth = TenthsToPageUnits(PaperWidth);
        g.PageHeight = TenthsToPageUnits(PaperHeight);
        g.OffsetX = g.OffsetY = TenthsToPageUnits(kVirtualBorder);
        g.PrintWidth = g.PageWidth - 2 * g.OffsetX;
        g.PrintHeight = g.PageHeight - 2 * g.OffsetY;
        return;
    }
    const TrpDeviceMetrics m = platform_->Metrics();
    g.DevicePageWidth = m.PhysicalWidth;
    g.PageWidth = PixelsToPageUnits(m.PhysicalWidth, m.DpiX);
    g.DevicePageHeight = m.PhysicalHeight;
    g.PageHeight = PixelsToPageUnits(m.PhysicalHeight, m.DpiY);
    g.DeviceOffsetX = m.OffsetX;
    g.OffsetX = PixelsToPageUnits(m.OffsetX, m.DpiX);
    g.DeviceOffsetY = m.OffsetY;
    g.OffsetY = PixelsToPageUnits(m.OffsetY, m.DpiY);
    g.DevicePrintWidth = m.PrintWidth;
    g.PrintWidth = PixelsToPageUnits(m.PrintWidth, m.DpiX);
    g.DevicePrintHeight = m.PrintHeight;
    g.PrintHeight = PixelsToPageUnits(m.PrintHeight, m.DpiY);
}

void StartReportPrinter(TrpRunContext& context)
{
    TrpPrinter& printer = context.ReportPrinter;
    try {
        printer.AttachPrinter(context.PlatformPrinter.get());
        if (!printer.HasDeviceSettings()) {
            printer.ChoosePrinter(printer.VirtualIndex);
            printer.PaperSize = -1;
        }
    } catch (const std::exception&) {
        // A printer that fails at start-up leaves the report printer as far as it got.
    }
    context.DefaultPaperSize = printer.PaperSize;
    context.PrinterReady = true;
}
