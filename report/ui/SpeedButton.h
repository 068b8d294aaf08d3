#pragma once
// The engine's own tool bar buttons. TrpSpeedButton draws a glyph and an optional caption,
// with a flat hot-tracking look (a frame only under the mouse) and, while the mouse is away,
// the glyph in grey tones. Buttons of one parent with the same non-zero GroupIndex act as a
// radio group: one of them stays Down, and with AllowAllUp the down one may be released too.
// TrpTBButton is the same, flat and stacked on a tool bar panel; TrpTBSeparator is the gap
// between groups of buttons, with an optional etched line.
#include <functional>

#include <QImage>
#include <QString>
#include <QWidget>

#include "report/ui/ButtonGlyph.h"
#include "report/ui/ControlAlign.h"

class TrpSpeedButton;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

using TNotifyEvent = std::function<void(QObject* sender)>;

// Where the glyph and the caption go inside the content rectangle of a button: both centred
// across the layout direction; along it, Margin is the edge-to-glyph distance (-1 centres the
// block) and Spacing the glyph-to-caption gap (-1 shares the free space).
struct TButtonLayoutResult {
    QPoint GlyphPos;
    QRect TextRect;
};
TButtonLayoutResult CalcButtonLayout(const QRect& client, QSize glyph, QSize caption, TButtonLayout layout,
                                     int margin, int spacing);

class TrpSpeedButton : public QWidget {
public:
    explicit TrpSpeedButton(QWidget* parent = nullptr);

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // Stays false without a group index; a down button without AllowAllUp cannot be released.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // "&" marks the accelerator letter, which clicks the button.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    const QImage& Glyph() const { return FGlyph.Glyph(); }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int count);
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetGrayedInactive(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return FMargin; }
    // Values below -1 are refused.
    void SetMargin(int margin);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);

    // The drawing state outside painting: up, pressed while the mouse is held, or held down.
    TButtonState State() const { return FState; }
    // The flat look's hot flag: the mouse is over the button.
    bool MouseInControl() const { return FMouseInControl; }
    // The image the glyph is drawn with in a state.
    const QImage& GlyphImage(TButtonState state);

    void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;   // only while the button is down
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    TGlyphColours Colours() const;
    // Tells the buttons of the group about this one (its down state and AllowAllUp).
    void UpdateExclusive();
    void ButtonPressed(const TrpSpeedButton& sender);
    bool Inside(QPointF point) const;
    void UpdateHot(QPointF point);
    void DrawGlyphAndCaption(QPainter& painter, const QRect& content, TButtonState state);

    TButtonGlyph FGlyph;
    QString FCaption;
    int FShortcutId = 0;
    TButtonState FState = bsUp;
    TButtonLayout FLayout = blGlyphLeft;
    int FGroupIndex = 0;
    int FMargin = -1;
    int FSpacing = 4;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FFlat = false;
    bool FGrayedInactive = true;
    bool FMouseInControl = false;
    bool FDragging = false;
};

// A speed button made for tool bars: flat, and aligned by the tool bar rule on its panel.
class TrpTBButton : public TrpSpeedButton {
public:
    explicit TrpTBButton(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};

// A gap between tool bar buttons, 8 x 8, with an etched line across it unless DrawBevel is off.
class TrpTBSeparator : public QWidget {
public:
    explicit TrpTBSeparator(QWidget* parent = nullptr);

    bool DrawBevel() const { return FDrawBevel; }
    void SetDrawBevel(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool FDrawBevel = true;
};
