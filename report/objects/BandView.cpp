#include "report/objects/BandView.h"

#include <array>

#include "report/data/Dataset.h"
#include "report/engine/Band.h"
#include "report/engine/Page.h"
#include "report/expr/ReportVariant.h"
#include "report/file/RecordWriter.h"
#include "report/objects/ViewXml.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

struct TBandOption {
    const char* property;   // as scripts name it
    const char* upper;
    uint16_t bit;
};

constexpr TBandOption kOptions[] = {
    {"FormNewPage", "FORMNEWPAGE", bfFormNewPage},
    {"PrintIfSubsetEmpty", "PRINTIFSUBSETEMPTY", bfPrintIfSubsetEmpty},
    {"Breaked", "BREAKED", bfBreaked},
    {"OnFirstPage", "ONFIRSTPAGE", bfOnFirstPage},
    {"OnLastPage", "ONLASTPAGE", bfOnLastPage},
    {"RepeatHeader", "REPEATHEADER", bfRepeatHeader},
    {"PrintChildIfInvisible", "PRINTCHILDIFINVISIBLE", bfPrintChildIfInvisible},
};

const TBandOption* FindOption(const QString& upperName)
{
    for (const TBandOption& option : kOptions)
        if (upperName == QLatin1String(option.upper))
            return &option;
    return nullptr;
}

bool TypeIn(int type, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

// The XML element of each band type; none for the types the XML form lacks.
constexpr std::array<const char*, kBandTypeCount> kXmlElements = {
    "TrpReportTitle", "TrpReportSummary", "TrpPageHeader", "TrpPageFooter", "TrpHeader", "TrpMasterData",
    "TrpFooter", "TrpHeader", "TrpDetailData", "TrpFooter", "TrpHeader", "TrpSubDetailData", "TrpFooter",
    nullptr, "TrpColumnHeader", "TrpColumnFooter", "TrpGroupHeader", "TrpGroupFooter", nullptr, nullptr,
    nullptr, "TrpChild", nullptr,
};

}  // namespace

TrpBandView::TrpBandView()
{
    TypeCode = otBand;
    FormatCode = 0;
    BaseName = QStringLiteral("Band");
    Flags = bfOnFirstPage | bfOnLastPage;
    RecordMinor = 1;
}

TrpBand* TrpBandView::PrintingBand() const
{
    return Context().PrintModeFlag ? OwnerBand : nullptr;
}

void TrpBandView::DeclareProperties()
{
    TrpView::DeclareProperties();
    const int t = BandType();
    const auto option = [this](const char* name) { AddProperty(QLatin1String(name), pkBoolean); };
    if (t != btPageFooter) {
        AddEnumProperty(QStringLiteral("ChildBand"), QString(), {});   // a designer lists the page's child bands
        option("PrintChildIfInvisible");
    }
    if (TypeIn(t, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18, 21}))
        option("Stretched");
    if (TypeIn(t, {0, 1, 5, 6, 8, 9, 11, 12, 16}))
        option("FormNewPage");
    if (TypeIn(t, {5, 8}))
        option("PrintIfSubsetEmpty");
    if (TypeIn(t, {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 21}))
        option("Breaked");
    if (TypeIn(t, {2, 3}))
        option("OnFirstPage");
    if (t == btPageFooter)
        option("OnLastPage");
    if (TypeIn(t, {4, 7, 10, 16, 18}))
        option("RepeatHeader");
    if (t == btCrossData)
        AddProperty(QStringLiteral("DataSource"), pkHasEditor);
    if (IsDataBand(t)) {
        AddProperty(QStringLiteral("Columns"), pkInteger);
        AddProperty(QStringLiteral("ColumnWidth"), pkPageUnits);
        AddProperty(QStringLiteral("ColumnGap"), pkPageUnits);
        AddProperty(QStringLiteral("DataSource"), pkHasEditor);
    }
    if (t == btGroupHeader) {
        AddProperty(QStringLiteral("Condition"), pkText);
        AddEnumProperty(QStringLiteral("Master"), QString(), {});   // a designer lists the data bands
    }
    AddProperty(QStringLiteral("EOF"), pkBoolean);
    // A band's text lines are its before-print script.
    if (TrpPropRec* memo = FindProperty(QStringLiteral("Memo")))
        memo->PropertyName = QStringLiteral("OnBeforePrint");
}

void TrpBandView::SetPropertyValue(const QString& name, const QVariant& value)
{
    TrpView::SetPropertyValue(name, value);
    const QString n = name.toUpper();
    TrpBand* band = PrintingBand();
    if (n == QLatin1String("CHILDBAND")) {
        ChildBand = VarToStr(value);
        if (band) {
            const TrpView* child = band->Page ? band->Page->FindObject(ChildBand) : nullptr;
            band->Child = child ? child->OwnerBand : nullptr;
        }
    } else if (n == QLatin1String("MASTER")) {
        Master = VarToStr(value);
    } else if (const TBandOption* option = FindOption(n)) {
        Flags = VarToBool(value) ? (Flags | option->bit) : (Flags & ~option->bit);
        if (band && option->bit == bfBreaked)
            band->Breaked = VarToBool(value);
    } else if (n == QLatin1String("CONDITION")) {
        FormatText = VarToStr(value);
        if (band)
            band->Condition = Context().ReportParser.ToPostfix(FormatText);
    } else if (n == QLatin1String("COLUMNS")) {
        Columns = InLayoutRange(VarToInt(value), 0, kMaxColumns, "Columns");
    } else if (n == QLatin1String("COLUMNGAP")) {
        ColumnGap = CheckedPageUnits(VarToInt(value), "ColumnGap");
    } else if (n == QLatin1String("COLUMNWIDTH")) {
        ColumnWidth = CheckedPageUnits(VarToInt(value), "ColumnWidth");
    } else if (n == QLatin1String("NEWCOLUMNAFTER")) {
        NewColumnAfter = int(VarToInt(value));
    }
    if (!band)
        return;
    if (n == QLatin1String("LEFT"))
        band->Left = Left;
    else if (n == QLatin1String("TOP"))
        band->Top = Top;
    else if (n == QLatin1String("WIDTH"))
        band->Width = Width;
    else if (n == QLatin1String("HEIGHT"))
        band->Height = Height;
    else if (n == QLatin1String("VISIBLE"))
        band->Visible = Visible;
    else if (n == QLatin1String("DATASOURCE")) {
        band->ReleaseDataSource();
        band->SetupDataSource(Context(), VarToStr(value));
    }
}

QVariant TrpBandView::GetPropertyValue(const QString& name)
{
    QVariant value = TrpView::GetPropertyValue(name);
    const QString n = name.toUpper();
    const TrpBand* band = PrintingBand();
    if (band) {
        if (n == QLatin1String("LEFT"))
            value = band->Left;
        else if (n == QLatin1String("TOP"))
            value = band->Top;
        else if (n == QLatin1String("WIDTH"))
            value = band->Width;
        else if (n == QLatin1String("HEIGHT"))
            value = band->Height;
        else if (n == QLatin1String("VISIBLE"))
            value = band->Visible;
    }
    if (!VarIsNull(value))
        return value;
    if (n == QLatin1String("CHILDBAND"))
        return ChildBand;
    if (n == QLatin1String("MASTER"))
        return Master;
    if (n == QLatin1String("EOF"))
        return OwnerBand && OwnerBand->DataSet ? QVariant(OwnerBand->DataSet->Eof()) : VarNull();
    if (const TBandOption* option = FindOption(n))
        return band && option->bit == bfBreaked ? band->Breaked : bool(Flags & option->bit);
    if (n == QLatin1String("CONDITION"))
        return FormatText;
    if (n == QLatin1String("COLUMNS"))
        return Columns;
    if (n == QLatin1String("COLUMNGAP"))
        return ColumnGap;
    if (n == QLatin1String("NEWCOLUMNAFTER"))
        return NewColumnAfter;
    if (n == QLatin1String("COLUMNWIDTH"))
        return ColumnWidth;
    return VarNull();
}

void TrpBandView::CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                             QVariant& result)
{
    TrpView::CallMethod(name, p1, p2, p3, result);
    TrpDataset* source = OwnerBand ? OwnerBand->DataSet : nullptr;
    if (!source)
        return;
    if (name == QLatin1String("NEXT"))
        source->Next();
    else if (name == QLatin1String("PRIOR"))
        source->Prior();
    else if (name == QLatin1String("FIRST"))
        source->First();
}

void TrpBandView::SaveRecord(TrpRecordWriter& record)
{
    RecordMinor = 1;   // the record carries Master
    TrpView::SaveRecord(record);
    record.String(ChildBand);
    for (const int value : {Columns, ColumnWidth, ColumnGap, NewColumnAfter})
        record.Int(value);
    record.String(Master);
}

void TrpBandView::LoadFromStream(QIODevice& stream)
{
    TrpView::LoadFromStream(stream);
    if (Context().TemplateVersion <= 23)
        return;
    ChildBand = ReadFrString(stream);
    Columns = InLayoutRange(ReadFrInt(stream), 0, kMaxColumns, "Columns");
    ColumnWidth = CheckedPageUnits(ReadFrInt(stream), "ColumnWidth");
    ColumnGap = CheckedPageUnits(ReadFrInt(stream), "ColumnGap");
    NewColumnAfter = ReadFrInt(stream);
    if (RecordMajor * 10 + RecordMinor > 20)
        Master = ReadFrString(stream);
}

void TrpBandView::SaveToXml(QIODevice& stream)
{
    const int t = BandType();
    const char* element = t < kBandTypeCount ? kXmlElements[size_t(t)] : nullptr;
    if (!element)
        return;
    WriteXmlText(stream, QLatin1Char('<') + QLatin1String(element));
    WriteXmlAttribute(stream, "Name", Name);
    WriteXmlAttribute(stream, "Left", Left);
    WriteXmlAttribute(stream, "Top", Top);
    WriteXmlAttribute(stream, "Width", Width);
    WriteXmlAttribute(stream, "Height", Height);
    WriteXmlAttribute(stream, "Columns", Columns);
    WriteXmlAttribute(stream, "ColumnWidth", ColumnWidth);
    WriteXmlAttribute(stream, "ColumnGap", ColumnGap);
    const QString yes = QStringLiteral("True");
    const QString no = QStringLiteral("False");
    if (!Visible)
        WriteXmlAttribute(stream, "Visible", no);
    const std::pair<const char*, uint16_t> setSwitches[] = {
        {"Stretched", kFlagStretched}, {"StartNewPage", bfFormNewPage}, {"PrintIfDetailEmpty", bfPrintIfSubsetEmpty},
        {"AllowSplit", bfBreaked},
    };
    for (const auto& [attribute, bit] : setSwitches)
        if (Flags & bit)
            WriteXmlAttribute(stream, attribute, yes);
    if (!(Flags & bfOnFirstPage))
        WriteXmlAttribute(stream, "PrintOnFirstPage", no);
    if (!(Flags & bfOnLastPage))
        WriteXmlAttribute(stream, "PrintOnLastPage", no);
    if (Flags & bfRepeatHeader)
        WriteXmlAttribute(stream, "ReprintOnNewPage", yes);
    if (Flags & bfPrintChildIfInvisible)
        WriteXmlAttribute(stream, "PrintChildIfInvisible", yes);
    if (!ScriptLines.isEmpty())
        WriteXmlAttribute(stream, "OnBeforePrint", Name + QStringLiteral("OnBeforePrint"));
    if (IsDataBand(t))
        WriteXmlAttribute(stream, "DataSet", XmlEscape(FormatText));
    else if (t == btGroupHeader)
        WriteXmlAttribute(stream, "Condition", XmlEscape(FormatText));
}
