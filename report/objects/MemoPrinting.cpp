// The memo while a report is built: expansion, highlight, measuring and printing into a
// prepared page, whole or the part that fits.
//
// The order matters to the program: the text is expanded (which runs the data fields' display
// text handlers) before the font and fill are captured, and the captured values are put back
// after printing, so a style a handler sets prints with that memo and stays on the object.
#include <algorithm>

#include <QScopeGuard>

#include "base/Rounding.h"
#include "report/engine/Band.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

void TrpMemoView::ExpandMemo()
{
    const auto done = qScopeGuard([this, was = expanding_] { expanding_ = was; });
    expanding_ = true;
    WorkText.clear();
    WorkText.reserve(Memo.size());
    MemoSplits.resize(size_t(Memo.size()));
    for (qsizetype i = 0; i < Memo.size(); ++i) {
        QString line = Memo[i];
        if (!line.isEmpty() && !(Flags & mfTextOnly))
            ExpandText(line, MemoSplits[size_t(i)]);
        // A value holding line breaks becomes several lines; an empty one stays one line.
        const auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
        if (std::any_of(line.cbegin(), line.cend(), isBreak))
            WorkText.append(TextToLines(line + QStringLiteral("\r\n")));
        else
            WorkText.append(line);
    }
}

void TrpMemoView::ApplyHighlight()
{
    if (HighlightCondition.isEmpty())
        return;
    try {
        if (VarToReal(Context().ReportParser.EvaluatePostfix(HighlightCondition)) == 0)
            return;
    } catch (const std::exception&) {
        return;   // a condition that fails leaves the memo unhighlighted
    }
    Font.Style = FontStyleFromFr(HighlightFontStyle);
    Font.Color = HighlightFontColor;
    FillColor = HighlightFillColor;
}

void TrpMemoView::PrintToStream(QIODevice& stream)
{
    const TrpViewScope current = BeginDraw(nullptr);
    StopAtBottom = true;
    if (PassMode == pmNormal)
        RunScript();
    bool expand = PassMode == pmNormal;
    if (PassMode == pmNormal && OwnerReport().OnBeforePrint) {
        WorkText = Memo;
        OwnerReport().BeforePrintHook(WorkText, this);
        expand = WorkText == Memo;   // a handler that changed the text has the last word
    }
    if (expand)
        ExpandMemo();
    if (!Visible) {
        PassMode = pmNormal;
        return;
    }
    const TrpFont savedFont = Font;
    const TColor savedFill = FillColor;
    ApplyHighlight();
    QStringList allLines;
    if (PassMode == pmPartFits) {
        SaveAndScaleCoords();
        ShowMemo();   // with StopAtBottom it counts the lines that fit
        allLines = WorkText;
        WorkText.erase(WorkText.begin() + std::min<qsizetype>(LinesShown, WorkText.size()), WorkText.end());
        if (!LinesToText(WorkText).contains(kParagraphEnd))
            WorkText.append(QString(kParagraphEnd));
        RestoreCoords();
    }
    const QString savedTag = Tag;
    if (Tag.contains(QLatin1Char('['))) {
        const uint32_t savedFormat = FormatCode;
        FormatCode = 0;
        ExpandText(Tag);
        FormatCode = savedFormat;
    }
    const uint8_t savedAlign = BandAlign;
    if (BandAlign == baBottom)
        BandAlign = baNone;   // the band engine places such memos at the band's bottom
    else if (AlignToCurrentBand(false))
        BandAlign = baNone;
    if (!(Flags & mfSuppress)) {
        WriteEntry(stream);
    } else if (const QString text = LinesToText(WorkText); text != LastValue) {
        WriteEntry(stream);
        LastValue = text;
    }
    if (PassMode == pmPartFits) {
        allLines.erase(allLines.begin(), allLines.begin() + std::min<qsizetype>(LinesShown, allLines.size()));
        WorkText = allLines;   // the rest, for the next part
    }
    Font = savedFont;
    FillColor = savedFill;
    Tag = savedTag;
    BandAlign = savedAlign;
    PassMode = pmNormal;
}

int TrpMemoView::CalcWidth()
{
    if (expanding_)
        return CalcWidth(Memo);
    const QStringList savedText = WorkText;
    const auto restore = qScopeGuard([&] { WorkText = savedText; });
    ExpandMemo();
    return CalcWidth(WorkText);
}

int TrpMemoView::CalcHeight()
{
    TrpRunContext& c = Context();
    const TrpViewScope current = BeginDraw(nullptr);
    if (!BeginMeasure())
        return 0;
    if (WorkText == Memo)
        ExpandMemo();
    const TrpFont savedFont = Font;
    const TColor savedFill = FillColor;
    ApplyHighlight();
    int height = 0;
    SaveAndScaleCoords();
    if (!WorkText.isEmpty()) {
        WorkText = WrapMemo();
        height = TextHeight;
        if (Flags & mfSuppress) {
            const QString text = LinesToText(WorkText);
            if (text == LastValue)
                height = 0;
            if (c.FirstPassFlag)
                LastValue = text;
        }
    }
    RestoreCoords();
    Font = savedFont;
    FillColor = savedFill;
    return height;
}

int TrpMemoView::MinHeight()
{
    LineHeight = LineSpacing + FontPixelHeight(Font.Size);
    return int(Round(FrameWidth * 2)) + 2 * GapY + LineHeight;
}

int TrpMemoView::RestHeight()
{
    LineHeight = LineSpacing + FontPixelHeight(Font.Size);
    const int frame = int(Round(FrameWidth * 2));
    if (LineHeight == 0)
        return Height;   // lines that take no room never fill it
    return (Height - frame - 2 * GapY) % LineHeight + 2 * GapY + frame;
}
