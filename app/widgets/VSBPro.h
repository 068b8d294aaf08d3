#pragma once
// The status bar whose panels it draws itself: each panel has its own background colour, an
// image from the bar's image list, its own hint, popup menu and click and double-click
// handlers, and may hold a control that the bar keeps inside the panel. The bar remembers the
// panel under the mouse (the hot panel) and routes hints, popup menus, clicks and double
// clicks to it; without a hot panel (or its handler) they go to the bar's own. In single-panel
// mode the bar shows one text across its width and hides the panels' controls. A panel is never
// narrower than its image and text need, so no text is clipped; the last panel stretches to
// the bar's right edge.
#include <QColor>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QStatusBar>

#include <functional>
#include <memory>
#include <vector>

class TVStatusBarPro;
class TVStatusPanelPro;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

// An event handler; the sender is the panel, or the bar for the bar's own events.
using TNotifyEvent = std::function<void(QObject* sender)>;
// Draws an owner-draw panel into its rectangle.
using TDrawPanelProEvent =
    std::function<void(TVStatusBarPro* statusBar, TVStatusPanelPro* panel, QPainter& painter, const QRect& rect)>;

class TVStatusPanelPro : public QObject {
public:
    int Index() const;
    TVStatusBarPro* Bar() const { return FBar; }

    // Changing these redraws the panel only, or lays out every panel when the panel's text and
    // image no longer fit it.
    QString Text() const { return FText; }
    void SetText(const QString& text);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel bevel);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle style);
    QString Hint() const { return FHint; }
    void SetHint(const QString& hint);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu);
    // A control kept inside the panel; the bar takes it over (it can sit in one panel only).
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* control);

    // Changing these lays out every panel anew.
    // Ignored for the last panel, which fills the bar; a panel is drawn wider when its image
    // and text need it.
    int Width() const { return FWidth; }
    void SetWidth(int width);
    // An invalid colour (the default) stands for the button face of the bar's palette.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);

    int Tag = 0;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // The name in a list of panels: the text, or a default for a panel without one.
    QString DisplayName() const;

private:
    friend class TVStatusBarPro;
    friend class TVStatusPanelsPro;
    explicit TVStatusPanelPro(TVStatusBarPro* bar);
    void Redraw();
    void ContentChanged();
    void Relayout();

    TVStatusBarPro* FBar;
    QString FText;
    int FWidth = 50;
    QColor FColor;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
    int FImageIndex = -1;
    QString FHint;
    QPointer<QMenu> FPopupMenu;
    QPointer<QWidget> FControl;
};

// The bar's panels, in order from the left.
class TVStatusPanelsPro {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TVStatusPanelPro* Items(int index) const;
    TVStatusPanelPro* operator[](int index) const { return Items(index); }
    TVStatusPanelPro* Add();
    TVStatusPanelPro* Insert(int index);
    void Delete(int index);
    void Move(int from, int to);
    void Clear();
    int IndexOf(const TVStatusPanelPro* panel) const;

private:
    friend class TVStatusBarPro;
    explicit TVStatusPanelsPro(TVStatusBarPro* bar) : FBar(bar) {}
    TVStatusBarPro* FBar;
    std::vector<std::unique_ptr<TVStatusPanelPro>> FItems;
};

class TVStatusBarPro : public QStatusBar {
public:
    // The most panels the bar shows; panels beyond are kept but not shown.
    static constexpr int kMaxParts = 128;
    static constexpr int kDefaultHeight = 19;

    explicit TVStatusBarPro(QWidget* parent = nullptr);
    ~TVStatusBarPro() override;

    TVStatusPanelsPro& Panels() { return FPanels; }
    const TVStatusPanelsPro& Panels() const { return FPanels; }

    // The images panels refer to by index.
    const std::vector<QPixmap>& Images() const { return FImages; }
    void SetImages(std::vector<QPixmap> images);

    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool on);
    QString SimpleText() const { return FSimpleText; }
    void SetSimpleText(const QString& text);

    bool SizeGrip() const { return isSizeGripEnabled(); }
    void SetSizeGrip(bool on) { setSizeGripEnabled(on); }
    // The bar's font follows the application's status-bar font while this is on.
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool on);
    // Hints of the application (status tips) go into the bar by themselves.
    bool AutoHint = false;
    // Shows the panels' hints (and the bar's) as the mouse moves over them.
    bool ShowHint = true;

    // An invalid colour (the default) stands for the palette's button face.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);

    QString Hint;                        // the bar's own hint
    QPointer<QMenu> PopupMenu;           // the bar's own popup menu
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TDrawPanelProEvent OnDrawPanel;
    // An application hint; returns true when it handled the hint itself.
    std::function<bool(const QString& hint)> OnHint;

    // The panel under the mouse at the last press or move, or nullptr.
    TVStatusPanelPro* HotPanel() const { return FHotPanel; }
    // The hint shown now: the hot panel's, else the bar's own.
    QString CurrentHint() const;

    // The right edge of each shown part, the last one -1 (to the bar's right edge); one part
    // at -1 without panels.
    std::vector<int> PartEdges() const;
    // The width a text panel's image and text need (0 for owner-drawn panels and panels with
    // a control), and the width a shown panel takes: its Width, or that when larger.
    int ContentWidth(const TVStatusPanelPro& panel) const;
    int PartWidth(int index) const;
    // The rectangle of a shown panel inside the bar (its border included); empty when the
    // panel is not shown.
    QRect PanelRect(int index) const;
    // The panel whose rectangle holds the point, or nullptr.
    TVStatusPanelPro* PanelAt(const QPoint& point) const;

    // Where a panel's image and text go, as it is drawn.
    struct TPanelDrawing {
        QRect Rect;        // inside the border
        QPoint ImageAt;    // top left of the image; meaningless without one
        bool HasImage = false;
        int TextX = 0;     // where the text starts
        int TextY = 0;     // the text's top
        QRect ControlRect; // where an embedded control goes
    };
    TPanelDrawing PanelDrawing(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TVStatusPanelPro;
    friend class TVStatusPanelsPro;

    int ShownCount() const;
    bool RightToLeft() const { return layoutDirection() == Qt::RightToLeft; }
    QColor PanelColor(const TVStatusPanelPro& panel) const;
    bool ValidImage(int index) const;
    void LayoutPanels();
    void PlaceControls();
    void RedrawPanel(const TVStatusPanelPro& panel);
    // After a change of a panel's text or image: lays out every panel when the part widths
    // change, else redraws the panel.
    void PanelContentChanged(const TVStatusPanelPro& panel);
    void ReleaseControl(QWidget* control, const TVStatusPanelPro* keeper);
    void PanelRemoved(const TVStatusPanelPro* panel);
    void DrawPanel(QPainter& painter, int index);
    void SetHotPanel(TVStatusPanelPro* panel);
    void ApplicationHint(const QString& hint);
    void Click();
    void DblClick();

    TVStatusPanelsPro FPanels;
    std::vector<QPixmap> FImages;
    bool FSimplePanel = false;
    QString FSimpleText;
    bool FUseSystemFont = true;
    QColor FColor;
    TVStatusPanelPro* FHotPanel = nullptr;
    std::vector<int> FShownEdges;   // the part edges at the last layout
    bool FSwallowRelease = false;   // the release that ends a double click is no click
};
