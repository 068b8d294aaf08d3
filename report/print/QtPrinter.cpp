#include "report/print/QtPrinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

#include "base/Rounding.h"
#include "report/paper/PaperTable.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// Windows source ids of Qt's paper sources.
struct TSourceId {
    QPrinter::PaperSource Source;
    int Id;
};
constexpr TSourceId kSources[] = {
    {QPrinter::OnlyOne, 1},       {QPrinter::Lower, 2},          {QPrinter::Middle, 3},
    {QPrinter::Manual, 4},        {QPrinter::Envelope, 5},       {QPrinter::EnvelopeManual, 6},
    {QPrinter::Auto, 7},          {QPrinter::Tractor, 8},        {QPrinter::SmallFormat, 9},
    {QPrinter::LargeFormat, 10},  {QPrinter::LargeCapacity, 11}, {QPrinter::Cassette, 14},
    {QPrinter::FormSource, 15},
};
constexpr int kAutoSourceId = 7;

int SourceId(QPrinter::PaperSource source)
{
    for (const TSourceId& s : kSources)
        if (s.Source == source)
            return s.Id;
    return kAutoSourceId;
}

std::optional<QPrinter::PaperSource> SourceOf(int id)
{
    for (const TSourceId& s : kSources)
        if (s.Id == id)
            return s.Source;
    return std::nullopt;
}

bool IsInstalled(const QString& name)
{
    return !name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull();
}

QPageSize MillimetreSize(double width, double height, const QString& name = {})
{
    return QPageSize(QSizeF(width, height), QPageSize::Millimeter, name, QPageSize::ExactMatch);
}

// The paper the report printer asks for; an invalid size when there is no such paper.
QPageSize PageSizeFor(const TrpDeviceMode& mode)
{
    if (mode.PaperSize == kCustomPaper) {
        if (mode.PaperWidth <= 0 || mode.PaperHeight <= 0)
            return {};
        // A page size is upright; the report printer gives the sheet as it lies.
        const double w = mode.PaperWidth / 10.0, h = mode.PaperHeight / 10.0;
        return mode.Orientation == poLandscape ? MillimetreSize(h, w) : MillimetreSize(w, h);
    }
    const QPageSize::PageSizeId id = QPageSize::id(mode.PaperSize);
    if (id != QPageSize::Custom)
        return QPageSize(id);
    // A Windows paper that Qt has no name for.
    if (const TPaperInfo* paper = FindPaper(mode.PaperSize); paper && paper->Width > 0)
        return MillimetreSize(paper->Width / 10.0, paper->Height / 10.0, QString::fromUtf8(paper->Name));
    return {};
}

void AddPaper(std::vector<TrpDeviceItem>& papers, const QPageSize& size)
{
    const int id = size.windowsId();
    if (id <= 0)
        return;
    for (const TrpDeviceItem& paper : papers)
        if (paper.Id == id)
            return;
    papers.push_back({id, size.name()});
}

}  // namespace

TrpQtPrinter::TrpQtPrinter(TPrinterLister lister) : lister_(std::move(lister))
{
    if (!lister_)
        lister_ = [] { return QPrinterInfo::availablePrinterNames(); };
    const QStringList names = lister_();
    const QString byDefault = QPrinterInfo::defaultPrinterName();
    const QString first = names.contains(byDefault) ? byDefault : names.value(0);
    if (!first.isEmpty())
        SelectPrinter(first);
}

QStringList TrpQtPrinter::PrinterNames()
{
    return lister_();
}

QString TrpQtPrinter::CurrentPrinter()
{
    return current_;
}

void TrpQtPrinter::SelectPrinter(const QString& name)
{
    current_ = name;
    // A name that is not installed prints into a PDF file.
    printer_.setPrinterName(IsInstalled(name) ? name : QString());
}

bool TrpQtPrinter::CurrentIsListed()
{
    return !current_.isEmpty() && lister_().contains(current_);
}

std::vector<TrpDeviceItem> TrpQtPrinter::SupportedPapers() const
{
    std::vector<TrpDeviceItem> papers;
    if (IsInstalled(current_)) {
        for (const QPageSize& size : QPrinterInfo::printerInfo(current_).supportedPageSizes())
            AddPaper(papers, size);
    } else {
        for (int id = 0; id < QPageSize::LastPageSize; ++id)
            AddPaper(papers, QPageSize(QPageSize::PageSizeId(id)));
    }
    return papers;
}

std::optional<TrpDeviceSettings> TrpQtPrinter::ReadSettings()
{
    if (!CurrentIsListed())
        return std::nullopt;
    const QPageLayout layout = printer_.pageLayout();
    const QRectF sheet = layout.fullRect(QPageLayout::Millimeter);
    TrpDeviceSettings settings;
    const int id = layout.pageSize().windowsId();
    settings.PaperSize = id > 0 ? id : kCustomPaper;
    settings.PaperWidth = int(Round(sheet.width() * 10));
    settings.PaperHeight = int(Round(sheet.height() * 10));
    settings.Orientation = layout.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    settings.PaperBin = SourceId(printer_.paperSource());
    settings.Papers = SupportedPapers();
    // Qt names no sources of a printer: the default source is the only choice.
    return settings;
}

void TrpQtPrinter::WriteSettings(const TrpDeviceMode& mode)
{
    if (!CurrentIsListed())
        return;
    const QPageSize size = PageSizeFor(mode);
    if (!size.isValid() || !printer_.setPageSize(size))
        throw EPrinter(QStringLiteral("Принтер «%1» не принимает бумагу %2").arg(current_).arg(mode.PaperSize));
    printer_.setPageOrientation(mode.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_.setCopyCount(1);
    if (!IsDefaultBin(mode.PaperBin))
        if (const auto source = SourceOf(mode.PaperBin))
            printer_.setPaperSource(*source);
}

TrpDeviceMetrics TrpQtPrinter::Metrics()
{
    const QRectF sheet = printer_.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_.pageRect(QPrinter::DevicePixel);
    const auto pixels = [](double value) { return int(Round(value)); };
    TrpDeviceMetrics m;
    m.DpiX = m.DpiY = printer_.resolution();
    m.PhysicalWidth = pixels(sheet.width());
    m.PhysicalHeight = pixels(sheet.height());
    m.OffsetX = pixels(page.left() - sheet.left());
    m.OffsetY = pixels(page.top() - sheet.top());
    m.PrintWidth = pixels(page.width());
    m.PrintHeight = pixels(page.height());
    return m;
}

bool TrpQtPrinter::Printing()
{
    return printer_.printerState() == QPrinter::Active;
}

void TrpQtPrinter::SetCopies(int copies)
{
    printer_.setCopyCount(copies);
}

QPainter& TrpQtPrinter::BeginDoc(const QString& title)
{
    printer_.setDocName(title);
    if (!painter_.begin(&printer_))
        throw EPrinter(QStringLiteral("Не удалось начать печать на принтере «%1»").arg(current_));
    return painter_;
}

void TrpQtPrinter::NewPage()
{
    if (!printer_.newPage())
        throw EPrinter(QStringLiteral("Принтер «%1» не начал новый лист").arg(current_));
}

void TrpQtPrinter::EndDoc()
{
    if (painter_.isActive())
        painter_.end();
}

void TrpQtPrinter::Abort()
{
    printer_.abort();
    if (painter_.isActive())
        painter_.end();
}

void AttachInstalledPrinters(TrpRunContext& context)
{
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>();
    StartReportPrinter(context);
}
