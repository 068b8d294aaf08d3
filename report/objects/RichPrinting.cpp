// The rich-text object while a report is built and shown: expansion of its expressions, its
// height, the part of it that fits a page, its entry in a prepared page, and drawing.
//
// Splitting across pages: CalcHeight resets the split positions; for every part the band
// engine asks RestHeight at the height the part prints with, then prints it with PassMode 2.
// Each part starts where the one before ended (PrevEndPos) and ends after the last line that
// fits its height (EndPos).
#include <QPainter>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>

#include "base/Rounding.h"
#include "report/engine/Report.h"
#include "report/expr/Parser.h"
#include "report/objects/RichLayout.h"
#include "report/objects/RichView.h"
#include "report/runtime/RunContext.h"

namespace {

// Keeps the characters from..to of the text. A part that ends where a paragraph starts ends
// with the paragraph before it, without an empty one after.
void KeepRichPart(QTextDocument& text, int from, int to)
{
    QTextCursor cursor(&text);
    if (to < text.characterCount() - 1) {
        const bool paragraphStart = text.findBlock(to).position() == to;
        cursor.setPosition(to > from && paragraphStart ? to - 1 : to);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    if (from > 0) {
        cursor.setPosition(0);
        cursor.setPosition(std::min(from, text.characterCount() - 1), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

// A value's line breaks, each one character as the document counts it: a paragraph end.
QString AsParagraphs(QString value)
{
    value.replace(QStringLiteral("\r\n"), QChar(QChar::ParagraphSeparator));
    value.replace(QLatin1Char('\r'), QChar(QChar::ParagraphSeparator));
    value.replace(QLatin1Char('\n'), QChar(QChar::ParagraphSeparator));
    return value;
}

}  // namespace

int TrpRichView::TextWidth() const
{
    return Width - 2 * GapX;
}

int TrpRichView::TextHeight() const
{
    return Height - 2 * GapY;
}

void TrpRichView::ExpandRichTextExpressions(QTextDocument& text)
{
    if (Flags & rfTextOnly)
        return;
    TrpReport& report = OwnerReport();
    QString plain = text.toRawText();   // one character for each of the document's positions
    QTextCursor cursor(&text);
    cursor.beginEditBlock();
    for (int p = int(plain.indexOf(QLatin1Char('['))); p >= 0;) {
        int start = p;
        int end = p;
        const QString expression = ScanBracketedExpression(plain, start, end);
        if (start == end)
            break;   // a "[" that ends the text
        const QString value = AsParagraphs(report.ExpandExpression(expression));
        cursor.setPosition(start + 1);
        const QTextCharFormat format = cursor.charFormat();   // the "["'s
        cursor.setPosition(start);
        cursor.setPosition(end + 1, QTextCursor::KeepAnchor);
        cursor.insertText(value, format);
        plain.replace(start, end - start + 1, value);
        p = int(plain.indexOf(QLatin1Char('['), start + value.size()));
    }
    cursor.endEditBlock();
}

void TrpRichView::PrepareWorkText()
{
    CopyRich(WorkRich, *RichEdit);
    ExpandRichTextExpressions(*WorkRich);
}

int TrpRichView::MeasureRichHeight()
{
    // The laid-out lines give the height at once. Every line fits at its own height, so a text
    // whose first line is taller than a small height needs more, and no height is searched for.
    const TrpRichLayout layout(*WorkRich, &Context().ScratchBitmap, TextWidth());
    int height = layout.Height(StartPos, layout.TextEnd());
    if (height < 2)
        height = 8;
    return height + 2 * GapY;
}

int TrpRichView::CalcHeight()
{
    EndPos = PrevEndPos = 0;
    partsPrinted_ = 0;
    if (!BeginMeasure())
        return 0;
    PrepareWorkText();
    StartPos = 0;
    return MeasureRichHeight();
}

int TrpRichView::PartEnd(const TrpRichLayout& layout) const
{
    // A continued part starts a fresh page: it takes at least one line, so that a line taller
    // than the page prints clipped instead of moving on from page to page.
    return layout.FitEnd(PrevEndPos, TextHeight(), partsPrinted_ > 0);
}

int TrpRichView::RestHeight()
{
    PrepareWorkText();
    const TrpRichLayout layout(*WorkRich, &Context().ScratchBitmap, TextWidth());
    if (PrevEndPos >= layout.TextEnd())
        return 0;   // all printed: the rest of the object is room enough
    int taken = layout.Height(PrevEndPos, PartEnd(layout));
    if (taken < 2)
        taken = 8;
    taken += 2 * GapY;
    // The object grows by the room this part leaves empty, and by the gaps and frame that the
    // next part takes again, so that the rest of the text finds room on the next page.
    return std::max(Height - taken, 0) + 2 * GapY + int(Round(2 * FrameWidth));
}

void TrpRichView::PrintToStream(QIODevice& stream)
{
    BeginDraw(Canvas);
    WorkText = Memo;
    OwnerReport().BeforePrintHook(WorkText, this);
    RunScript();
    const auto done = qScopeGuard([this] {
        SaveFromWork = false;
        PassMode = pmNormal;
    });
    if (!Visible)
        return;
    const QString savedTag = Tag;
    const auto restoreTag = qScopeGuard([&] { Tag = savedTag; });
    if (Tag.contains(QLatin1Char('[')))
        ExpandText(Tag);
    PrepareWorkText();
    if (PassMode == pmPartFits) {
        StartPos = PrevEndPos;
        EndPos = PartEnd(TrpRichLayout(*WorkRich, &Context().ScratchBitmap, TextWidth()));
        KeepRichPart(*WorkRich, PrevEndPos, EndPos);
        PrevEndPos = EndPos;
        ++partsPrinted_;
    } else {
        EndPos = PrevEndPos = 0;   // a whole print ends any split
        partsPrinted_ = 0;
    }
    AlignToCurrentBand(true);
    SaveFromWork = true;
    WriteEntry(stream);
}

void TrpRichView::Draw(QPainter* canvas)
{
    BeginDraw(canvas);
    SaveAndScaleCoords();
    DrawBackground();
    StartPos = 0;
    if (Canvas && Width > 0 && Height > 0) {
        // Laid out at the unscaled size and drawn scaled, so that lines break alike at every
        // zoom and on the printer.
        const TrpRichLayout layout(*RichEdit, &Context().ScratchBitmap, saved_.Width - 2 * saved_.GapX);
        Canvas->save();
        Canvas->translate(DrawRect.Left + GapX, DrawRect.Top + GapY);
        Canvas->scale(ZoomX, ZoomY);
        layout.Draw(*Canvas, StartPos, saved_.Height - 2 * saved_.GapY);
        Canvas->restore();
    }
    DrawFrame();
    RestoreCoords();
}
