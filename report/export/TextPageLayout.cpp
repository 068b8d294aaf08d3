#include "report/export/TextPageLayout.h"

#include <algorithm>

#include "base/Rounding.h"
#include "report/objects/MemoView.h"
#include "report/objects/View.h"

namespace {

constexpr double kUnitsPerCharacter = 6.5;
// Lines are set room for beforehand up to this many columns; wider ones grow as they fill.
constexpr int kMaxGridColumns = 4096;

constexpr uint8_t kVertical = fdUp | fdDown;
constexpr uint8_t kHorizontal = fdLeft | fdRight;

struct TEdgeCorners {
    uint8_t Left;
    uint8_t Right;
};
constexpr TEdgeCorners kTopCorners{fdRight | fdDown, fdLeft | fdDown};
constexpr TEdgeCorners kBottomCorners{fdRight | fdUp, fdLeft | fdUp};

void PadTo(TTextLine& line, qsizetype length)
{
    if (line.Text.size() < length)
        line.Text.resize(length, QLatin1Char(' '));
}

// Frame pieces on count cells from a column counted from 1; pieces meeting a piece join it,
// anything else under them is overwritten. Cells left of the line's start and right of the
// last column are dropped.
void PutPieces(TTextLine& line, int column, int count, uint8_t mask, int lastColumn)
{
    const int first = std::max(column, 1);
    const int end = int(std::min<int64_t>(int64_t(column) + count, int64_t(lastColumn) + 1));   // past the last
    if (end <= first)
        return;
    PadTo(line, end);
    if (line.Frame.size() < size_t(end - 1))
        line.Frame.resize(size_t(end - 1), 0);
    QChar* text = line.Text.data();
    uint8_t* frame = line.Frame.data();
    for (int cell = first - 1; cell < end - 1; ++cell) {
        frame[cell] |= mask;
        text[cell] = QLatin1Char(' ');
    }
}

// A horizontal edge of width cells from column, with its corners where the frame has sides.
void PutEdge(TTextLine& line, int column, int width, bool left, bool right, TEdgeCorners corners, int lastColumn)
{
    int first = column;
    int count = width;
    if (left) {
        PutPieces(line, column, 1, corners.Left, lastColumn);
        ++first;
        --count;
    }
    if (right) {
        PutPieces(line, column + width - 1, 1, corners.Right, lastColumn);
        --count;
    }
    PutPieces(line, first, count, kHorizontal, lastColumn);
}

// The text goes into the blanks of the line; frame pieces and earlier text stay.
void MergeInto(TTextLine& line, const QString& text)
{
    PadTo(line, text.size());
    QChar* into = line.Text.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (into[i] == QLatin1Char(' ') && !line.FrameAt(i))
            into[i] = text[i];
}

bool IsBlank(const QString& text)
{
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    return std::all_of(units, units + text.size(), [](char16_t c) { return c == u' '; });
}

int TextColumn(const TrpTextRec& record, double unitsPerCharacter, bool framesDrawn)
{
    const int length = int(record.Text.size());
    if (record.Alignment & taVertical)
        return int(Round(record.X / unitsPerCharacter));
    switch (record.Alignment & 3) {
    case taRight: {
        // The right frame takes the column of the rectangle's edge: the text ends before it.
        const int beforeFrame = framesDrawn && (record.FrameTyp & frRight) ? 1 : 0;
        return int(Round(record.X / unitsPerCharacter)) - length - beforeFrame;
    }
    case taCenter:
        return int(Round((record.DrawRect.Left + record.DrawRect.Right) / 2.0 / unitsPerCharacter)) - length / 2;
    default:
        return int(Round(record.X / unitsPerCharacter));
    }
}

class TPageBuilder {
public:
    TPageBuilder(const TTextLayoutOptions& options) : options_(options), k_(kUnitsPerCharacter / options.ScaleX) {}

    void AddGridLine(const std::vector<TrpTextRec>& records)
    {
        QString text;
        text.reserve(LineRoom());
        int used = 0;
        current_ = int(lines_.size());
        for (const TrpTextRec& record : records) {
            const int column = TextColumn(record, k_, options_.ExportFrames);
            if (column > options_.PageColumns)
                continue;   // off the page
            if (column > used)
                text.resize(text.size() + (column - used), QLatin1Char(' '));
            text.append(record.Text);
            used = column + int(record.Text.size());
            if (options_.ExportFrames && record.FrameTyp)
                AddFrame(record);
        }
        // A line of blanks is as empty as no line: killed, it would still show as one.
        if (options_.KillEmptyLines && IsBlank(text))
            return;
        if (current_ >= int(lines_.size()))
            lines_.push_back(TTextLine{text, {}, false});
        else
            MergeInto(lines_[size_t(current_)], text);
    }

    std::vector<TTextLine> Take() { return std::move(lines_); }

private:
    // Room for a whole line of the page, frames one cell past its last column included, so
    // that a line is not grown piece by piece.
    qsizetype LineRoom() const { return qsizetype(std::clamp(options_.PageColumns, 0, kMaxGridColumns)) + 2; }

    TTextLine NewLine() const
    {
        TTextLine line;
        line.Text.reserve(LineRoom());
        line.Frame.reserve(size_t(LineRoom()));
        return line;
    }

    void AddFrame(const TrpTextRec& record)
    {
        // Columns of a frame reaching far off the page are clamped just beyond it.
        const auto columnOf = [this](int units) {
            return int(std::clamp<int64_t>(Round(units / k_), -1, int64_t(options_.PageColumns) + 2));
        };
        const int left = columnOf(record.DrawRect.Left);
        const int width = columnOf(record.DrawRect.Right) - left + 1;
        const int last = options_.PageColumns + 1;
        const bool leftSide = record.FrameTyp & frLeft;
        const bool rightSide = record.FrameTyp & frRight;
        if (record.FrameTyp & frTop) {
            if (current_ == 0) {
                // Nothing above the text yet: the edge gets a line of its own before it.
                lines_.insert(lines_.begin(), NewLine());
                current_ = 1;
            } else if (lines_[size_t(current_ - 1)].HasText()) {
                lines_.push_back(NewLine());
                current_ = int(lines_.size());
            }
            PutEdge(lines_[size_t(current_ - 1)], left, width, leftSide, rightSide, kTopCorners, last);
        }
        if (record.FrameTyp & frBottom) {
            while (int(lines_.size()) < current_ + 2)
                lines_.push_back(NewLine());
            PutEdge(lines_[size_t(current_ + 1)], left, width, leftSide, rightSide, kBottomCorners, last);
        }
        if (leftSide || rightSide) {
            if (current_ >= int(lines_.size())) {
                lines_.push_back(NewLine());
                current_ = int(lines_.size()) - 1;
            }
            TTextLine& line = lines_[size_t(current_)];
            if (leftSide)
                PutPieces(line, left, 1, kVertical, last);
            if (rightSide)
                PutPieces(line, left + width - 1, 1, kVertical, last);
        }
    }

    const TTextLayoutOptions& options_;
    const double k_;
    std::vector<TTextLine> lines_;
    int current_ = 0;   // the output line the grid line's text goes to
};

} // namespace

bool TTextLine::HasText() const
{
    // A frame piece's cell holds a blank (PutPieces).
    return !IsBlank(Text);
}

std::vector<TTextLine> LayOutTextPage(const std::vector<std::vector<TrpTextRec>>& grid,
                                      const TTextLayoutOptions& options)
{
    const auto last = std::find_if(grid.rbegin(), grid.rend(), [](const auto& line) { return !line.empty(); });
    TPageBuilder builder(options);
    for (auto line = grid.begin(); line != last.base(); ++line)
        builder.AddGridLine(*line);
    return builder.Take();
}
