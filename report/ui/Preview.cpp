#include "report/ui/Preview.h"

#include <QBoxLayout>
#include <QMenu>

#include "report/ui/PreviewForm.h"

namespace {

QBoxLayout* BoxOf(QWidget* widget)
{
    return static_cast<QBoxLayout*>(widget->layout());
}

} // namespace

TrpPreview::TrpPreview(TrpRunContext& context, QWidget* parent)
    : QFrame(parent), Window(new TrpPreviewForm(context))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(0);
    Window->OnPageChanged = [this](int pageNo) { DoPageChanged(pageNo); };
    SetScrollBars(ssBoth);
}

TrpPreview::~TrpPreview()
{
    // The borrowed panels go home first, so that the window frees them with itself.
    BoxOf(Window)->insertWidget(0, Window->TPanel);
    BoxOf(Window)->insertWidget(1, Window->PreviewPanel, 1);
    delete Window;
}

void TrpPreview::Connect(TrpReport& report)
{
    if (showToolbar_ && Window->TPanel->parentWidget() != this)
        BoxOf(this)->insertWidget(0, Window->TPanel);
    if (Window->PreviewPanel->parentWidget() != this)
        BoxOf(this)->addWidget(Window->PreviewPanel, 1);
    Window->PreviewPanel->show();
    Window->TakePages(report);
    Window->SetupButtons();
    Window->ResetView(true);
}

void TrpPreview::ReleasePages()
{
    Window->ReturnPages();
}

TrpReport* TrpPreview::ShownReport() const
{
    return Window->Report();
}

void TrpPreview::SetScrollBars(TScrollStyle style)
{
    scrollBars_ = style;
    Window->ShowScrollBars(style == ssVertical || style == ssBoth, style == ssHorizontal || style == ssBoth);
}

void TrpPreview::SetShowToolbar(bool show)
{
    showToolbar_ = show;
    QWidget* home = show ? static_cast<QWidget*>(this) : Window;
    if (Window->TPanel->parentWidget() != home)
        BoxOf(home)->insertWidget(0, Window->TPanel);
    Window->TPanel->show();
}

void TrpPreview::SetPopupMenu(QMenu* menu)
{
    Window->HostPopupMenu = menu;
}

void TrpPreview::DoPageChanged(int pageNo)
{
    if (OnPageChanged)
        OnPageChanged(this, pageNo);
}
