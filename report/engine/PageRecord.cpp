// The page record of a template: the paper, margins, flags and columns, then (from layout 24)
// the page type, name, dialog form and script. Older layouts are read as they were written.
#include "report/engine/Page.h"

#include "report/file/StreamPrimitives.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// A first number of -1 says that the paper id follows and the script ends the record.
constexpr int32_t kScriptMarker = -1;
// Layouts before 23 kept six more octets after the orientation.
constexpr int kFirstLayoutWithoutGap = 23;
constexpr int kOldLayoutGap = 6;
// The paper source, the page type, name and dialog form came with layout 24.
constexpr int kFirstLayoutWithForm = 24;
constexpr uint16_t kWordTrue = 0xFFFF;

uint8_t StoredBorderStyle(uint8_t stored)
{
    // Early layouts numbered the two border styles from 0.
    switch (stored) {
    case 0: return bsDialog;
    case 1: return bsSizeable;
    default: return stored;
    }
}

}  // namespace

void TrpPage::LoadFromStream(QIODevice& stream)
{
    const int version = Context().TemplateVersion;
    int32_t size = ReadFrInt(stream);
    const bool hasScript = size == kScriptMarker;
    if (hasScript)
        size = ReadFrInt(stream);
    const int32_t width = InLayoutRange(ReadFrInt(stream), 0, kMaxPaperTenths, "PaperWidth");
    const int32_t height = InLayoutRange(ReadFrInt(stream), 0, kMaxPaperTenths, "PaperHeight");
    LeftMargin = CheckedPageUnits(ReadFrInt(stream), "LeftMargin");
    TopMargin = CheckedPageUnits(ReadFrInt(stream), "TopMargin");
    RightMargin = CheckedPageUnits(ReadFrInt(stream), "RightMargin");
    BottomMargin = CheckedPageUnits(ReadFrInt(stream), "BottomMargin");
    const uint8_t orientation = ReadFrByte(stream);
    if (version < kFirstLayoutWithoutGap)
        ReadFrBytes(stream, kOldLayoutGap);
    int32_t bin = -1;
    if (version >= kFirstLayoutWithForm)
        bin = ReadFrInt(stream);
    PrintToPrevPage = ReadFrWord(stream) != 0;
    MarginsOn = ReadFrWord(stream) != 0;
    Columns = InLayoutRange(ReadFrInt(stream), 0, kMaxColumns, "Columns");
    ColumnGap = CheckedPageUnits(ReadFrInt(stream), "ColumnGap");
    // Older layouts leave the page its default name and form.
    if (version >= kFirstLayoutWithForm) {
        Type = ReadFrByte(stream);
        // Bands are made for report pages and dialogs for dialog pages: no other page is built.
        if (Type != ptReport && Type != ptDialog)
            throw EReadError(QStringLiteral("Неизвестный тип страницы %1").arg(Type));
        Name = ReadFrString(stream);
        BorderStyle = StoredBorderStyle(ReadFrByte(stream));
        Caption = ReadFrString(stream);
        Color = uint32_t(ReadFrInt(stream));
        Left = CheckedPageUnits(ReadFrInt(stream), "Left");
        Top = CheckedPageUnits(ReadFrInt(stream), "Top");
        Width = CheckedPageUnits(ReadFrInt(stream), "Width");
        Height = CheckedPageUnits(ReadFrInt(stream), "Height");
        Position = ReadFrByte(stream) != poDesigned ? poScreenCenter : poDesigned;
        if (hasScript)
            ReadFrMemo(stream, Script);
    }
    ApplyPaper(size, width, height, bin, orientation);
}

void TrpPage::SaveToStream(QIODevice& stream) const
{
    WriteFrInt(stream, kScriptMarker);
    WriteFrInt(stream, Size);
    WriteFrInt(stream, PaperWidth);
    WriteFrInt(stream, PaperHeight);
    WriteFrInt(stream, LeftMargin);
    WriteFrInt(stream, TopMargin);
    WriteFrInt(stream, RightMargin);
    WriteFrInt(stream, BottomMargin);
    WriteFrByte(stream, Orientation);
    WriteFrInt(stream, PaperBin);
    WriteFrWord(stream, PrintToPrevPage ? kWordTrue : 0);
    WriteFrWord(stream, MarginsOn ? kWordTrue : 0);
    WriteFrInt(stream, Columns);
    WriteFrInt(stream, ColumnGap);
    WriteFrByte(stream, Type);
    WriteFrString(stream, Name);
    WriteFrByte(stream, BorderStyle);
    WriteFrString(stream, Caption);
    WriteFrInt(stream, int32_t(Color));
    WriteFrInt(stream, Left);
    WriteFrInt(stream, Top);
    WriteFrInt(stream, Width);
    WriteFrInt(stream, Height);
    WriteFrByte(stream, Position);
    WriteFrMemo(stream, Script);
}
