#include "report/engine/EMFPages.h"

#include <cmath>

#include <QFile>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>
#include <QScopeGuard>

#include "base/Rounding.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"
#include "report/file/AtomicFile.h"
#include "report/file/MemoryStream.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/PictureView.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kDamagedPageText = 55214;

int RoundInt(double value)
{
    return int(Round(value));
}

bool IsLinkObject(const TrpView& view)
{
    return view.Name.startsWith(QLatin1String("URL"));
}

// Whether any of the rectangle (logical coordinates) shows through the painter's clipping, or
// lies on its device when it does not clip.
class TVisibleArea {
public:
    explicit TVisibleArea(const QPainter& canvas)
        : clips_(canvas.hasClipping()), clip_(clips_ ? canvas.clipRegion() : QRegion()),
          transform_(canvas.transform()),
          device_(0, 0, canvas.device()->width(), canvas.device()->height())
    {
    }
    bool Shows(const QRect& r) const
    {
        return clips_ ? clip_.intersects(r) : device_.intersects(transform_.mapRect(r));
    }

private:
    bool clips_;
    QRegion clip_;
    QTransform transform_;
    QRect device_;
};

// Whether any of the object, its edges included, lies on the page: one wholly off it shows
// nothing, and exporting it would only size files and memory by its coordinates.
bool TouchesPage(const TrpView& view, const TPaperGeometry& g)
{
    const int64_t left = view.Left, top = view.Top;
    return left <= g.PageWidth && left + view.Width >= 0 && top <= g.PageHeight && top + view.Height >= 0;
}

}  // namespace

TrpEMFPage::TrpEMFPage()
{
    ObjectStream.open(QIODevice::ReadWrite);
}

QUrl OpenableLink(const QString& tag)
{
    const QUrl url(tag.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
    const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
    return url.isValid() && (web || mail) ? url : QUrl();
}

TrpEMFPages::TrpEMFPages(TrpReport& report) : report_(report) {}

TrpEMFPages::~TrpEMFPages()
{
    Clear();
}

void TrpEMFPages::Clear()
{
    while (!pages_.empty())
        Delete(Count() - 1);
}

void TrpEMFPages::Delete(int index)
{
    ReleaseObjects(index);
    pages_.erase(pages_.begin() + index);
}

void TrpEMFPages::InsertPage(int index, const TrpPage& designPage)
{
    auto page = std::make_unique<TrpEMFPage>();
    page->Size = designPage.Size;
    page->PaperWidth = designPage.PaperWidth;
    page->PaperHeight = designPage.PaperHeight;
    page->Orientation = designPage.Orientation;
    page->PaperBin = designPage.PaperBin;
    page->MarginsOn = designPage.MarginsOn;
    page->LeftMargin = designPage.LeftMargin;
    page->TopMargin = designPage.TopMargin;
    page->RightMargin = designPage.RightMargin;
    page->BottomMargin = designPage.BottomMargin;
    page->PaperGeometry = designPage.PaperGeometry;
    WriteFrByte(page->ObjectStream, kCurrentTemplateVersion);
    const size_t at = index < 0 ? 0 : std::min(size_t(index), pages_.size());
    pages_.insert(pages_.begin() + qsizetype(at), std::move(page));
}

void TrpEMFPages::AddPage(const TrpPage& designPage)
{
    InsertPage(Count(), designPage);
    const TrpRunContext& c = report_.Context();
    if (c.CurrentReport && c.CurrentReport->OnBeginPage)
        c.CurrentReport->OnBeginPage(c.PageNo);
    if (c.RootReport && c.RootReport != c.CurrentReport && c.RootReport->OnBeginPage)
        c.RootReport->OnBeginPage(c.PageNo);
}

void TrpEMFPages::ReadObjects(int index, const std::function<void(std::unique_ptr<TrpView>, QIODevice&)>& take)
{
    ReadObjects(Page(index), index, take);
}

void TrpEMFPages::ReadObjects(TrpEMFPage& page, int index,
                              const std::function<void(std::unique_ptr<TrpView>, QIODevice&)>& take)
{
    TrpRunContext& c = report_.Context();
    // The objects are read where they are, a field at a time from memory; printing goes on
    // appending to the page's own stream.
    TrpMemoryStream stream(page.ObjectStream.data());
    try {
        c.TemplateVersion = ReadFrByte(stream);
        while (!stream.atEnd()) {
            const uint8_t type = ReadFrByte(stream);
            const QString className = type == otAddIn ? ReadFrString(stream) : QString();
            std::unique_ptr<TrpView> view = CreateReportObject(c, type, className);
            // An entry of a type no object has cannot be passed over: its length is unknown.
            if (!view)
                throw EReadError(QString());
            take(std::move(view), stream);
        }
    } catch (const EReadError&) {
        throw EReadError(LoadFrResString(c, kDamagedPageText).arg(index + 1));
    }
}

void TrpEMFPages::RestoreObjects(int index)
{
    TrpEMFPage& page = Page(index);
    if (page.LivePage)
        return;
    TrpRunContext& c = report_.Context();
    auto live = std::make_unique<TrpPage>(report_, page.Size, page.PaperWidth, page.PaperHeight, page.PaperBin,
                                          page.Orientation);
    live->MarginsOn = page.MarginsOn;
    live->LeftMargin = page.LeftMargin;
    live->TopMargin = page.TopMargin;
    live->RightMargin = page.RightMargin;
    live->BottomMargin = page.BottomMargin;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, live.get());
    ReadObjects(index, [&](std::unique_ptr<TrpView> object, QIODevice& stream) {
        TrpView* view = live->AddObject(std::move(object));
        view->PrintedForm = true;
        view->LoadFromStream(stream);
        view->PrintedForm = false;
        // A memo that takes the width of its text settles it by drawing once.
        if (view->TypeCode == otMemo && (view->Flags & mfAutoWidth)) {
            QPainter scratch(&c.ScratchBitmap);
            view->Draw(&scratch);
        }
    });
    page.LivePage = std::move(live);
}

TrpPage& TrpEMFPages::LivePage(int index)
{
    RestoreObjects(index);
    return *Page(index).LivePage;
}

void TrpEMFPages::StoreObjects(int index)
{
    TrpEMFPage& page = Page(index);
    if (!page.LivePage)
        return;
    TrpRunContext& c = report_.Context();
    page.ObjectStream.buffer().clear();
    page.ObjectStream.seek(0);
    c.TemplateVersion = kCurrentTemplateVersion;
    WriteFrByte(page.ObjectStream, kCurrentTemplateVersion);
    for (const auto& object : page.LivePage->Objects) {
        object->PrintedForm = true;
        object->WorkText = object->Memo;
        object->WriteEntry(page.ObjectStream);
        object->PrintedForm = false;
    }
}

void TrpEMFPages::ReleaseObjects(int index)
{
    TrpEMFPage& page = Page(index);
    if (!page.LivePage)
        return;
    // No run variable may go on pointing into the objects freed.
    TrpRunContext& c = report_.Context();
    if (c.CurrentPage == page.LivePage.get())
        c.CurrentPage = nullptr;
    for (const auto& object : page.LivePage->Objects)
        if (c.CurrentView == object.get())
            c.CurrentView = nullptr;
    page.LivePage.reset();
}

void TrpEMFPages::Draw(int index, QPainter& canvas, const QRect& rect)
{
    TrpRunContext& c = report_.Context();
    const int deviceType = canvas.device()->devType();
    const bool forPrinting = deviceType == QInternal::Printer;
    c.PrintModeFlag = true;
    TrpEMFPage& page = Page(index);
    if (!page.Visible) {
        ReleaseObjects(index);
        return;
    }
    const TPaperGeometry& g = page.PaperGeometry;
    if (g.PageWidth <= 0 || g.PageHeight <= 0)
        return;   // a page without paper has no scale
    TrpPage& live = LivePage(index);
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, &live);
    const double kx = double(rect.width()) / g.PageWidth;
    const double ky = double(rect.height()) / g.PageHeight;
    const bool drawsAll = forPrinting || deviceType == QInternal::Picture;
    const TVisibleArea area(canvas);
    // A page stretched unevenly (a sheet without margins drawn into the printable area inside
    // them) is drawn as a picture of itself: its objects at the vertical scale, then narrowed
    // or widened as a whole, text included, so that a text that fits its box at zoom 1 still
    // fits it; a font scaled by one axis only would overflow a box scaled by the other. The
    // rounding of an evenly scaled page's rectangle is no stretch.
    constexpr double kEvenScale = 0.01;
    const double stretch = ky > 0 ? kx / ky : 1.0;
    const bool stretched = stretch > 0 && std::abs(stretch - 1.0) > kEvenScale;
    canvas.save();
    const auto restoreCanvas = qScopeGuard([&canvas] { canvas.restore(); });
    if (stretched) {
        canvas.translate(rect.left(), 0);
        canvas.scale(stretch, 1);
    }
    for (const auto& object : live.Objects) {
        TrpView& view = *object;
        if (!drawsAll) {
            const int left = RoundInt(view.Left * kx) + rect.left();
            const int top = RoundInt(view.Top * ky) + rect.top();
            const int right = RoundInt((view.Left + view.Width) * kx) + rect.left();
            const int bottom = RoundInt((view.Top + view.Height) * ky) + rect.top();
            const QRect onCanvas(QPoint(left - 10, top - 10), QPoint(right + 9, bottom + 9));
            if (!area.Shows(onCanvas))
                continue;
        }
        view.ZoomX = stretched ? ky : kx;
        view.ZoomY = ky;
        view.ShiftX = stretched ? 0 : rect.left();
        view.ShiftY = rect.top();
        view.OnPrinter = forPrinting;
        view.Draw(&canvas);
    }
}

void TrpEMFPages::ExportPage(int index)
{
    const TPaperGeometry& g = Page(index).PaperGeometry;
    TrpRunContext& c = report_.Context();
    const TrpExportFilter* filter = report_.CurrentFilter;
    const bool textLines = !filter || filter->TakesTextLines();
    ReadObjects(index, [&](std::unique_ptr<TrpView> view, QIODevice& stream) {
        // The object goes when this call ends, however it ends: nothing may point at it then.
        const auto forget = qScopeGuard([&c, &view] {
            if (c.CurrentView == view.get())
                c.CurrentView = nullptr;
        });
        view->Report = &report_;
        view->PrintedForm = true;
        view->LoadFromStream(stream);
        if (!TouchesPage(*view, g))
            return;
        if (textLines)
            view->ExportData();
        else
            view->TrpView::ExportData();   // the object alone, its text not laid out
    });
}

bool TrpEMFPages::ObjectAt(int index, QPoint point, bool click, TrpObjectHit& hit)
{
    hit.Text.clear();
    hit.OpenUrl = QUrl();
    TrpEMFPage& page = Page(index);
    TrpPage& live = LivePage(index);
    const TrpCurrentScope<TrpPage> currentPage(report_.Context().CurrentPage, &live);
    const TPaperGeometry& g = page.PaperGeometry;
    double kx = 1, ky = 1, ox = 0, oy = 0;
    if (!page.MarginsOn && g.PageWidth > 0 && g.PageHeight > 0) {
        kx = double(g.PrintWidth - page.LeftMargin - page.RightMargin) / g.PageWidth;
        ky = double(g.PrintHeight - page.TopMargin - page.BottomMargin) / g.PageHeight;
        ox = g.OffsetX + page.LeftMargin;
        oy = g.OffsetY + page.TopMargin;
    }
    for (auto it = live.Objects.rbegin(); it != live.Objects.rend(); ++it) {
        TrpView* view = it->get();
        const QRect r(QPoint(RoundInt(view->Left * kx + ox), RoundInt(view->Top * ky + oy)),
                      QPoint(RoundInt(ox + (view->Left + view->Width) * kx) - 1,
                             RoundInt(oy + (view->Top + view->Height) * ky) - 1));
        if (!r.contains(point))
            continue;
        bool handled = false;
        if (click) {
            if (report_.OnObjectClick) {
                report_.OnObjectClick(view);
                handled = true;
            }
            if (IsLinkObject(*view)) {
                // A mail address has an at sign too: it is a link, not a page reference.
                hit.OpenUrl = OpenableLink(view->Tag);
                if (hit.OpenUrl.isEmpty() && view->Tag.contains(QLatin1Char('@')))
                    hit.Text = view->Tag;
                handled = true;
            }
        } else {
            if (report_.OnMouseOverObject) {
                report_.OnMouseOverObject(view, hit.Cursor);
                handled = true;
            }
            if (IsLinkObject(*view)) {
                hit.Cursor = Qt::PointingHandCursor;
                hit.Text = view->Tag;
                handled = true;
            }
        }
        return handled;
    }
    return false;
}

std::unique_ptr<TrpEMFPage> TrpEMFPages::PageFromFile(const TrpPreparedFilePage& filePage, TrpPreparedLayout layout)
{
    TrpPrinter& printer = report_.Context().ReportPrinter;
    auto page = std::make_unique<TrpEMFPage>();
    static_cast<TrpPreparedPaper&>(*page) = filePage.Paper;
    printer.SetPaper(page->Size, page->PaperWidth, page->PaperHeight, page->PaperBin, page->Orientation, false);
    printer.FillPaperGeometry(page->PaperGeometry);
    if (layout != TrpPreparedLayout::Oldest) {
        page->ObjectStream.buffer() = filePage.Data;
        page->ObjectStream.seek(page->ObjectStream.size());   // where printing appends
        return page;
    }
    // The oldest files kept each page as one metafile: it becomes a picture over the whole page.
    WriteFrByte(page->ObjectStream, kCurrentTemplateVersion);
    TrpPictureView picture;
    picture.Report = &report_;
    picture.SetBounds(0, 0, page->PaperGeometry.PageWidth, page->PaperGeometry.PageHeight);
    picture.Picture = TrpGraphic(gkMetafile, filePage.Data);
    picture.PrintedForm = true;
    WriteFrByte(page->ObjectStream, otPicture);
    picture.SaveToStream(page->ObjectStream);
    return page;
}

void TrpEMFPages::CheckObjects(TrpEMFPage& page, int index)
{
    ReadObjects(page, index, [this](std::unique_ptr<TrpView> view, QIODevice& stream) {
        view->Report = &report_;
        view->PrintedForm = true;
        view->LoadFromStream(stream);
    });
}

void TrpEMFPages::LoadFromStream(QIODevice* stream)
{
    if (!stream)
        return;
    TrpRunContext& c = report_.Context();
    const TrpPreparedFile file = ReadPreparedFile(c, *stream);
    report_.SelectPrinter(file.PrinterName);
    std::vector<std::unique_ptr<TrpEMFPage>> loaded;
    loaded.reserve(file.Pages.size());
    for (const TrpPreparedFilePage& filePage : file.Pages) {
        loaded.push_back(PageFromFile(filePage, file.Layout));
        CheckObjects(*loaded.back(), int(loaded.size()) - 1);
    }
    Clear();
    pages_ = std::move(loaded);
    if (file.Layout != TrpPreparedLayout::Oldest)
        report_.ReportInfo.Generator = file.Generator;
}

void TrpEMFPages::SaveToStream(QIODevice* stream)
{
    if (!stream)
        return;
    TrpRunContext& c = report_.Context();
    const TrpPrinter& printer = c.ReportPrinter;
    const QString printerName = printer.Printers.value(printer.CurrentIndex);
    WritePreparedFileHeader(*stream, c.ReportCompressor, printerName, Count());
    for (const auto& page : pages_)
        WritePreparedFilePage(*stream, c.ReportCompressor, *page, page->ObjectStream.data());
    WritePreparedFileEnd(*stream, report_.ReportInfo.Generator);
}

void TrpEMFPages::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(fileName, file.errorString()));
    LoadFromStream(&file);
}

void TrpEMFPages::SaveToFile(const QString& fileName)
{
    WriteFileAtomically(fileName, [this](QIODevice& file) { SaveToStream(&file); });
}
