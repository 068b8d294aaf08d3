// The memo's construction, script properties and methods, record and XML attributes.
#include "report/objects/MemoView.h"

#include "report/data/DataSetRelations.h"
#include "report/expr/ReportVariant.h"
#include "report/file/RecordWriter.h"
#include "report/objects/ViewXml.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

struct TFlagName {
    const char* name;   // upper case
    uint16_t bit;
};

constexpr TFlagName kFlagNames[] = {
    {"WORDWRAP", mfWordWrap}, {"WORDBREAK", mfWordBreak},     {"AUTOWIDTH", mfAutoWidth},
    {"TEXTONLY", mfTextOnly}, {"SUPPRESS", mfSuppress},       {"HIDEZEROS", kFlagHideZeros},
    {"UNDERLINES", mfUnderlines}, {"RTLREADING", mfRtlReading},
};

const TFlagName* FindFlag(const QString& upperName)
{
    for (const TFlagName& flag : kFlagNames)
        if (upperName == QLatin1String(flag.name))
            return &flag;
    return nullptr;
}

}  // namespace

TrpMemoView::TrpMemoView()
{
    TypeCode = otMemo;
    BaseName = QStringLiteral("Memo");
    Flags = kFlagStretched | mfWordWrap;
}

void TrpMemoView::DeclareProperties()
{
    TrpView::DeclareProperties();
    for (const char* name : {"Font.Name", "Font.Size", "Font.Style", "Font.Color"})
        AddProperty(QLatin1String(name), 0);
    AddProperty(QStringLiteral("Font"), pkHasEditor);
    AddProperty(QStringLiteral("Alignment"), 0);
    AddProperty(QStringLiteral("DisplayFormat"), pkHasEditor);
    AddProperty(QStringLiteral("Highlight"), pkHasEditor);
    for (const char* name : {"LineSpacing", "CharSpacing", "GapX", "GapY"})
        AddProperty(QLatin1String(name), pkInteger);
    for (const char* name : {"Stretched", "WordWrap", "WordBreak", "AutoWidth", "TextOnly", "Suppress", "HideZeros"})
        AddProperty(QLatin1String(name), pkBoolean);
    AddProperty(QStringLiteral("Lines.Count"), 0);
    AddProperty(QStringLiteral("Underlines"), pkBoolean);
    AddProperty(QStringLiteral("RTLReading"), pkBoolean);
}

void TrpMemoView::SetPropertyValue(const QString& name, const QVariant& value)
{
    TrpView::SetPropertyValue(name, value);
    const QString n = name.toUpper();
    SetFontProperty(Font, n, value);
    if (n == QLatin1String("ALIGNMENT"))
        Alignment = int32_t(VarToInt(value));
    else if (n == QLatin1String("LINESPACING"))
        LineSpacing = InLayoutRange(VarToInt(value), -kMaxSpacing, kMaxSpacing, "LineSpacing");
    else if (n == QLatin1String("CHARSPACING"))
        CharSpacing = InLayoutRange(VarToInt(value), -kMaxSpacing, kMaxSpacing, "CharSpacing");
    else if (const TFlagName* flag = FindFlag(n))
        Flags = VarToBool(value) ? (Flags | flag->bit) : (Flags & ~flag->bit);
}

QVariant TrpMemoView::GetPropertyValue(const QString& name)
{
    QVariant value = TrpView::GetPropertyValue(name);
    if (!VarIsNull(value))
        return value;
    const QString n = name.toUpper();
    GetFontProperty(Font, n, value);
    if (!VarIsNull(value))
        return value;
    if (n == QLatin1String("ALIGNMENT"))
        return Alignment;
    if (n == QLatin1String("LINESPACING"))
        return LineSpacing;
    if (n == QLatin1String("CHARSPACING"))
        return CharSpacing;
    if (const TFlagName* flag = FindFlag(n))
        return bool(Flags & flag->bit);
    if (n == QLatin1String("LINES.COUNT"))
        return int(Memo.size());
    return VarNull();
}

void TrpMemoView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                             QVariant& result)
{
    TrpStretcheable::CallMethod(name, p1, p2, p3, result);
    if (VarIsNull(result))
        CallListMethod(Memo, name, QStringLiteral("LINES"), p1, p2, p3, result);
}

void TrpMemoView::LoadFromBlob(TField* field)
{
    AssignBlobTo(field, WorkText);
}

void TrpMemoView::SaveRecord(TrpRecordWriter& record)
{
    TrpView::SaveRecord(record);
    record.String(Font.Name);
    record.Int(Font.Size);
    record.Word(FontStyleToFr(Font.Style));
    record.Int(int32_t(Font.Color));
    record.Int(Alignment);
    record.Word(Font.Charset);
    if (!PrintedForm) {
        record.Word(HighlightFontStyle);
        record.Int(int32_t(HighlightFontColor));
        record.Int(int32_t(HighlightFillColor));
        record.String(HighlightCondition);
    }
    record.Int(LineSpacing);
    record.Int(CharSpacing);
}

void TrpMemoView::LoadFromStream(QIODevice& stream)
{
    TrpView::LoadFromStream(stream);
    const TrpRunContext& c = Context();
    const int version = c.TemplateVersion;
    Font.Name = ReadFrStringVer(stream, version);
    Font.Size = CheckedFontSize(ReadFrInt(stream));
    Font.Style = FontStyleFromFr(ReadFrWord(stream));
    Font.Color = TColor(ReadFrInt(stream));
    Alignment = ReadFrInt(stream);
    const int charset = ReadFrWord(stream) & 0xFF;
    Font.Charset = version < 23 ? c.DefaultCharset : charset;
    if (!PrintedForm) {
        HighlightFontStyle = ReadFrWord(stream);
        HighlightFontColor = TColor(ReadFrInt(stream));
        HighlightFillColor = TColor(ReadFrInt(stream));
        HighlightCondition = ReadFrStringVer(stream, version);
    }
    if (version > 23) {
        LineSpacing = InLayoutRange(ReadFrInt(stream), -kMaxSpacing, kMaxSpacing, "LineSpacing");
        CharSpacing = InLayoutRange(ReadFrInt(stream), -kMaxSpacing, kMaxSpacing, "CharSpacing");
    }
    if (version == 21)
        Flags |= mfWordWrap;
}

void TrpMemoView::SaveToXml(QIODevice& stream)
{
    TrpView::SaveToXml(stream);
    if (Flags & kFlagStretched)
        WriteXmlAttribute(stream, "StretchMode", QStringLiteral("smMaxHeight"));
    if (!(Flags & mfWordWrap))
        WriteXmlAttribute(stream, "WordWrap", QStringLiteral("False"));
    const QString yes = QStringLiteral("True");
    const std::pair<const char*, uint16_t> switches[] = {
        {"AutoWidth", mfAutoWidth}, {"SuppressRepeated", mfSuppress}, {"HideZeros", kFlagHideZeros},
        {"Underlines", mfUnderlines}, {"RTLReading", mfRtlReading},
    };
    for (const auto& [attribute, bit] : switches)
        if (Flags & bit)
            WriteXmlAttribute(stream, attribute, yes);
    if (Flags & mfTextOnly)
        WriteXmlAttribute(stream, "AllowExpressions", QStringLiteral("False"));
    WriteXmlAttribute(stream, "Font.Name", Font.Name);
    WriteXmlAttribute(stream, "Font.Height", -FontPixelHeight(Font.Size));
    WriteXmlAttribute(stream, "Font.Color", int32_t(Font.Color));
    WriteXmlAttribute(stream, "Font.Style", Font.Style);
    WriteXmlAttribute(stream, "Highlight.Condition", XmlEscape(HighlightCondition));
    WriteXmlAttribute(stream, "Highlight.Font.Style", HighlightFontStyle);
    WriteXmlAttribute(stream, "Highlight.Font.Color", int32_t(HighlightFontColor));
    WriteXmlAttribute(stream, "Highlight.Color", int32_t(HighlightFillColor));
    WriteXmlAttribute(stream, "LineSpacing", LineSpacing);
    WriteXmlAttribute(stream, "CharSpacing", CharSpacing);
    WriteXmlAttribute(stream, "HAlign", Alignment & 3);
    const int vertical = Alignment & (taMiddle | taDown);
    WriteXmlAttribute(stream, "VAlign", vertical == taMiddle ? 1 : vertical == taDown ? 2 : 0);
    if (Alignment & taVertical)
        WriteXmlAttribute(stream, "Rotation", 90);
}
