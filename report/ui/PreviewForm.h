#pragma once
// The preview window: a report's prepared pages on screen with the commands that act on them
// (zoom, paging, search, open and save of prepared reports, export, printing, page setup). It
// comes in two shapes: a window of its own (ShowPreview), or a hidden window that lends its page
// area and tool bar to the embedded preview panel (TrpPreview).
//
// The window holds the pages it shows: taking them (TakePages) leaves the report an empty list,
// and every command that needs the report to work on them (print, save, export, rebuild) gives
// them back (ReturnPages) for its duration and takes them again afterwards.
//
// The zoom last chosen is the run context's (LastScale, LastScaleMode): a window starts
// with it and stores the user's choice back. Search, view and page state are the window's own.
#include <functional>
#include <memory>

#include <QDialog>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QString>

#include "report/engine/Report.h"
#include "report/ui/PreviewLayout.h"

class KeyValueStore;
class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QScrollBar;
class TrpEMFPages;
class TrpPBox;
class TrpRunContext;
class TrpSpeedButton;
class TrpTBButton;
class TrpTBSeparator;
class TrpContextHelp;

// Context help numbers of the window's controls.
enum TrpPreviewHelpTag {
    htZoom = 200,
    htLoad = 201,
    htSave = 202,
    htPrint = 203,
    htFind = 204,
    htExit = 205,
    htPageLabels = 206,
    htPageBox = 207,
};

class TrpPreviewForm : public QDialog {
    Q_OBJECT

public:
    // The window remembers its place in store (none: it does not).
    explicit TrpPreviewForm(TrpRunContext& context, KeyValueStore* store = nullptr, QWidget* parent = nullptr);
    // Frees the pages it holds.
    ~TrpPreviewForm() override;

    TrpRunContext& Context() const { return context_; }
    // The report shown, and the pages held (none, or a list that may be empty).
    TrpReport* Report() const { return report_; }
    TrpEMFPages* Pages() const { return pages_.get(); }
    int PageCount() const;

    // ---- What the driver and the embedded preview call.

    // A window of its own: takes the report's pages, shows them from page 1 and runs modally
    // when the report's ModalPreview is set, else shows and returns.
    void ShowPreview(TrpReport& report);
    // The report becomes the one shown; the pages held before are freed and the report's are
    // taken, leaving it an empty list.
    void TakePages(TrpReport& report);
    // Gives the pages held back to the report shown (freeing its empty list); holds none.
    void ReturnPages();
    // Buttons shown and enabled as the report asks; the report's first zoom.
    void SetupButtons();
    // The remembered zoom again, every page's cache released, the view repainted; with
    // toFirstPage at page 1 scrolled to the top.
    void ResetView(bool toFirstPage);

    // ---- The view.

    // Scale for the zoom mode, pages laid out, scroll ranges set, the view at the current page.
    void FormResize();
    // The page label ("Page 3/12"); tells OnPageChanged.
    void ShowPageNumber();
    // The vertical bar to the current page's top.
    void ScrollToPage();
    // The vertical strip (with the page buttons) and the bottom strip (with the labels).
    void ShowScrollBars(bool vertical, bool horizontal);
    // Where the window's dialogs belong: the window showing the page area.
    QWidget* DialogParent() const { return PreviewPanel->window(); }
    // The page rectangles of the layout (box pixels before scrolling).
    const std::vector<QRect>& PageRects() const { return layout_.PageRects; }

    // ---- Commands (the buttons, the menu and the keys).

    void PgUpClick();
    void PgDownClick();
    void ZoomBtnClick();
    // A zoom item: its tag is the percentage, or 1, 2, 3 for the page width, whole page, two pages.
    void N3Click(QAction* item);
    void LoadBtnClick();
    void SaveBtnClick();
    void PrintBtnClick();
    void PageSetupBtnClick();
    void FindBtnClick();
    // The next place after the last one found that shows the search text, from the search page
    // to the last page (no wrapping round): the page becomes current, is scrolled to show the
    // place, which is marked. Found nowhere: nothing changes.
    void FindNextText();
    void HelpBtnClick();
    void ExitBtnClick();
    // The key table; true when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

    // ---- State.

    int CurPage = 1;   // from 1
    double Scale = 1.0;
    TrpScaleMode ScaleMode = smFixed;
    // Where layout coordinates are drawn in the box: the negated scroll positions.
    int ScrollOffsetX = 0;
    int ScrollOffsetY = 0;
    bool PaintEnabled = true;
    // The search: the text (in capitals unless case-sensitive), the page (from 0) and the text
    // record where the next search starts; the place last found (page units) while it is shown.
    QString SearchText;
    bool SearchCaseSensitive = false;
    int SearchPage = 0;
    int SearchRecord = 0;
    bool Found = false;
    int FoundPage = 0;
    QRect FoundRect;

    // Told the current page each time the page label changes while pages are shown.
    std::function<void(int pageNo)> OnPageChanged;
    // The embedded preview's own context menu, shown instead of the zoom menu on a right click.
    QPointer<QMenu> HostPopupMenu;

    // ---- Controls (names as the window's resource has them).

    QWidget* TPanel;   // the tool bar panel
    QFrame* Bevel2;
    QWidget* Panel1;   // the button strip; the main window adds its own buttons here
    TrpTBButton* ZoomBtn;
    TrpTBSeparator* rpTBSeparator1;
    TrpTBButton* LoadBtn;
    TrpTBButton* SaveBtn;
    TrpTBButton* PrintBtn;
    TrpTBButton* PageSetupBtn;
    TrpTBSeparator* rpTBSeparator2;
    TrpTBButton* FindBtn;
    TrpTBButton* HelpBtn;
    TrpTBSeparator* rpTBSeparator3;
    TrpTBButton* ExitBtn;
    QWidget* PreviewPanel;   // the page area
    QWidget* ScrollBox1;
    TrpPBox* PBox;
    QWidget* RPanel;
    QScrollBar* VScrollBar;
    TrpSpeedButton* PgUp;
    TrpSpeedButton* PgDown;
    QWidget* BPanel;
    QFrame* Bevel1;
    QLabel* Label1;   // the page number
    QFrame* Bevel3;
    QLabel* Label2;   // the link under the pointer
    QScrollBar* HScrollBar;
    QMenu* ProcMenu;   // the zoom menu

    // The link text shown for a link under the pointer: "Page N" for a page reference.
    QString LinkCaption(const QString& link) const;
    // A click on a link asking for a page ("@N"): N becomes the current page (1 for anything
    // below it; nothing beyond the last page or when N is no number).
    void GoToLinkedPage(const QString& link);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every way the window ends (Close, the window's close button, Escape) saves its place.
    void done(int result) override;

private:
    void MakeToolbar();
    void MakePageArea();
    void MakeZoomMenu();
    TrpTBButton* AddButton(const char* name, int width, int helpTag);
    TrpTBSeparator* AddSeparator(const char* name);
    void Localize();
    void CheckZoomItem();
    void VScrollBarChange(int position);
    void HScrollBarChange(int position);
    bool HoldsPages() const { return pages_ && PageCount() > 0; }
    // The margins the page setup starts with (hundredths of a millimetre): the first page's
    // shown, else, without pages, the report's first report page's.
    QMargins ShownMargins() const;
    // Whether the tool bar sits on this window (a window of its own), not on an embedded panel.
    bool ToolbarOnWindow() const;
    // The page a layout point lies on (from 0), or -1.
    int PageAt(QPoint layoutPoint) const;
    // The search goes on after the last place found while its page is current, else it starts
    // at the top of the current page.
    void StartSearchAtCurrentPage();
    // Runs a command that needs the report to hold its pages: gives them back, runs, takes them
    // again (also when the command fails).
    template <typename F>
    void WithPagesReturned(F&& command);
    // Shows the place found: the page current, the view scrolled, the place marked.
    void ShowFound(int page, const QRect& bounds);

    friend class TrpPBox;

    TrpRunContext& context_;
    KeyValueStore* store_;
    QPointer<TrpReport> report_;
    std::unique_ptr<TrpEMFPages> pages_;
    // Whether the pages held were built from the template (not read from a file): it goes with
    // them, since the report may meanwhile read a file into its own list for another window.
    bool pagesRebuildable_ = false;
    TrpPagesLayout layout_;
    QActionGroup* zoomItems_;
    QWidget* corner_;   // below the right strip, beside the horizontal bar
    int lastVPosition_ = 0;
    int lastHPosition_ = 0;
    TrpContextHelp* help_;
};

// Sets the context's ShowPreviewWindow: a report without an embedded preview shows its pages in
// a preview window of its own, which remembers its place in store (none: it does not) and frees
// itself, with the pages it holds, once closed.
void InstallPreviewWindow(TrpRunContext& context, std::shared_ptr<KeyValueStore> store = {});
