#pragma once
// The board's background beneath the silo-block frames: a 50-pixel grid to line the frames up
// by. The frames are its children, so they scroll with it; it grows to hold every frame.
#include <QWidget>

class TBinPanel : public QWidget {
    Q_OBJECT

public:
    explicit TBinPanel(QWidget* parent = nullptr);

    // Grows the panel (through its minimum size) so that every child frame lies inside it,
    // plus a margin, and shrinks it again when frames move back.
    void FitToFrames();

protected:
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The spacing of the board's grid lines, in pixels.
inline constexpr int kBoardGridStep = 50;
