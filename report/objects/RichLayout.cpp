#include "report/objects/RichLayout.h"

#include <algorithm>
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include "report/objects/ReportFont.h"

namespace {

// Line bottoms are fractions of a pixel; a height that holds them up to rounding holds them.
constexpr qreal kTolerance = 1e-6;

QStringList ReportFamilies(const QString& family)
{
    return {ReportFontFamily(family), family};
}

QTextCharFormat ReportFormat(QTextCharFormat format, const QString& defaultFamily)
{
    const QStringList families = format.fontFamilies().toStringList();
    format.setFontFamilies(ReportFamilies(families.isEmpty() || families.first().isEmpty() ? defaultFamily
                                                                                           : families.first()));
    format.setFontKerning(false);
    format.setFontHintingPreference(QFont::PreferFullHinting);
    return format;
}

// Every character format of the document in the report fonts.
void UseReportFonts(QTextDocument& document)
{
    QFont font = document.defaultFont();
    const QString defaultFamily = font.family();
    font.setFamilies(ReportFamilies(defaultFamily));
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        cursor.setBlockCharFormat(ReportFormat(block.charFormat(), defaultFamily));
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(ReportFormat(fragment.charFormat(), defaultFamily));
        }
    }
    cursor.endEditBlock();
}

}  // namespace

TrpRichLayout::TrpRichLayout(const QTextDocument& source, QPaintDevice* device, int width)
    : document_(source.clone()), width_(std::max(width, 0)), textEnd_(source.characterCount() - 1)
{
    QTextDocument& document = *document_;
    document.setUndoRedoEnabled(false);
    UseReportFonts(document);
    document.setDocumentMargin(0);
    document.documentLayout()->setPaintDevice(device);
    document.setTextWidth(width_);
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    layout.documentSize();   // lays the whole document out
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const qreal blockTop = layout.blockBoundingRect(block).top();
        const QTextLayout& lines = *block.layout();
        for (int i = 0; i < lines.lineCount(); ++i) {
            const QTextLine line = lines.lineAt(i);
            const int start = block.position() + line.textStart();
            // A paragraph's last line ends where the next paragraph starts.
            const int end = i + 1 < lines.lineCount() ? start + line.textLength()
                                                      : std::min(block.position() + block.length(), textEnd_);
            lines_.push_back({start, end, blockTop + line.y(), blockTop + line.y() + line.height()});
        }
    }
}

TrpRichLayout::~TrpRichLayout() = default;

std::vector<TrpRichLayout::TLine>::const_iterator TrpRichLayout::LineAt(int position) const
{
    if (position > textEnd_)
        return lines_.end();
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                        [](int p, const TLine& line) { return p < line.Start; });
    return after == lines_.begin() ? lines_.end() : after - 1;
}

std::vector<TrpRichLayout::TLine>::const_iterator TrpRichLayout::FitLines(std::vector<TLine>::const_iterator first,
                                                                          int height) const
{
    const qreal limit = first->Top + height + kTolerance;
    return std::upper_bound(first, lines_.end(), limit, [](qreal y, const TLine& line) { return y < line.Bottom; });
}

int TrpRichLayout::FitEnd(int start, int height, bool atLeastOneLine) const
{
    const auto first = LineAt(start);
    if (first == lines_.end())
        return start;
    auto last = FitLines(first, height);
    if (last == first) {
        if (!atLeastOneLine)
            return start;
        last = first + 1;
    }
    return (last - 1)->End;
}

int TrpRichLayout::Height(int start, int end) const
{
    if (end <= start)
        return 0;
    const auto first = LineAt(start);
    const auto last = LineAt(end - 1);
    if (first == lines_.end() || last == lines_.end())
        return 0;
    return int(std::ceil(last->Bottom - first->Top - kTolerance));
}

void TrpRichLayout::Draw(QPainter& painter, int start, int height) const
{
    const auto first = LineAt(start);
    if (first == lines_.end() || height <= 0)
        return;
    auto last = std::max(FitLines(first, height), first + 1);
    const qreal top = first->Top;
    const qreal shown = std::min<qreal>((last - 1)->Bottom - top, height);
    painter.save();
    painter.setClipRect(QRectF(0, 0, width_, shown), Qt::IntersectClip);
    painter.translate(0, -top);
    QAbstractTextDocumentLayout::PaintContext paint;
    paint.clip = QRectF(0, top, width_, shown);
    paint.palette.setColor(QPalette::Text, Qt::black);   // text in the automatic colour
    document_->documentLayout()->draw(&painter, paint);
    painter.restore();
}
