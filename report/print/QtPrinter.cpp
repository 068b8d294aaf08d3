#include "report/print/QtPrinter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include "base/Rounding.h"
#include "platform/posix/FileMode.h"
#include "report/paper/PaperTable.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// Qt's CUPS print engine gives CUPS the options under this key (name, value, name, value...)
// along with its own; other engines ignore it.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xFE00);

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

// A file's sheet: the size as it lies, else the paper's id.
QPageSize FilePageSize(const TrpDeviceMode& mode)
{
    if (mode.PaperWidth <= 0 || mode.PaperHeight <= 0)
        return PageSizeFor(mode);
    const double w = mode.PaperWidth / 10.0, h = mode.PaperHeight / 10.0;
    return mode.Orientation == poLandscape ? MillimetreSize(h, w) : MillimetreSize(w, h);
}

QPageLayout::Orientation OrientationOf(const TrpDeviceMode& mode)
{
    return mode.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QString WriteFailure(const QString& fileName, const QString& why)
{
    return QStringLiteral("Не удалось записать файл \"%1\": %2").arg(fileName, why);
}

// Qt's PDF writer ends a file it has written whole with this mark.
bool EndsLikeWholePdf(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).trimmed().endsWith("%%EOF");
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

TrpQtPrinter::TrpQtPrinter(TPrinterLister lister, TSourceReader sources)
    : lister_(std::move(lister)), sourceReader_(std::move(sources))
{
    if (!lister_)
        lister_ = [] { return QPrinterInfo::availablePrinterNames(); };
    if (!sourceReader_)
        sourceReader_ = [](const QString& name) {
            return IsInstalled(name) ? CupsPaperSources(name) : std::vector<TrpPaperSource>();
        };
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
    // Another printer starts on its default source.
    sources_ = sourceReader_(name);
    bin_ = -1;
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
    settings.PaperBin = bin_;
    settings.Papers = SupportedPapers();
    for (const TrpPaperSource& source : sources_)
        settings.Bins.push_back({source.Id, source.Name});
    return settings;
}

void TrpQtPrinter::WriteSettings(const TrpDeviceMode& mode)
{
    if (file_) {
        const QPageSize size = FilePageSize(mode);
        if (!size.isValid() || !file_->setPageSize(size))
            throw EPrinter(QStringLiteral("Файл PDF не принимает бумагу %1").arg(mode.PaperSize));
        file_->setPageOrientation(OrientationOf(mode));
        return;
    }
    if (!CurrentIsListed())
        return;
    const QPageSize size = PageSizeFor(mode);
    if (!size.isValid() || !printer_.setPageSize(size))
        throw EPrinter(QStringLiteral("Принтер «%1» не принимает бумагу %2").arg(current_).arg(mode.PaperSize));
    printer_.setPageOrientation(OrientationOf(mode));
    // A running job (into a file) keeps its copies and source.
    if (Printing())
        return;
    printer_.setCopyCount(1);
    // The printer keeps a source it does not have as chosen, so that pages asking for it go on
    // in one job; its jobs take paper from the default source then.
    if (!IsDefaultBin(mode.PaperBin))
        bin_ = mode.PaperBin;
}

QStringList TrpQtPrinter::JobOptions() const
{
    for (const TrpPaperSource& source : sources_)
        if (source.Id == bin_)
            return {QString::fromUtf8(source.Option), QString::fromUtf8(source.Value)};
    return {};
}

TrpDeviceMetrics TrpQtPrinter::Metrics()
{
    QPrinter& device = Job();
    const QRectF sheet = device.paperRect(QPrinter::DevicePixel);
    const QRectF page = device.pageRect(QPrinter::DevicePixel);
    const auto pixels = [](double value) { return int(Round(value)); };
    TrpDeviceMetrics m;
    m.DpiX = m.DpiY = device.resolution();
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
    return painter_.isActive();
}

int TrpQtPrinter::SetCopies(int copies)
{
    printer_.setCopyCount(copies);
    return printer_.supportsMultipleCopies() ? copies : 1;
}

QPainter& TrpQtPrinter::BeginDoc(const QString& title)
{
    printer_.setDocName(title);
    // Options set by others stay; those that choose a source are ours.
    QStringList options;
    const QStringList earlier = printer_.printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < earlier.size(); i += 2)
        if (earlier[i] != QLatin1String("InputSlot") && earlier[i] != QLatin1String("media-source"))
            options << earlier[i] << earlier[i + 1];
    printer_.printEngine()->setProperty(kCupsOptions, options + JobOptions());
    if (!painter_.begin(&printer_))
        throw EPrinter(QStringLiteral("Не удалось начать печать на принтере «%1»").arg(current_));
    return painter_;
}

QPainter& TrpQtPrinter::BeginFileDoc(const QString& title, const QString& fileName, const TrpDeviceMode& paper)
{
    if (Printing())
        throw EPrinter(QStringLiteral("Печать уже идёт"));
    // The file is written beside its place, so that a failure leaves the one there as it was.
    const QFileInfo target(fileName);
    QTemporaryFile part(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!part.open())
        throw EPrinter(WriteFailure(fileName, part.errorString()));
    part.setAutoRemove(false);
    partFileName_ = part.fileName();
    fileName_ = fileName;
    part.close();
    file_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    file_->setOutputFormat(QPrinter::PdfFormat);
    file_->setOutputFileName(partFileName_);
    file_->setDocName(title);
    try {
        WriteSettings(paper);
        // The virtual printer leaves 5 mm unprinted on every side.
        file_->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        if (!painter_.begin(file_.get()))
            throw EPrinter(WriteFailure(fileName, QStringLiteral("файл не открылся для записи")));
    } catch (...) {
        FinishFile(false);
        throw;
    }
    return painter_;
}

bool TrpQtPrinter::PrintsToFile()
{
    return file_ || printer_.outputFormat() == QPrinter::PdfFormat;
}

void TrpQtPrinter::NewPage()
{
    if (!Job().newPage())
        throw EPrinter(QStringLiteral("Принтер «%1» не начал новый лист").arg(file_ ? fileName_ : current_));
}

void TrpQtPrinter::EndDoc()
{
    if (painter_.isActive())
        painter_.end();
    if (file_)
        FinishFile(true);
}

void TrpQtPrinter::Abort()
{
    Job().abort();
    if (painter_.isActive())
        painter_.end();
    if (file_)
        FinishFile(false);
}

void TrpQtPrinter::FinishFile(bool complete)
{
    file_.reset();
    const QString part = std::exchange(partFileName_, QString());
    const QString target = std::exchange(fileName_, QString());
    if (!complete) {
        QFile::remove(part);
        return;
    }
    if (!EndsLikeWholePdf(part)) {
        QFile::remove(part);
        throw EPrinter(WriteFailure(target, QStringLiteral("файл записан не полностью")));
    }
    // The temporary file is the owner's only; the file in place is the user's to share.
    const QByteArray partPath = QFile::encodeName(part);
    if (::chmod(partPath.constData(), ModeForReplacing(QFile::encodeName(target).toStdString())) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        throw EPrinter(WriteFailure(target, why));
    }
    // rename() puts the whole file in place of the old one at once.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        throw EPrinter(WriteFailure(target, why));
    }
}

void AttachInstalledPrinters(TrpRunContext& context)
{
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>();
    StartReportPrinter(context);
}
