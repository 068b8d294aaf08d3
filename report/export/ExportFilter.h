#pragma once
// The base of the export filters: a component that receives the objects of prepared pages and
// writes them into a file of another format. Each object hands itself over while an export
// runs (the report's CurrentFilter): every object through OnData, a memo's text lines through
// OnText. Coordinates are page units of the prepared page.
//
// One export, as the report's RunExport drives it:
//   if (filter.BeginExport(fileName))       // OnBeforeExport, then the options (ShowModal)
//       filter.WriteExport(pages, onPage);  // the file: OnBeginDoc, each page, OnEndDoc,
//                                           // then OnAfterExport
// WriteExport writes into a temporary file beside the target and renames it over the target
// only once everything is written, so a failed export leaves the old file (or none) and raises
// an exception with the reason.
//
// Filters register themselves in ExportFilterTable (ObjectRegistry.h) when made and unregister
// when destroyed; the preview's save dialog offers that table.
#include <cstdint>
#include <functional>
#include <vector>

#include <QObject>
#include <QSize>
#include <QString>

#include "report/objects/ReportColor.h"
#include "report/objects/ReportFont.h"
#include "report/objects/ReportRect.h"
#include "report/runtime/ModalResult.h"

class QIODevice;
class TrpEMFPages;
class TrpView;

// One text line a memo drew on the page being exported, as a filter collects it in Lines.
struct TrpTextRec {
    int X = 0;   // page units
    QString Text;
    TrpFont Font;
    TColor FillColor = clTransparent;
    TrpRect DrawRect;   // the memo's frame rectangle
    int FrameTyp = 0;   // the frame sides that belong to this line
    int32_t Alignment = 0;
};

// Raised before anything is written: may change the file name, or clear bContinue to cancel.
using TBeforeExportEvent = std::function<void(QString& fileName, bool& bContinue)>;
// Raised once the file is complete and in place.
using TAfterExportEvent = std::function<void(const QString& fileName)>;

class TrpExportFilter : public QObject {
    Q_OBJECT
public:
    explicit TrpExportFilter(QObject* owner = nullptr);
    ~TrpExportFilter() override;

    // ---- What a filter implements; the base versions do nothing.

    // Empties Lines.
    virtual void ClearLines();
    // The filter's options: a filter with options shows its dialog (when ShowDialog is set and
    // the program has windows) and returns the dialog's result; mrOk goes on.
    virtual int ShowModal() { return mrOk; }
    virtual void OnBeginDoc() {}
    virtual void OnEndDoc() {}
    virtual void OnBeginPage() {}
    virtual void OnEndPage() {}
    virtual void OnData(int x, int y, TrpView* view) { Q_UNUSED(x); Q_UNUSED(y); Q_UNUSED(view); }
    // One text line of a memo: its frame rectangle, the line's position, the line and the frame
    // sides that belong to that line.
    virtual void OnText(const TrpRect& drawRect, int x, int y, const QString& text, int frameTyp, TrpView* view)
    {
        Q_UNUSED(drawRect); Q_UNUSED(x); Q_UNUSED(y); Q_UNUSED(text); Q_UNUSED(frameTyp); Q_UNUSED(view);
    }

    // Whether the filter takes the memos' text lines (OnText): a filter that does not is spared
    // laying every memo's text out.
    virtual bool TakesTextLines() const { return true; }

    // ---- Running an export.

    // FileName := fileName, OnBeforeExport, then ShowModal. False: the export ends here and no
    // file is made.
    bool BeginExport(const QString& fileName);
    // Writes every prepared page into FileName through the filter: OnBeginDoc, for each page
    // OnBeginPage, its objects, pageDone(page number from 1), OnEndPage; then OnEndDoc. The
    // file replaces FileName only when all of it is written; then OnAfterExport. Raises
    // EWriteError telling why when the file cannot be made or written, and whatever the filter
    // raises; FileName is untouched then. The report's CurrentFilter is this filter meanwhile;
    // an export of another filter running on the report is refused.
    void WriteExport(TrpEMFPages& pages, const std::function<void(int pageNo)>& pageDone = {});
    // Writes into Stream; raises EWriteError with the device's reason when it refuses.
    void Write(const QByteArray& octets);
    // The size of the page being exported in page units; empty outside an export. What a filter
    // makes of a page is bounded by it.
    QSize PageSize() const;

    // ---- Properties.

    bool ShowDialog = true;   // ShowModal shows the filter's options dialog
    bool Default = false;     // preselected in the preview's save dialog
    TBeforeExportEvent OnBeforeExport;
    TAfterExportEvent OnAfterExport;

    // ---- Set while an export runs.

    QString FileName;
    QIODevice* Stream = nullptr;   // the file being written; none outside an export
    // The pages being exported and the index of the one being exported now.
    const TrpEMFPages* Pages = nullptr;
    int PageIndex = -1;
    // The text of the page collected line by line (a filter's own use): each entry one line,
    // its records in the order the filter keeps.
    std::vector<std::vector<TrpTextRec>> Lines;
};
