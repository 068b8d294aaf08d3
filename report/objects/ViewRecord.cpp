// The view's record in templates (design form) and prepared pages (printed form).
#include <cmath>

#include "base/Rounding.h"
#include "report/file/RecordWriter.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/View.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int32_t kLargestWholeWidthCode = 10;

}  // namespace

int32_t FrameWidthToCode(float width)
{
    // A whole width above 10 written as itself would read back as thousandths.
    if (width == std::floor(width) && width <= kLargestWholeWidthCode)
        return int32_t(width);
    return int32_t(Round(double(width) * 1000));
}

float FrameWidthFromCode(int32_t code)
{
    const double thousandths = code <= kLargestWholeWidthCode ? double(code) * 1000 : double(code);
    return float(thousandths / 1000);
}

void TrpView::SaveToStream(QIODevice& stream)
{
    TrpRecordWriter record(stream.pos());
    SaveRecord(record);
    record.WriteTo(stream);
}

void TrpView::WriteEntry(QIODevice& stream)
{
    TrpRecordWriter record(stream.pos());
    record.Byte(TypeCode);
    if (TypeCode == otAddIn)
        record.String(ClassName());
    SaveRecord(record);
    record.WriteTo(stream);
}

void TrpView::SaveRecord(TrpRecordWriter& record)
{
    record.String(Name);
    record.Byte(2);
    record.Byte(RecordMinor);
    for (const int value : {Left, Top, Width, Height})
        record.Int(value);
    record.Word(Flags);
    record.Word(FrameTyp);
    record.Int(FrameWidthToCode(FrameWidth));
    record.Int(int32_t(FrameColor));
    record.Word(FrameStyle);
    record.Int(int32_t(FillColor));
    if (!PrintedForm) {
        record.Int(int32_t(FormatCode));
        record.String(FormatText);
    }
    record.Memo(PrintedForm ? WorkText : Memo);
    if (!PrintedForm) {
        record.Memo(ScriptLines);
        record.Word(Visible ? 0xFFFF : 0);
    }
    record.Word(Restrictions);
    record.String(Tag);
    record.Int(GapX);
    record.Int(GapY);
    record.Byte(BandAlign);
}

void TrpView::LoadFromStream(QIODevice& stream)
{
    const int version = Context().TemplateVersion;
    if (version > 23 || (version == 23 && !PrintedForm))
        Name = ReadFrStringVer(stream, version);
    else
        CreateUniqueName();
    if (version > 23) {
        RecordMajor = ReadFrByte(stream);
        RecordMinor = ReadFrByte(stream);
    }
    Left = CheckedPageUnits(ReadFrInt(stream), "Left");
    Top = CheckedPageUnits(ReadFrInt(stream), "Top");
    Width = CheckedPageUnits(ReadFrInt(stream), "Width");
    Height = CheckedPageUnits(ReadFrInt(stream), "Height");
    Flags = ReadFrWord(stream);
    FrameTyp = ReadFrWord(stream);
    FrameWidth = CheckedFrameWidth(FrameWidthFromCode(ReadFrInt(stream)));
    FrameColor = TColor(ReadFrInt(stream));
    FrameStyle = ReadFrWord(stream);
    FillColor = TColor(ReadFrInt(stream));
    if (!PrintedForm) {
        FormatCode = uint32_t(ReadFrInt(stream));
        FormatText = ReadFrStringVer(stream, version);
    }
    ReadFrMemoVer(stream, Memo, version);
    if (!PrintedForm && version >= 23) {
        ReadFrMemoVer(stream, ScriptLines, version);
        Visible = ReadFrWord(stream) != 0;
    }
    if (version >= 24) {
        Restrictions = ReadFrWord(stream);
        Tag = ReadFrStringVer(stream, version);
        GapX = CheckedPageUnits(ReadFrInt(stream), "GapX");
        GapY = CheckedPageUnits(ReadFrInt(stream), "GapY");
    }
    // Records before version 24 carry no record version, and no alignment.
    if (version > 23 && RecordMajor > 1)
        BandAlign = ReadFrByte(stream);
}
