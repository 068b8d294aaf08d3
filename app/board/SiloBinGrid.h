#pragma once
// The table of a silo-block frame: one cell per silo, each painted as a column of coloured
// bands (one per sensor, the top sensor on top) with the silo's name over them. It draws
// straight from the frame's cells and the sensors, so a repaint after a pass costs one look at
// each shown sensor and nothing is copied.
//
// At most twelve columns are shown, whatever the frame's column count. The focused cell is the
// one the frame's pop-up actions and the sensor detail list work on; the selection is never
// drawn (a selected silo shows its yellow marker instead).
#include <QColor>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QWidget>

#include <vector>

class TfrSiLoBin;

class TSiloBinGrid : public QWidget {
public:
    explicit TSiloBinGrid(TfrSiLoBin& frame, QWidget* parent);

    // The shown shape: rows of the given height, columns of one width.
    void SetShape(int rows, int rowHeight, int colWidth, int visibleCols);
    int Rows() const { return rows_; }
    int RowHeight() const { return rowHeight_; }
    int ColWidth() const { return colWidth_; }
    int VisibleCols() const { return visibleCols_; }
    // The rectangle of cell (row, col) in the table's coordinates.
    QRect CellRect(int row, int col) const;
    // The cell under a point; false when there is none.
    bool CellAt(const QPoint& point, int& row, int& col) const;

    // The focused cell; -1, -1 when none.
    int FocusedRow() const { return focusedRow_; }
    int FocusedCol() const { return focusedCol_; }
    // Focuses a cell (or none with -1); the frame hears of every change.
    void SetFocusedCell(int row, int col);

    void RepaintRow(int row);

    // The table's own font (Tahoma, bold, 16 pixels) and the font names of more than three
    // characters are drawn in: smaller until "WWWW" fits the column less 10 pixels, with
    // `lowered` telling whether it had to shrink.
    static QFont TableFont();
    QFont NameFont(bool& lowered) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // A part of a cell painted in a colour of its own, which a name drawn over it must stand out
    // from.
    struct TNameGround {
        QRect Rect;
        QColor Colour;
    };
    using TNameGrounds = std::vector<TNameGround>;

    void PaintCell(QPainter& painter, int row, int col, const QFont& nameFont, bool nameFontLowered);
    // Draws a name centred in the rectangle, readable on the grounds it crosses (in painting
    // order) and on the table's background; the laid-out texts are kept, since the same names
    // are drawn at every repaint.
    void DrawName(QPainter& painter, const QRect& rect, const QString& text, bool small, const TNameGrounds& grounds);

    TfrSiLoBin& frame_;
    int rows_ = 0;
    int rowHeight_ = 18;
    int colWidth_ = 50;
    int visibleCols_ = 0;
    int focusedRow_ = -1;
    int focusedCol_ = -1;
    // Laid-out names: at the table's font, and at the lowered font of the current column width.
    QHash<QString, QStaticText> fullNames_;
    QHash<QString, QStaticText> smallNames_;
    QFont smallFont_;
    bool smallFontLowered_ = false;
    int smallFontWidth_ = -1;
    // Black or white over a colour (ReadableTextColour), kept by colour: a board shows few.
    QColor TextColourOn(const QColor& background);

    QColor nameColour_;   // of names on the table's own background, for the paint under way
    QHash<QRgb, QColor> textColours_;
};

// The smallest size a name's font is lowered to, in pixels: however narrow a hand-edited
// layout makes the columns, the lowering ends.
inline constexpr int kMinNameFontPixels = 6;
