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
#include <QTextDocumentFragment>

#include "base/Rounding.h"
#include "report/engine/Report.h"
#include "report/expr/Parser.h"
#include "report/objects/RichLayout.h"
#include "report/objects/RichView.h"
#include "report/runtime/RunContext.h"

namespace {

// The characters from..to of the text as a text of their own, copied without the rest, which
// may be long. A part that ends where a paragraph starts ends with the paragraph before it,
// without an empty one after; its first paragraph keeps its format.
std::unique_ptr<QTextDocument> RichPart(QTextDocument& text, int from, int to)
{
    const int end = text.characterCount() - 1;
    to = std::min(to, end);
    from = std::min(from, to);
    if (to < end && to > from && text.findBlock(to).position() == to)
        --to;
    std::unique_ptr<QTextDocument> part = NewRichText();
    part->setDefaultFont(text.defaultFont());
    QTextCursor selection(&text);
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    QTextCursor cursor(part.get());
    cursor.insertFragment(QTextDocumentFragment(selection));
    const QTextBlock first = text.findBlock(from);
    cursor.setPosition(0);
    cursor.setBlockFormat(first.blockFormat());
    cursor.setBlockCharFormat(first.charFormat());
    return part;
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

std::vector<TrpRichView::TExpansion> TrpRichView::Expansions(const QString& plain)
{
    std::vector<TExpansion> expansions;
    if (Flags & rfTextOnly)
        return expansions;
    TrpReport& report = OwnerReport();
    // Values are not scanned: the search goes on after the "]" in the text as it stands.
    for (int p = int(plain.indexOf(QLatin1Char('['))); p >= 0;) {
        int start = p;
        int end = p;
        const QString expression = ScanBracketedExpression(plain, start, end);
        if (start == end)
            break;   // a "[" that ends the text
        expansions.push_back({start, end, AsParagraphs(report.ExpandExpression(expression))});
        p = int(plain.indexOf(QLatin1Char('['), end + 1));
    }
    return expansions;
}

void TrpRichView::ExpandRichTextExpressions(QTextDocument& text)
{
    Expand(text, Expansions(text.toRawText()));
}

void TrpRichView::Expand(QTextDocument& text, const std::vector<TExpansion>& expansions)
{
    QTextCursor cursor(&text);
    cursor.beginEditBlock();
    // From the last on, so that the positions of those before stay.
    for (auto it = expansions.rbegin(); it != expansions.rend(); ++it) {
        cursor.setPosition(it->Start + 1);
        const QTextCharFormat format = cursor.charFormat();   // the "["'s
        cursor.setPosition(it->Start);
        cursor.setPosition(it->End + 1, QTextCursor::KeepAnchor);
        cursor.insertText(it->Value, format);
    }
    cursor.endEditBlock();
}

const TrpRichView::TPrepared& TrpRichView::Prepared()
{
    std::vector<TExpansion> expansions = Expansions(RichEdit->toRawText());
    if (prepared_ && prepared_->Source == RichEdit.get() && prepared_->Width == TextWidth() &&
        prepared_->Expanded == expansions)
        return *prepared_;
    auto prepared = std::make_unique<TPrepared>();
    prepared->Source = RichEdit.get();
    prepared->Width = TextWidth();
    CopyRich(prepared->Text, *RichEdit);
    // The values just found go in: evaluating them again could give others (a counter).
    Expand(*prepared->Text, expansions);
    prepared->Expanded = std::move(expansions);
    prepared->Layout = std::make_unique<TrpRichLayout>(*prepared->Text, &Context().ScratchBitmap, prepared->Width);
    prepared_ = std::move(prepared);
    return *prepared_;
}

int TrpRichView::MeasureRichHeight()
{
    // The laid-out lines give the height at once. Every line fits at its own height, so a text
    // whose first line is taller than a small height needs more, and no height is searched for.
    const TrpRichLayout& layout = *Prepared().Layout;
    int height = layout.Height(StartPos, layout.TextEnd());
    if (height < 2)
        height = 8;
    return height + 2 * GapY;
}

int TrpRichView::CalcHeight()
{
    EndPos = PrevEndPos = 0;
    partsPrinted_ = 0;
    prepared_.reset();   // RichEdit may have changed since the last build
    const TrpViewScope current = BeginDraw(nullptr);
    if (!BeginMeasure())
        return 0;
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
    const TrpRichLayout& layout = *Prepared().Layout;
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
    const TrpViewScope current = BeginDraw(Canvas);
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
    if (PassMode != pmPartFits)
        prepared_.reset();   // a whole print ends any split
    const TPrepared& prepared = Prepared();
    if (PassMode == pmPartFits) {
        StartPos = PrevEndPos;
        EndPos = PartEnd(*prepared.Layout);
        WorkRich = RichPart(*prepared.Text, PrevEndPos, EndPos);
        PrevEndPos = EndPos;
        ++partsPrinted_;
    } else {
        CopyRich(WorkRich, *prepared.Text);
        EndPos = PrevEndPos = 0;
        partsPrinted_ = 0;
    }
    AlignToCurrentBand(true);
    SaveFromWork = true;
    WriteEntry(stream);
}

void TrpRichView::Draw(QPainter* canvas)
{
    const TrpViewScope current = BeginDraw(canvas);
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
