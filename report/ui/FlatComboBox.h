#pragma once
// The flat combo boxes of the engine's editor windows: a drop-down list with an edit field,
// drawn flat (a plain frame and a thin arrow button) until the mouse, the focus or the open
// list makes it active, when the frame sinks and the button rises. Items are one line of the
// font high. An image area of ImageIndent pixels may stand left of the edit field.
#include <QComboBox>

class TrpCustomComboBox : public QComboBox {
public:
    explicit TrpCustomComboBox(QWidget* parent = nullptr);

    static constexpr int kButtonWidth = 11;

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int ImageIndent() const { return FImageIndent; }
    // The height of one item of the list.
    virtual int ItemHeight() const;
    // The control counts as active while its list is open, its edit field has the focus or the
    // mouse is over it.
    bool IsActive() const;
    bool DroppedDown() const { return FDroppedDown; }
    // The open list lies above the control (there was no room below).
    bool DropsUpward() const { return FDropsUpward; }

    void showPopup() override;
    void hidePopup() override;

protected:
    void SetImageIndent(int indent);
    // Paints the image area (left of the edit field); the base fills it with the window colour.
    virtual void DrawImage(QPainter& painter, const QRect& area);
    // Where the edit field goes: right of the image area, inside the frame, left of the button.
    QRect EditRect() const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceEdit();
    void DrawArrow(QPainter& painter, const QRect& button, bool pressed) const;

    int FImageIndent = 0;
    bool FReadOnly = false;
    bool FDroppedDown = false;
    bool FDropsUpward = false;
};

// The flat combo box as editor windows place it, with the read-only switch.
class TrpComboBox : public TrpCustomComboBox {
public:
    using TrpCustomComboBox::TrpCustomComboBox;
};
