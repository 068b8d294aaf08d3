#pragma once
// The ruler of the rich-text editor: three markers for the current paragraph's indents, which
// the mouse drags. Indents are in whole points, as the editor's paragraph format keeps them: the
// first line's indent, the other lines' indent counted from the first line's, and the right
// indent. The ruler is in pixels, a point being 4/3 pixel; every conversion truncates.
#include <array>
#include <functional>

#include <QWidget>

struct TParaIndents {
    int First = 0;
    int Left = 0;
    int Right = 0;
    bool operator==(const TParaIndents&) const = default;
};

enum TRulerMarker { rmFirst, rmLeft, rmRight };

class TrpRichRuler : public QWidget {
public:
    static constexpr int kMarkerWidth = 9;

    explicit TrpRichRuler(QWidget* parent = nullptr);

    // Places the markers for a paragraph's indents.
    void SetIndents(const TParaIndents& indents);
    const TParaIndents& Indents() const { return indents_; }
    // The left edge of a marker.
    int MarkerX(TRulerMarker marker) const { return x_[marker]; }

    // A marker was dropped; the indents it gives (dropping the first-line marker keeps the
    // other lines where the left marker stands).
    std::function<void(const TParaIndents& indents)> OnIndentsChanged;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceMarkers();
    TParaIndents DroppedIndents(TRulerMarker marker) const;

    TParaIndents indents_;
    std::array<int, 3> x_{};
    int grabbed_ = -1;   // the marker the mouse holds
};

// Marker positions (left edges) for indents on a ruler of that client width, and back.
int FirstIndentX(int first);
int LeftIndentX(int left, int first);
int RightIndentX(int right, int clientWidth);
int FirstIndentAt(int x);
int LeftIndentAt(int x, int first);
int RightIndentAt(int x, int clientWidth);
