#include "report/ui/PreviewForm.h"

#include <algorithm>
#include <exception>
#include <optional>

#include <QActionGroup>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>

#include "base/Rounding.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/ContextHelp.h"
#include "report/ui/FormPosition.h"
#include "report/ui/FormRoutines.h"
#include "report/ui/PBox.h"
#include "report/ui/PageTexts.h"
#include "report/ui/PreviewGlyphs.h"
#include "report/ui/PreviewSearchForm.h"
#include "report/ui/SpeedButton.h"

namespace {

constexpr int kGap = 10;   // the layout's margin round the pages
constexpr int kSmallStep = 10;
constexpr int kLargeStep = 200;

QScrollBar* MakeScrollBar(Qt::Orientation orientation, const char* name, QWidget* parent)
{
    auto* bar = Named(new QScrollBar(orientation, parent), name);
    bar->setRange(0, 32000);
    bar->setPageStep(kLargeStep);
    bar->setSingleStep(kSmallStep);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

// A sunken frame round a label of the bottom strip.
QFrame* MakeBevel(const char* name, QLabel*& label, const char* labelName, int width, QWidget* parent)
{
    auto* bevel = Named(new QFrame(parent), name);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setFixedWidth(width);
    bevel->setProperty("Tag", htPageLabels);
    label = Named(new QLabel(bevel), labelName);
    label->setProperty("Tag", htPageLabels);
    auto* inside = new QHBoxLayout(bevel);
    inside->setContentsMargins(3, 0, 3, 0);
    inside->addWidget(label);
    return bevel;
}

// The page a link names with "@" and a number after it; none for any other link.
std::optional<int> LinkedPage(const QString& link)
{
    const qsizetype at = link.indexOf(QLatin1Char('@'));
    bool number = false;
    const int page = at < 0 ? 0 : link.mid(at + 1).toInt(&number);
    return number ? std::optional<int>(page) : std::nullopt;
}

} // namespace

TrpPreviewForm::TrpPreviewForm(TrpRunContext& context, KeyValueStore* store, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      context_(context), store_(store)
{
    setObjectName(QStringLiteral("rpPreviewForm"));
    // The driver names a window it shows; until then it is a preview.
    setWindowTitle(LoadFrResString(context_, 55207));   // "Preview"
    resize(459, 293);
    setWindowState(Qt::WindowMaximized);
    MakeToolbar();
    MakePageArea();
    MakeZoomMenu();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(TPanel);
    column->addWidget(PreviewPanel, 1);
    Localize();
}

TrpPreviewForm::~TrpPreviewForm()
{
    // Pages outlive their report only when a window of their own outlived it: they are dropped
    // unfreed then, since freeing them would reach into the report.
    if (pages_ && !report_)
        (void)pages_.release();
}

TrpTBButton* TrpPreviewForm::AddButton(const char* name, int width, int helpTag)
{
    auto* button = Named(new TrpTBButton(Panel1), name);
    button->setFixedSize(width, 24);
    button->SetGrayedInactive(false);
    button->setProperty("Tag", helpTag);
    return button;
}

TrpTBSeparator* TrpPreviewForm::AddSeparator(const char* name)
{
    auto* separator = Named(new TrpTBSeparator(Panel1), name);
    separator->setFixedSize(8, 24);
    separator->SetDrawBevel(false);
    return separator;
}

void TrpPreviewForm::MakeToolbar()
{
    TPanel = Named(new QWidget(this), "TPanel");
    TPanel->setFixedHeight(33);
    Bevel2 = Named(new QFrame(TPanel), "Bevel2");
    Bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel2->setFixedHeight(2);
    Panel1 = Named(new QWidget(TPanel), "Panel1");
    Panel1->setFixedHeight(24);
    auto* strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    strip->setAlignment(Qt::AlignLeft);
    auto* bar = new QVBoxLayout(TPanel);
    bar->setContentsMargins(4, 0, 4, 3);
    bar->setSpacing(4);
    bar->addWidget(Bevel2);
    bar->addWidget(Panel1);

    ZoomBtn = AddButton("ZoomBtn", 53, htZoom);
    ZoomBtn->SetMargin(3);
    rpTBSeparator1 = AddSeparator("rpTBSeparator1");
    LoadBtn = AddButton("LoadBtn", 24, htLoad);
    SaveBtn = AddButton("SaveBtn", 24, htSave);
    PrintBtn = AddButton("PrintBtn", 24, htPrint);
    PageSetupBtn = AddButton("PageSetupBtn", 18, htPrint);
    rpTBSeparator2 = AddSeparator("rpTBSeparator2");
    FindBtn = AddButton("FindBtn", 24, htFind);
    HelpBtn = AddButton("HelpBtn", 24, 0);
    rpTBSeparator3 = AddSeparator("rpTBSeparator3");
    ExitBtn = AddButton("ExitBtn", 24, htExit);

    const std::pair<TrpTBButton*, TPreviewGlyph> glyphs[] = {
        {ZoomBtn, TPreviewGlyph::Zoom}, {LoadBtn, TPreviewGlyph::Open},       {SaveBtn, TPreviewGlyph::Save},
        {PrintBtn, TPreviewGlyph::Print}, {PageSetupBtn, TPreviewGlyph::PageSetup}, {FindBtn, TPreviewGlyph::Find},
        {HelpBtn, TPreviewGlyph::Help}, {ExitBtn, TPreviewGlyph::Exit},
    };
    for (const auto& [button, glyph] : glyphs)
        button->SetGlyph(PreviewGlyph(glyph));

    ZoomBtn->OnClick = [this](QObject*) { ZoomBtnClick(); };
    LoadBtn->OnClick = [this](QObject*) { LoadBtnClick(); };
    SaveBtn->OnClick = [this](QObject*) { SaveBtnClick(); };
    PrintBtn->OnClick = [this](QObject*) { PrintBtnClick(); };
    PageSetupBtn->OnClick = [this](QObject*) { PageSetupBtnClick(); };
    FindBtn->OnClick = [this](QObject*) { FindBtnClick(); };
    help_ = new TrpContextHelp(*this, *HelpBtn);
    HelpBtn->OnClick = [this](QObject*) { HelpBtnClick(); };
    ExitBtn->OnClick = [this](QObject*) { ExitBtnClick(); };
}

void TrpPreviewForm::MakePageArea()
{
    PreviewPanel = Named(new QWidget(this), "PreviewPanel");
    ScrollBox1 = Named(new QWidget(PreviewPanel), "ScrollBox1");
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->installEventFilter(this);
    PBox = new TrpPBox(*this, ScrollBox1);
    auto* box = new QVBoxLayout(ScrollBox1);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(PBox);

    RPanel = Named(new QWidget(PreviewPanel), "RPanel");
    RPanel->setFixedWidth(16);
    VScrollBar = MakeScrollBar(Qt::Vertical, "VScrollBar", RPanel);
    PgUp = Named(new TrpSpeedButton(RPanel), "PgUp");
    PgDown = Named(new TrpSpeedButton(RPanel), "PgDown");
    for (TrpSpeedButton* button : {PgUp, PgDown})
        button->setFixedSize(16, 16);
    PgUp->SetGlyph(PreviewGlyph(TPreviewGlyph::PageUp));
    PgDown->SetGlyph(PreviewGlyph(TPreviewGlyph::PageDown));
    auto* strip = new QVBoxLayout(RPanel);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    strip->addWidget(VScrollBar, 1);
    strip->addSpacing(1);
    strip->addWidget(PgUp);
    strip->addWidget(PgDown);

    BPanel = Named(new QWidget(PreviewPanel), "BPanel");
    BPanel->setFixedHeight(18);
    Bevel1 = MakeBevel("Bevel1", Label1, "Label1", 90, BPanel);
    Bevel3 = MakeBevel("Bevel3", Label2, "Label2", 200, BPanel);
    HScrollBar = MakeScrollBar(Qt::Horizontal, "HScrollBar", BPanel);
    auto* bottom = new QHBoxLayout(BPanel);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    bottom->addWidget(Bevel1);
    bottom->addWidget(Bevel3);
    bottom->addWidget(HScrollBar, 1);
    // The bar ends where the right strip begins.
    corner_ = Named(new QWidget(BPanel), "Corner");
    corner_->setFixedWidth(16);
    bottom->addWidget(corner_);

    auto* grid = new QGridLayout(PreviewPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(ScrollBox1, 0, 0);
    grid->addWidget(RPanel, 0, 1);
    grid->addWidget(BPanel, 1, 0, 1, 2);
    connect(VScrollBar, &QScrollBar::valueChanged, this, [this](int position) { VScrollBarChange(position); });
    connect(HScrollBar, &QScrollBar::valueChanged, this, [this](int position) { HScrollBarChange(position); });
    PgUp->OnClick = [this](QObject*) { PgUpClick(); };
    PgDown->OnClick = [this](QObject*) { PgDownClick(); };
}

void TrpPreviewForm::MakeZoomMenu()
{
    ProcMenu = Named(new QMenu(this), "ProcMenu");
    zoomItems_ = new QActionGroup(this);
    for (const int tag : {200, 150, 100, 75, 50, 25, 10, int(smPageWidth), int(smWholePage), int(smTwoPages)}) {
        QAction* item = ProcMenu->addAction(QStringLiteral("%1%").arg(tag));
        item->setData(tag);
        item->setCheckable(true);
        item->setChecked(tag == 100);
        zoomItems_->addAction(item);
    }
    connect(ProcMenu, &QMenu::triggered, this, [this](QAction* item) { N3Click(item); });
}

void TrpPreviewForm::Localize()
{
    for (QAction* item : zoomItems_->actions()) {
        const int tag = item->data().toInt();
        if (tag >= smPageWidth && tag <= smTwoPages)
            item->setText(LoadFrResString(context_, 53020 + tag - smPageWidth));
    }
    const std::pair<TrpTBButton*, int> hints[] = {
        {ZoomBtn, 53024}, {LoadBtn, 53025}, {SaveBtn, 53026}, {PrintBtn, 53027},
        {FindBtn, 53028}, {HelpBtn, 53032}, {ExitBtn, 53023},
    };
    for (const auto& [button, id] : hints)
        button->setToolTip(LoadFrResString(context_, id));
}

void TrpPreviewForm::ShowScrollBars(bool vertical, bool horizontal)
{
    RPanel->setVisible(vertical);
    corner_->setVisible(vertical);
    BPanel->setVisible(horizontal);
}

int TrpPreviewForm::PageCount() const
{
    return pages_ ? pages_->Count() : 0;
}

bool TrpPreviewForm::ToolbarOnWindow() const
{
    return TPanel->parentWidget() == this;
}

void TrpPreviewForm::TakePages(TrpReport& report)
{
    report_ = &report;
    pages_ = std::move(report.EMFPages);
    pagesRebuildable_ = report.Rebuildable;
    report.EMFPages = std::make_unique<TrpEMFPages>(report);
}

void TrpPreviewForm::ReturnPages()
{
    if (!report_ || !pages_)
        return;
    report_->EMFPages = std::move(pages_);
    report_->Rebuildable = pagesRebuildable_;
}

void TrpPreviewForm::CheckZoomItem()
{
    const int tag = ScaleMode == smFixed ? int(Round(Scale * 100)) : int(ScaleMode);
    for (QAction* item : zoomItems_->actions())
        if (item->data().toInt() == tag)
            item->setChecked(true);
}

void TrpPreviewForm::ResetView(bool toFirstPage)
{
    Scale = context_.LastScale;
    ScaleMode = TrpScaleMode(context_.LastScaleMode);
    CheckZoomItem();
    Found = false;
    if (toFirstPage) {
        CurPage = 1;
        ScrollOffsetX = ScrollOffsetY = 0;
        lastHPosition_ = lastVPosition_ = 0;
        const QSignalBlocker vertical(VScrollBar);
        const QSignalBlocker horizontal(HScrollBar);
        VScrollBar->setValue(0);
        HScrollBar->setValue(0);
    }
    // A rebuild may have left fewer pages than the page shown.
    CurPage = std::clamp(CurPage, 1, std::max(PageCount(), 1));
    ShowPageNumber();
    FormResize();
    for (int i = 0; i < PageCount(); ++i) {
        pages_->Page(i).Visible = false;
        pages_->ReleaseObjects(i);
    }
    PBox->update();
}

void TrpPreviewForm::FormResize()
{
    if (!HoldsPages()) {
        // An empty preview: nothing to lay out or scroll.
        layout_ = {};
        for (QScrollBar* bar : {VScrollBar, HScrollBar}) {
            bar->setRange(0, 0);
            bar->setEnabled(false);
        }
        return;
    }
    PaintEnabled = false;
    const QSize box = PBox->size();
    const TPaperGeometry& current = pages_->Page(CurPage - 1).PaperGeometry;
    Scale = ModeScale(ScaleMode, Scale, box, QSize(current.PageWidth, current.PageHeight));
    if (ScaleMode == smFixed)
        CheckZoomItem();
    ZoomBtn->SetCaption(QStringLiteral("%1%").arg(Round(Scale * 100)));
    std::vector<QSize> sizes;
    sizes.reserve(size_t(PageCount()));
    for (int i = 0; i < PageCount(); ++i) {
        const TPaperGeometry& g = pages_->Page(i).PaperGeometry;
        sizes.emplace_back(g.PageWidth, g.PageHeight);
    }
    layout_ = LayOutPages(sizes, Scale, box, ScaleMode);
    HScrollBar->setRange(0, layout_.HorzRange);
    HScrollBar->setEnabled(layout_.HorzRange > 0);
    VScrollBar->setRange(0, layout_.VertRange);
    VScrollBar->setEnabled(layout_.VertRange > 0);
    if (isVisible())
        ScrollBox1->setFocus();
    ScrollToPage();
    PaintEnabled = true;
    PBox->update();
}

void TrpPreviewForm::ShowPageNumber()
{
    if (!HoldsPages()) {
        Label1->clear();
        return;
    }
    Label1->setText(QStringLiteral("%1 %2/%3").arg(LoadFrResString(context_, 55004)).arg(CurPage).arg(PageCount()));
    if (OnPageChanged)
        OnPageChanged(CurPage);
}

void TrpPreviewForm::ScrollToPage()
{
    if (HoldsPages() && size_t(CurPage) <= layout_.PageRects.size())
        VScrollBar->setValue(layout_.PageRects[size_t(CurPage - 1)].top() - kGap);
}

void TrpPreviewForm::VScrollBarChange(int position)
{
    PBox->scroll(0, lastVPosition_ - position);
    lastVPosition_ = position;
    ScrollOffsetY = -position;
    // The page whose row holds the line just below the top edge; between rows nothing changes.
    const int line = position + kGap + 1;
    for (size_t i = 0; i < layout_.PageRects.size(); ++i) {
        const QRect& r = layout_.PageRects[i];
        if (r.top() < line && line < r.top() + r.height()) {
            CurPage = int(i) + 1;
            break;
        }
    }
    ShowPageNumber();
}

void TrpPreviewForm::HScrollBarChange(int position)
{
    PBox->scroll(lastHPosition_ - position, 0);
    lastHPosition_ = position;
    ScrollOffsetX = -position;
}

void TrpPreviewForm::PgUpClick()
{
    if (!HoldsPages())
        return;
    if (CurPage > 1)
        --CurPage;
    ShowPageNumber();
    ScrollToPage();
}

void TrpPreviewForm::PgDownClick()
{
    if (!HoldsPages())
        return;
    if (CurPage < PageCount())
        ++CurPage;
    ShowPageNumber();
    ScrollToPage();
}

void TrpPreviewForm::ZoomBtnClick()
{
    ProcMenu->popup(ZoomBtn->mapToGlobal(QPoint(0, ZoomBtn->height())));
}

void TrpPreviewForm::N3Click(QAction* item)
{
    if (!HoldsPages())
        return;
    ScrollOffsetX = 0;
    const int tag = item->data().toInt();
    if (tag >= smPageWidth && tag <= smTwoPages) {
        ScaleMode = TrpScaleMode(tag);
    } else {
        ScaleMode = smFixed;
        Scale = tag / 100.0;
    }
    item->setChecked(true);
    Found = false;
    HScrollBar->setValue(0);
    FormResize();
    context_.LastScale = Scale;
    context_.LastScaleMode = ScaleMode;
    PBox->update();
}

bool TrpPreviewForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!HoldsPages())
        return false;
    const bool control = modifiers & Qt::ControlModifier;
    const auto step = [](QScrollBar* bar, int by) { bar->setValue(bar->value() + by); };
    switch (key) {
    case Qt::Key_Up:
        step(VScrollBar, -kSmallStep);
        break;
    case Qt::Key_Down:
        step(VScrollBar, kSmallStep);
        break;
    case Qt::Key_Left:
        step(HScrollBar, -kSmallStep);
        break;
    case Qt::Key_Right:
        step(HScrollBar, kSmallStep);
        break;
    case Qt::Key_PageUp:
        control ? PgUpClick() : step(VScrollBar, -kLargeStep);
        break;
    case Qt::Key_PageDown:
        control ? PgDownClick() : step(VScrollBar, kLargeStep);
        break;
    case Qt::Key_Space:
        ZoomBtnClick();
        break;
    case Qt::Key_Escape:
        ExitBtnClick();
        break;
    case Qt::Key_Home:
        if (!control)
            return false;
        VScrollBar->setValue(0);
        break;
    case Qt::Key_End:
        if (!control)
            return false;
        CurPage = PageCount();
        ShowPageNumber();
        ScrollToPage();
        break;
    case Qt::Key_O:
    case Qt::Key_S:
    case Qt::Key_F:
    case Qt::Key_P:
        if (!control)
            return false;
        if (key == Qt::Key_O)
            LoadBtnClick();
        else if (key == Qt::Key_S)
            SaveBtnClick();
        else if (key == Qt::Key_F)
            FindBtnClick();
        else if (PrintBtn->isEnabled())
            PrintBtnClick();
        break;
    case Qt::Key_F3:
        if (control)
            break;
        if (!SearchText.isEmpty()) {
            StartSearchAtCurrentPage();
            FindNextText();
        }
        break;
    default:
        // Any other key with Ctrl is taken without doing anything.
        return control;
    }
    return true;
}

void TrpPreviewForm::keyPressEvent(QKeyEvent* event)
{
    if (FormKeyDown(event->key(), event->modifiers()))
        return;
    // Not the dialog's key handling: Escape and Enter never end the window by themselves.
    QWidget::keyPressEvent(event);
}

bool TrpPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    // The keys of the page area are the window's, while the page area is on it.
    if (watched == ScrollBox1 && event->type() == QEvent::KeyPress && ScrollBox1->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString TrpPreviewForm::LinkCaption(const QString& link) const
{
    const std::optional<int> page = LinkedPage(link);
    return page ? QStringLiteral("%1 %2").arg(LoadFrResString(context_, 55004)).arg(*page) : link;
}

void TrpPreviewForm::GoToLinkedPage(const QString& link)
{
    const std::optional<int> page = LinkedPage(link);
    if (!page || *page > PageCount())
        return;
    CurPage = std::max(*page, 1);
    ShowPageNumber();
    ScrollToPage();
}

// ---- Search

void TrpPreviewForm::StartSearchAtCurrentPage()
{
    if (CurPage != SearchPage + 1) {
        SearchPage = CurPage - 1;
        SearchRecord = 0;
    }
}

void TrpPreviewForm::FindBtnClick()
{
    if (!report_ || !pages_)
        return;
    TrpPreviewSearchForm dialog(context_, DialogParent());
    if (dialog.exec() != mrOk || dialog.Edit1->text().isEmpty())
        return;
    SearchCaseSensitive = dialog.CB1->isChecked();
    SearchText = SearchCaseSensitive ? dialog.Edit1->text() : dialog.Edit1->text().toUpper();
    if (dialog.RB1->isChecked()) {
        SearchPage = 0;
        SearchRecord = 0;
    } else {
        StartSearchAtCurrentPage();
    }
    FindNextText();
}

void TrpPreviewForm::FindNextText()
{
    if (!HoldsPages() || SearchText.isEmpty())
        return;
    PaintEnabled = false;
    for (int page = std::max(SearchPage, 0); page < PageCount(); ++page) {
        TrpEMFPage& p = pages_->Page(page);
        const QRect whole(0, 0, p.PaperGeometry.PageWidth, p.PaperGeometry.PageHeight);
        std::optional<TrpTextHit> hit;
        try {
            hit = FindDrawnText(DrawnTexts(*pages_, page, PageDrawRect(p, whole, 1.0)), SearchText,
                                SearchCaseSensitive, page == SearchPage ? SearchRecord : 0);
        } catch (const std::exception& error) {
            context_.Log(QString::fromUtf8(error.what()));
        }
        if (!p.Visible)
            pages_->ReleaseObjects(page);
        if (hit) {
            SearchPage = page;
            SearchRecord = hit->Record + 1;
            PaintEnabled = true;
            ShowFound(page, hit->Bounds);
            return;
        }
    }
    // Nothing further: the view and the place to go on from stay as they were.
    PaintEnabled = true;
}

void TrpPreviewForm::ShowFound(int page, const QRect& bounds)
{
    const QRect& r = layout_.PageRects[size_t(page)];
    const QRect place(r.left() + int(Round(bounds.left() * Scale)), r.top() + int(Round(bounds.top() * Scale)),
                      int(Round(bounds.width() * Scale)), int(Round(bounds.height() * Scale)));
    // The page's top (left) edge just inside the box, unless the place would be beyond the box
    // then: the place just inside the box's far edge.
    const auto position = [](int pageStart, int placeEnd, int boxLength) {
        const int start = pageStart - kGap;
        return placeEnd - start > boxLength ? placeEnd - boxLength + kGap : start;
    };
    VScrollBar->setValue(position(r.top(), place.top() + place.height(), PBox->height()));
    HScrollBar->setValue(position(r.left(), place.left() + place.width(), PBox->width()));
    // After scrolling, which makes the first page of the row current.
    CurPage = page + 1;
    ShowPageNumber();
    Found = true;
    FoundPage = page;
    FoundRect = bounds;
    PBox->repaint();
}

// ---- Context help

void TrpPreviewForm::HelpBtnClick()
{
    help_->Start();
}

void TrpPreviewForm::showEvent(QShowEvent* event)
{
    Localize();
    QDialog::showEvent(event);
}
