#pragma once
// The prepared pages of a report: what a build prints, the preview shows, printing and export go
// through, and prepared-report files keep. Each page keeps its paper and the objects printed on
// it as a compact object stream: the version byte 25, then per object its type byte, an add-in
// object's class name, and its record in the printed form. The objects come back as live report
// objects (the page's LivePage) only while the page is drawn, edited or hit-tested.
//
// Printing into a page: the build appends a page with AddPage and the objects write their
// entries into Page(PageNo).ObjectStream through TrpView::PrintToStream.
// Drawing: the preview and printing set Visible and call Draw; Draw of a page whose Visible is
// clear releases its live objects, so only what is on screen stays unpacked.
// Files: the report's LoadReportPages and SaveReportPages go through LoadFromFile and SaveToFile,
// which refuse a damaged file whole and never leave a half-written one.
// The list belongs to its report (TrpReport::EMFPages): the preview may hold it for a while, but
// it must not outlive the report.
#include <functional>
#include <memory>
#include <vector>

#include <QBuffer>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QUrl>

#include "report/engine/Page.h"
#include "report/file/PreparedReportFile.h"
#include "report/paper/PaperGeometry.h"

class QPainter;
class TrpReport;

// One prepared page: its paper (the file's fields), its geometry and its objects.
struct TrpEMFPage : TrpPreparedPaper {
    TrpEMFPage();

    QRect PageRect;   // where the preview lays the page out
    TPaperGeometry PaperGeometry;
    bool Visible = false;   // the page is being drawn (the preview's and printing's flag)
    QBuffer ObjectStream;   // open for reading and writing
    std::unique_ptr<TrpPage> LivePage;   // the objects read back; none until needed
};

// What the pointer over a prepared page found (TrpEMFPages::ObjectAt).
struct TrpObjectHit {
    // A link object's tag: shown while the pointer is over it; after a click, a page reference
    // ("@" and the page number to go to).
    QString Text;
    // In: the cursor shown; out: the one to show.
    Qt::CursorShape Cursor = Qt::ArrowCursor;
    // After a click on a link object: the address to open, only when it is one that may be
    // opened (OpenableLink); a tag that is neither that nor a page reference opens nothing.
    QUrl OpenUrl;
};

// The address a link object's tag may open: http, https and mailto addresses only; an empty
// URL for anything else (files, programs, other schemes).
QUrl OpenableLink(const QString& tag);

class TrpEMFPages {
public:
    explicit TrpEMFPages(TrpReport& report);
    ~TrpEMFPages();
    TrpEMFPages(const TrpEMFPages&) = delete;
    TrpEMFPages& operator=(const TrpEMFPages&) = delete;

    TrpReport& Report() const { return report_; }
    int Count() const { return int(pages_.size()); }
    TrpEMFPage& Page(int index) { return *pages_.at(size_t(index)); }
    const TrpEMFPage& Page(int index) const { return *pages_.at(size_t(index)); }

    void Clear();
    void Delete(int index);
    // A new page at the index (appended when the index is not below the count) with the design
    // page's paper, margins and geometry, and an object stream holding the version byte.
    void InsertPage(int index, const TrpPage& designPage);
    // Appends a page, then tells the current report, and the root report when it is another one
    // (OnBeginPage with PageNo).
    void AddPage(const TrpPage& designPage);

    // Live objects from the page's stream (when the page has none yet), and back into the
    // stream (the preview edits a page this way). A damaged stream raises EReadError, an add-in
    // class nobody registered EClassNotFound; the page is left without live objects then.
    void RestoreObjects(int index);
    void StoreObjects(int index);
    // Frees the page's live objects.
    void ReleaseObjects(int index);

    // Draws the page's objects scaled into the rectangle (device pixels); a page whose Visible
    // is clear only releases its live objects.
    void Draw(int index, QPainter& canvas, const QRect& rect);
    // Hands every object of the page that lies at least partly on it to the report's current
    // export filter, reading the stream object by object without live objects; memos lay their
    // text out only for a filter that takes text lines.
    void ExportPage(int index);
    // The object under a point (page pixels at zoom 1), the last printed first: a click fires
    // the report's OnObjectClick, a move its OnMouseOverObject; objects named "URL..." are links.
    // True when something handled the point.
    bool ObjectAt(int index, QPoint point, bool click, TrpObjectHit& hit);

    // The prepared-report file. Reading replaces the pages only when the whole file reads; a
    // damaged one raises EReadError and leaves the pages as they were. A null stream does nothing.
    void LoadFromStream(QIODevice* stream);
    void SaveToStream(QIODevice* stream);
    // The same on a named file; saving replaces the file only once it is completely written.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);

private:
    TrpPage& LivePage(int index);
    // Reads the page's stream entry by entry, handing each object made to take, which reads its
    // record from the stream. A damaged stream raises EReadError "damaged at page N".
    void ReadObjects(int index, const std::function<void(std::unique_ptr<TrpView>, QIODevice&)>& take);
    void ReadObjects(TrpEMFPage& page, int index,
                     const std::function<void(std::unique_ptr<TrpView>, QIODevice&)>& take);
    // Reads every object record of a page read from a file, so that a damaged or foreign one
    // refuses the file at once (EReadError "damaged at page N") rather than a draw, print or export later.
    void CheckObjects(TrpEMFPage& page, int index);
    std::unique_ptr<TrpEMFPage> PageFromFile(const TrpPreparedFilePage& filePage, TrpPreparedLayout layout);

    TrpReport& report_;
    std::vector<std::unique_ptr<TrpEMFPage>> pages_;
};
