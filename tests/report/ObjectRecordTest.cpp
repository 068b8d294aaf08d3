// The records of report objects: frame width codes, memo and band records in both forms and
// the versions templates come in, and records that end early.
#include <gtest/gtest.h>

#include "ReportObjectsFixture.h"
#include "report/file/Cp1251Text.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ReportErrors.h"

namespace {

// Record bytes written by hand, little-endian.
class Bytes {
public:
    Bytes& U8(int v) { data_.append(char(v)); return *this; }
    Bytes& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& I32(int64_t v) { for (int i = 0; i < 4; ++i) U8(int((v >> (8 * i)) & 0xFF)); return *this; }
    // Current layout: u16 length, the octets, 0.
    Bytes& Str(const QString& s) { const QByteArray b = ToCp1251(s); U16(int(b.size())); data_.append(b); return U8(0); }
    Bytes& Lines(const QStringList& lines)
    {
        U16(int(lines.size()));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray b = ToCp1251(lines[i]);
            U16(int(b.size()));
            data_.append(b);
            if (i + 1 < lines.size())
                U8(13);
        }
        return U8(0);
    }
    // Templates up to version 22: zero-terminated texts; lines ended by 13, the list by 0.
    Bytes& Str22(const QString& s) { data_.append(ToCp1251(s)); return U8(0); }
    Bytes& Lines22(const QStringList& lines)
    {
        for (const QString& line : lines)
            data_.append(ToCp1251(line)).append(char(13));
        return U8(0);
    }
    // Left, top, width, height, flags, frame sides, width code, colour, style, fill.
    Bytes& Geometry(int left, int top, int width, int height, int flags, int frameTyp)
    {
        return I32(left).I32(top).I32(width).I32(height).U16(flags).U16(frameTyp).I32(1).I32(0).U16(0).I32(0x1FFFFFFF);
    }
    const QByteArray& Data() const { return data_; }

private:
    QByteArray data_;
};

using ObjectRecords = ReportObjects;

TEST(FrameWidthCode, ReadsWholeUnitsUpToTenAndThousandthsAbove)
{
    const struct {
        int32_t code;
        float width;
    } reads[] = {{1, 1.0f}, {0, 0.0f}, {10, 10.0f}, {11, 0.011f}, {1500, 1.5f}, {2500, 2.5f}, {12000, 12.0f}};
    for (const auto& c : reads)
        EXPECT_FLOAT_EQ(FrameWidthFromCode(c.code), c.width) << c.code;
    const struct {
        float width;
        int32_t code;
    } writes[] = {{1.0f, 1}, {3.0f, 3}, {10.0f, 10}, {2.5f, 2500}, {0.5f, 500}, {12.0f, 12000}, {25.0f, 25000}};
    for (const auto& c : writes) {
        EXPECT_EQ(FrameWidthToCode(c.width), c.code) << c.width;
        EXPECT_FLOAT_EQ(FrameWidthFromCode(FrameWidthToCode(c.width)), c.width) << "reads back equal";
    }
}

// A template memo as the program's templates hold them, byte for byte.
TEST_F(ObjectRecords, MemoDesignRecordLayout)
{
    auto* memo = Add<TrpMemoView>();
    memo->Name = QStringLiteral("Memo7");
    memo->SetBounds(10, 20, 300, 18);
    memo->Flags = 11;
    memo->FrameTyp = frAllSides;
    memo->FormatCode = 0x22E;
    memo->Memo = {QStringLiteral("Страница № [PAGE#]")};
    memo->BandAlign = baCenter;
    memo->Font.Size = 8;
    memo->Font.Style = fsBold;
    const QByteArray expected = Bytes()
                                    .Str(QStringLiteral("Memo7")).U8(2).U8(0)
                                    .Geometry(10, 20, 300, 18, 11, 15)
                                    .I32(0x22E).Str(QString())
                                    .Lines({QStringLiteral("Страница № [PAGE#]")})
                                    .Lines({}).U16(0xFFFF)
                                    .U16(0).Str(QString()).I32(2).I32(1).U8(baCenter)
                                    .Str(QStringLiteral("Arial")).I32(8).U16(2).I32(0).I32(0).U16(1)
                                    .U16(2).I32(0).I32(0xFFFFFF).Str(QString())
                                    .I32(2).I32(0)
                                    .Data();
    EXPECT_EQ(Record(*memo), expected);
}

void FillMemo(TrpMemoView& m)
{
    m.Name = QStringLiteral("mmCaption");
    m.SetBounds(-4, 7, 123, 45);
    m.Flags = 3 | mfSuppress | mfUnderlines;
    m.FrameTyp = frRight | frBottom;
    m.FrameWidth = 2.5f;
    m.FrameColor = 0x0000FF;
    m.FrameStyle = psDash;
    m.FillColor = 0x00FFFF;
    m.FormatCode = 0x2C;
    m.FormatText = QStringLiteral("#,##0.0");
    m.Memo = {QStringLiteral("Силос [dmReport.\"SilName\"]"), QString(), QStringLiteral("x")};
    m.WorkText = {QStringLiteral("Силос 12") + kParagraphEnd};
    m.ScriptLines = {QStringLiteral("begin"), QStringLiteral("end")};
    m.Visible = false;
    m.Restrictions = 0x11;
    m.Tag = QStringLiteral("URL@3");
    m.GapX = 5;
    m.GapY = 8;
    m.BandAlign = baRest;
    m.Font = TrpFont{QStringLiteral("Times New Roman"), 16, TFontStyles(fsBold | fsItalic), 0xFF, 204};
    m.Alignment = taCenter | taMiddle;
    m.HighlightFontStyle = 1;
    m.HighlightFontColor = 0x00FF00;
    m.HighlightFillColor = 0x808080;
    m.HighlightCondition = QStringLiteral("VALUE > 5");
    m.LineSpacing = 4;
    m.CharSpacing = 1;
}

TEST_F(ObjectRecords, MemoRoundTripsInBothForms)
{
    auto* source = Add<TrpMemoView>();
    FillMemo(*source);
    const TrpMemoView defaults;

    const TrpMemoView* design = Read<TrpMemoView>(Record(*source));
    EXPECT_EQ(design->Name, source->Name);
    EXPECT_EQ(std::tie(design->Left, design->Top, design->Width, design->Height),
              std::tie(source->Left, source->Top, source->Width, source->Height));
    EXPECT_EQ(design->Flags, source->Flags);
    EXPECT_EQ(design->FrameTyp, source->FrameTyp);
    EXPECT_FLOAT_EQ(design->FrameWidth, 2.5f);
    EXPECT_EQ(design->FrameColor, source->FrameColor);
    EXPECT_EQ(design->FrameStyle, source->FrameStyle);
    EXPECT_EQ(design->FillColor, source->FillColor);
    EXPECT_EQ(design->FormatCode, source->FormatCode);
    EXPECT_EQ(design->FormatText, source->FormatText);
    EXPECT_EQ(design->Memo, source->Memo);
    EXPECT_EQ(design->ScriptLines, source->ScriptLines);
    EXPECT_FALSE(design->Visible);
    EXPECT_EQ(design->Restrictions, source->Restrictions);
    EXPECT_EQ(design->Tag, source->Tag);
    EXPECT_EQ(std::tie(design->GapX, design->GapY), std::tie(source->GapX, source->GapY));
    EXPECT_EQ(design->BandAlign, source->BandAlign);
    EXPECT_EQ(design->Font, source->Font);
    EXPECT_EQ(design->Alignment, source->Alignment);
    EXPECT_EQ(design->HighlightFontStyle, source->HighlightFontStyle);
    EXPECT_EQ(design->HighlightFontColor, source->HighlightFontColor);
    EXPECT_EQ(design->HighlightFillColor, source->HighlightFillColor);
    EXPECT_EQ(design->HighlightCondition, source->HighlightCondition);
    EXPECT_EQ(std::tie(design->LineSpacing, design->CharSpacing), std::tie(source->LineSpacing, source->CharSpacing));

    // Assigning copies through a design record of the current layout, whatever is being read.
    context.TemplateVersion = 22;
    source->Selected = true;
    source->PrintedForm = true;
    TrpMemoView* assigned = Add<TrpMemoView>();
    assigned->Assign(*source);
    EXPECT_EQ(context.TemplateVersion, kCurrentTemplateVersion);
    EXPECT_FALSE(source->PrintedForm);
    EXPECT_TRUE(assigned->Selected);
    EXPECT_EQ(assigned->Memo, source->Memo);
    EXPECT_EQ(assigned->HighlightCondition, source->HighlightCondition);

    // The printed form carries the printed lines and none of the design-only fields.
    source->PrintedForm = true;
    const TrpMemoView* printed = Read<TrpMemoView>(Record(*source), true);
    EXPECT_EQ(printed->Memo, source->WorkText);
    EXPECT_EQ(printed->FormatCode, defaults.FormatCode);
    EXPECT_EQ(printed->FormatText, QString());
    EXPECT_EQ(printed->ScriptLines, QStringList());
    EXPECT_TRUE(printed->Visible);
    EXPECT_EQ(printed->HighlightCondition, QString());
    EXPECT_EQ(printed->HighlightFillColor, defaults.HighlightFillColor);
    EXPECT_EQ(printed->Font, source->Font);
    EXPECT_EQ(printed->Tag, source->Tag);
    EXPECT_EQ(printed->FillColor, source->FillColor);
    EXPECT_EQ(printed->LineSpacing, source->LineSpacing);
}

// Version 22: zero-terminated texts, no name, record version, script, visibility, tag, gaps or
// alignment; a version-21 memo gets word wrap.
TEST_F(ObjectRecords, OldMemoRecordsGetGeneratedNamesAndDefaults)
{
    const auto oldMemo = [](int flags) {
        return Bytes()
            .Geometry(1, 2, 30, 40, flags, 0)
            .I32(0x22E).Str22(QStringLiteral("fmt"))
            .Lines22({QStringLiteral("Силос"), QStringLiteral("[PAGE#]")})
            .Str22(QStringLiteral("Courier New")).I32(9).U16(2).I32(0xFF).I32(taRight).U16(0)
            .U16(1).I32(0).I32(0xFFFFFF).Str22(QStringLiteral("cond"))
            .Data();
    };
    context.DefaultCharset = 204;
    context.TemplateVersion = 22;
    const TrpMemoView* first = Read<TrpMemoView>(oldMemo(kFlagStretched));
    const TrpMemoView* second = Read<TrpMemoView>(oldMemo(kFlagStretched));
    EXPECT_EQ(first->Name, QStringLiteral("Memo1"));
    EXPECT_EQ(second->Name, QStringLiteral("Memo2"));
    EXPECT_EQ(first->Memo, (QStringList{QStringLiteral("Силос"), QStringLiteral("[PAGE#]")}));
    EXPECT_EQ(first->FormatText, QStringLiteral("fmt"));
    EXPECT_EQ(first->HighlightCondition, QStringLiteral("cond"));
    EXPECT_EQ(first->Font.Name, QStringLiteral("Courier New"));
    EXPECT_EQ(first->Font.Style, fsBold);
    EXPECT_EQ(first->Font.Charset, 204) << "the engine's default character set";
    EXPECT_EQ(std::tie(first->GapX, first->GapY), std::make_tuple(2, 1));
    EXPECT_EQ(first->BandAlign, baNone);
    EXPECT_EQ(first->LineSpacing, 2);
    EXPECT_EQ(first->Flags, kFlagStretched) << "version 22 keeps its flags";

    context.TemplateVersion = 21;
    EXPECT_EQ(Read<TrpMemoView>(oldMemo(kFlagStretched))->Flags, kFlagStretched | mfWordWrap);
}

TEST_F(ObjectRecords, Version23ReadsNameScriptAndVisibilityInTheDesignFormOnly)
{
    const QByteArray design = Bytes()
                                  .Str(QStringLiteral("Title")).Geometry(0, 0, 10, 10, 1, 0)
                                  .I32(0).Str(QString()).Lines({QStringLiteral("a")})
                                  .Lines({QStringLiteral("x := 1")}).U16(0)
                                  .Data();
    const QByteArray printed = Bytes().Geometry(0, 0, 10, 10, 1, 0).Lines({QStringLiteral("a")}).Data();
    context.TemplateVersion = 23;
    const TrpView* fromTemplate = Read<TrpView>(design);
    EXPECT_EQ(fromTemplate->Name, QStringLiteral("Title"));
    EXPECT_EQ(fromTemplate->ScriptLines, QStringList{QStringLiteral("x := 1")});
    EXPECT_FALSE(fromTemplate->Visible);
    const TrpView* fromPage = Read<TrpView>(printed, true);
    EXPECT_EQ(fromPage->Name, QStringLiteral("View1")) << "a printed record of version 23 carries no name";
    EXPECT_EQ(fromPage->Memo, QStringList{QStringLiteral("a")});
}

TEST_F(ObjectRecords, BandRecordsAcrossVersions)
{
    auto* band = Add<TrpBandView>();
    band->Name = QStringLiteral("MasterData1");
    band->FrameTyp = btMasterData;
    band->FormatText = QStringLiteral("dsSilBin");
    band->ChildBand = QStringLiteral("Child1");
    band->Master = QStringLiteral("MasterData0");
    band->Columns = 3;
    band->ColumnWidth = 240;
    band->ColumnGap = 12;
    band->NewColumnAfter = 2;
    const TrpBandView* copy = Read<TrpBandView>(Record(*band));
    EXPECT_EQ(copy->RecordMinor, 1);
    EXPECT_EQ(copy->BandType(), btMasterData);
    EXPECT_EQ(copy->FormatText, QStringLiteral("dsSilBin"));
    EXPECT_EQ(copy->ChildBand, band->ChildBand);
    EXPECT_EQ(copy->Master, band->Master);
    EXPECT_EQ(std::tie(copy->Columns, copy->ColumnWidth, copy->ColumnGap, copy->NewColumnAfter),
              std::make_tuple(3, 240, 12, 2));
    EXPECT_EQ(copy->Flags, bfOnFirstPage | bfOnLastPage);

    // An older writer's band (record 2.0) ends after its column block.
    QByteArray older = Record(*band);
    older[int(ToCp1251(band->Name).size()) + 4] = 0;   // the record's minor version
    older.chop(2 + int(ToCp1251(band->Master).size()) + 1);
    EXPECT_EQ(Read<TrpBandView>(older)->Master, QString());

    // Version 23 stores none of the band's own fields.
    context.TemplateVersion = 23;
    const QByteArray v23 = Bytes().Str(QStringLiteral("Band7")).Geometry(0, 0, 758, 20, 48, btPageFooter)
                               .I32(0).Str(QString()).Lines({}).Lines({}).U16(0xFFFF).Data();
    const TrpBandView* old = Read<TrpBandView>(v23);
    EXPECT_EQ(old->BandType(), btPageFooter);
    EXPECT_EQ(old->ChildBand, QString());
    EXPECT_EQ(old->Master, QString());
    EXPECT_EQ(std::tie(old->Columns, old->ColumnWidth, old->ColumnGap, old->NewColumnAfter),
              std::make_tuple(1, 200, 20, 1));
}

// A record cut anywhere is refused with the engine's read error, never read past its end.
TEST_F(ObjectRecords, RecordsThatEndEarlyRaiseReadErrors)
{
    auto* memo = Add<TrpMemoView>();
    FillMemo(*memo);
    auto* band = Add<TrpBandView>();
    band->Master = QStringLiteral("m");
    for (TrpView* source : {static_cast<TrpView*>(memo), static_cast<TrpView*>(band)}) {
        const QByteArray whole = Record(*source);
        for (int length = 0; length < whole.size(); ++length) {
            std::unique_ptr<TrpView> target = CreateReportObject(context, source->TypeCode);
            target->Report = report.get();
            QBuffer buffer;
            buffer.setData(whole.left(length));
            buffer.open(QIODevice::ReadOnly);
            EXPECT_THROW(target->LoadFromStream(buffer), EReadError) << "cut at " << length;
        }
    }
}

}  // namespace
