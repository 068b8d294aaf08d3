#pragma once
// The preview's page box: paints the laid-out pages of its window on grey, follows the pointer
// over them (links, their cursor and text) and scrolls by dragging. Only the pages that show
// are drawn; the others have their live objects released, so that only what is on screen stays
// unpacked.
#include <QPoint>
#include <QWidget>

class QRegion;
class TrpPreviewForm;

class TrpPBox : public QWidget {
public:
    TrpPBox(TrpPreviewForm& form, QWidget* parent);

    // Paints the part of the box in region: the pages that show it, marked where a search found
    // its text; without pages, the button face.
    void PaintPages(QPainter& painter, const QRegion& region);

    bool Dragging = false;
    QPoint LastMousePos;   // global, while dragging
    int ClickedPage = 1;   // the page last clicked, from 1

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The page under a box point (from 0) and the point in its page units; -1 off the pages.
    int PageUnderPoint(QPoint boxPoint, QPoint& pagePoint) const;
    void LeftButtonDown(QPoint boxPoint, QPoint globalPos);
    void ShowPopupMenu(QPoint globalPos);
    void Hover(QPoint boxPoint);

    TrpPreviewForm& form_;
};
