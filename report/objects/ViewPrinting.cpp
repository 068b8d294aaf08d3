// The view while a report is built: its placement by band alignment, the expansion of bracketed
// expressions, and its entry in a prepared page.
#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"
#include "report/objects/BracketedText.h"
#include "report/objects/View.h"
#include "report/runtime/RunContext.h"

TrpViewScope TrpView::BeginDraw(QPainter* canvas)
{
    Canvas = canvas;
    TrpRunContext& c = Context();
    if (c.PrintModeFlag && c.CurrentPage)
        PlaceInBand();
    return TrpViewScope(c, this);
}

void TrpView::PlaceInBand()
{
    const TrpRunContext& c = Context();
    const int leftLimit = c.CurrentPage->LeftLimit();
    const int rightLimit = c.CurrentPage->RightLimit();
    const TrpView* neighbour = nullptr;
    switch (BandAlign) {
    case baLeft:
        neighbour = Neighbour(true);
        Left = neighbour ? neighbour->Left + neighbour->Width : leftLimit;
        break;
    case baRight:
        neighbour = Neighbour(false);
        Left = neighbour ? neighbour->Left - Width - 1 : rightLimit - Width;
        break;
    case baCenter:
        Left = leftLimit + (rightLimit - leftLimit - Width) / 2;
        break;
    case baWidth:
        if (!c.CurrentBand) {
            Left = leftLimit;
            Width = rightLimit - leftLimit - 1;
        }
        break;
    case baRest:
        neighbour = Neighbour(true);
        Left = neighbour ? neighbour->Left + neighbour->Width : leftLimit;
        neighbour = Neighbour(false);
        Width = neighbour ? neighbour->Left - Left : rightLimit - Left;
        break;
    default:
        break;
    }
}

// The nearest object on the same line aligned to the same side: "baLeft" objects to the left,
// "baRight" objects to the right.
const TrpView* TrpView::Neighbour(bool leftSide) const
{
    const TrpRunContext& c = Context();
    const TrpBand* band = c.CurrentBand;
    const TrpView* best = nullptr;
    for (const auto& object : c.CurrentPage->Objects) {
        const TrpView* o = object.get();
        if (o == this || o->TypeCode == otBand || o->BandAlign != (leftSide ? baLeft : baRight))
            continue;
        if (leftSide ? o->Left >= Left : o->Left <= Left)
            continue;
        // While a band prints, this object stands at the band's top; its band mates do not.
        bool sameLine = o->Top == Top;
        if (o->OwnerBand && band)
            sameLine = o->Top == Top - band->Top || ((band->Flags & kFlagStretched) && o->Top == Top);
        if (sameLine && (!best || (leftSide ? o->Left > best->Left : o->Left < best->Left)))
            best = o;
    }
    return best;
}

void TrpView::ExpandText(QString& text)
{
    TrpBracketedText split;
    ExpandText(text, split);
}

void TrpView::ExpandText(QString& text, TrpBracketedText& split)
{
    if (!text.contains(QLatin1Char('[')))
        return;
    split.Split(text);
    TrpReport& report = OwnerReport();
    QString expanded;
    for (qsizetype i = 0; i < split.Pieces.size(); ++i) {
        const QString piece = i % 2 == 0 ? split.Pieces[i] : report.ExpandExpression(split.Pieces[i]);
        if (expanded.isEmpty())
            expanded = piece;   // shared, not copied: a line of one expression is its value
        else
            expanded.append(piece);
    }
    text = expanded;
}

bool TrpView::AlignToCurrentBand(bool bottom)
{
    const TrpBand* band = Context().CurrentBand;
    if (!band)
        return false;
    if (bottom && BandAlign == baBottom) {
        Top = band->Top + band->Height - Height;
    } else if (BandAlign == baTop) {
        Top = band->Top;
    } else if (BandAlign == baWidth && IsCrossBand(band->BandType)) {
        Width = band->Width;
        return true;
    }
    return false;
}

void TrpView::PrintToStream(QIODevice& stream)
{
    const TrpViewScope current = BeginDraw(Canvas);
    WorkText = Memo;
    OwnerReport().BeforePrintHook(WorkText, this);
    RunScript();
    if (!Visible)
        return;
    const QString savedTag = Tag;
    if (Tag.contains(QLatin1Char('[')))
        ExpandText(Tag);
    AlignToCurrentBand(true);
    WriteEntry(stream);
    Tag = savedTag;
}

void TrpView::ExportData()
{
    if (TrpExportFilter* filter = Report ? Report->CurrentFilter : nullptr)
        filter->OnData(Left, Top, this);
}
