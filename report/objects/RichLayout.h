#pragma once
// Rich text laid out as the report engine measures and draws it: a copy of the document in the
// report fonts (Windows families through their metric-compatible stand-ins, fully hinted and
// unkerned, as ReportFont.h makes them), laid out at a width in page units on the run
// context's 96-DPI measuring image, so that lines break alike in a build, in the preview at any
// zoom and on the printer.
//
// Positions are the document's character positions (QTextCursor's); the copy keeps them. A
// part of the text that fits a height always ends at the end of a line, and the end of a
// paragraph's last line is the start of the next paragraph.
#include <memory>
#include <vector>

#include <QTextDocument>

class QPainter;
class QPaintDevice;

class TrpRichLayout {
public:
    // A width below 0 lays out as 0 (every word on a line of its own).
    TrpRichLayout(const QTextDocument& source, QPaintDevice* device, int width);
    ~TrpRichLayout();

    // The position after the last character.
    int TextEnd() const { return textEnd_; }
    // The position after the last whole line that fits into height, counting from the line
    // where start stands; start itself when not even one line fits, unless atLeastOneLine,
    // which takes the first line whatever its height.
    int FitEnd(int start, int height, bool atLeastOneLine = false) const;
    // The height (whole pixels, rounded up) of the lines from the one where start stands to
    // the one that ends at end; 0 when they hold no character.
    int Height(int start, int end) const;
    // Draws the lines from the one where start stands that fit into height (at least that
    // first one, clipped), its top at the painter's origin, clipped to the width.
    void Draw(QPainter& painter, int start, int height) const;

private:
    struct TLine {
        int Start, End;
        qreal Top, Bottom;
    };
    // The line where the position stands, or the end of the list past the text.
    std::vector<TLine>::const_iterator LineAt(int position) const;
    // The end of the line list when the lines from first on fit into height.
    std::vector<TLine>::const_iterator FitLines(std::vector<TLine>::const_iterator first, int height) const;

    std::unique_ptr<QTextDocument> document_;
    std::vector<TLine> lines_;
    int width_;
    int textEnd_;
};
