#pragma once
// The embedded preview: a panel of a program window that shows a report's prepared pages in
// place (the report's Preview). It owns a hidden preview window and, while it shows a report,
// borrows that window's page area and, with ShowToolbar, its tool bar. The window holds the
// pages; the report keeps an empty list meanwhile (see TrpPreviewForm).
#include <functional>

#include <QFrame>

#include "report/engine/PreviewHost.h"

class KeyValueStore;
class QMenu;
class TrpPreview;
class TrpPreviewForm;
class TrpRunContext;

// Which scroll bars show: the vertical strip for ssVertical and ssBoth, the bottom strip (with
// the page number and link labels) for ssHorizontal and ssBoth.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TrpPageChangedEvent = std::function<void(TrpPreview* sender, int pageNo)>;

class TrpPreview : public QFrame, public TrpPreviewHost {
public:
    explicit TrpPreview(TrpRunContext& context, QWidget* parent = nullptr);
    // Frees the window and the pages it holds.
    ~TrpPreview() override;

    // Shows the report's pages from page 1, taking them from the report; the pages of the
    // report shown before are freed.
    void Connect(TrpReport& report) override;
    void ReleasePages() override;
    TrpReport* ShownReport() const override;

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    bool ShowToolbar() const { return showToolbar_; }
    // The tool bar on the panel, or back on the hidden window.
    void SetShowToolbar(bool show);
    // Shown on a right click over the pages instead of the zoom menu.
    void SetPopupMenu(QMenu* menu);

    TrpPreviewForm* const Window;
    // The current page, each time the page number changes while pages are shown.
    TrpPageChangedEvent OnPageChanged;

private:
    void DoPageChanged(int pageNo);
    TScrollStyle scrollBars_ = ssBoth;
    bool showToolbar_ = false;
};
