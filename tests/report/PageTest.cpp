// The design page: its paper through the report printer, its print limits, its record in every
// template layout, and its script properties. The printer is the virtual one (A4: 758 x 1071
// page units, an unprintable border of 18, printable 722 x 1035).
#include <gtest/gtest.h>

#include <QBuffer>

#include "QtPrinters.h"
#include "report/engine/BandRoom.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/BandView.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

class DesignPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = report.AddPage();
        page->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
    }

    // A page read from a record in the given template layout.
    TrpPage* Read(const QByteArray& record, int version)
    {
        context.TemplateVersion = version;
        QBuffer buffer;
        buffer.setData(record);
        buffer.open(QIODevice::ReadOnly);
        TrpPage* read = report.AddPage();
        read->LoadFromStream(buffer);
        EXPECT_TRUE(buffer.atEnd()) << "version " << version;
        return read;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* page = nullptr;
};

// Writes the fields of a page record as a test spells them out.
class RecordWriter {
public:
    RecordWriter() { buffer_.open(QIODevice::WriteOnly); }
    RecordWriter& Int(int32_t v) { WriteFrInt(buffer_, v); return *this; }
    RecordWriter& Word(int v) { WriteFrWord(buffer_, v); return *this; }
    RecordWriter& Byte(uint8_t v) { WriteFrByte(buffer_, v); return *this; }
    RecordWriter& String(const QString& v) { WriteFrString(buffer_, v); return *this; }
    RecordWriter& Lines(const QStringList& v) { WriteFrMemo(buffer_, v); return *this; }
    // Paper id, size, margins 72, 36, 108, 50 and the orientation.
    RecordWriter& Paper(int size, int width, int height, uint8_t orientation)
    {
        return Int(size).Int(width).Int(height).Int(72).Int(36).Int(108).Int(50).Byte(orientation);
    }
    QByteArray Bytes() const { return buffer_.data(); }

private:
    QBuffer buffer_;
};

TEST_F(DesignPage, NewPagesStartOnTheDefaultPaperWithDefaults)
{
    TrpPage* fresh = report.AddPage();
    // No printer gave settings: the page follows the virtual printer's A4 sheet.
    EXPECT_EQ(fresh->Size, -1);
    EXPECT_EQ(fresh->PaperWidth, 2100);
    EXPECT_EQ(fresh->PaperHeight, 2970);
    EXPECT_EQ(fresh->PaperBin, kDefaultBin);
    EXPECT_EQ(fresh->PaperGeometry.PageWidth, 758);
    EXPECT_EQ(fresh->Name, QStringLiteral("Page2"));
    EXPECT_TRUE(fresh->MarginsOn);
    EXPECT_TRUE(fresh->Visible);
    EXPECT_EQ(fresh->Type, ptReport);
    EXPECT_EQ(fresh->Caption, QStringLiteral("Form"));
    EXPECT_EQ(fresh->Position, poScreenCenter);

    page->Name = QStringLiteral("PAGE3");
    EXPECT_EQ(report.AddPage()->Name, QStringLiteral("Page1"));
    EXPECT_EQ(report.AddPage()->Name, QStringLiteral("Page4"));
}

TEST_F(DesignPage, PaperComesBackFromThePrinter)
{
    page->ApplyPaper(kPaperA4, 1, 1, 3, poLandscape);
    EXPECT_EQ(page->Size, kPaperA4);
    EXPECT_EQ(page->PaperWidth, 2970);
    EXPECT_EQ(page->PaperHeight, 2100);
    EXPECT_EQ(page->Orientation, poLandscape);
    EXPECT_EQ(page->PaperBin, 3);
    EXPECT_EQ(page->PaperGeometry.PageWidth, 1071);
    page->ApplyPaper(kCustomPaper, 1000, 1500, -1, poPortrait);
    EXPECT_EQ(page->Size, kCustomPaper);
    EXPECT_EQ(page->PaperWidth, 1000);
    EXPECT_EQ(page->PaperBin, kDefaultBin);
    EXPECT_EQ(page->PaperGeometry.PageHeight, 541);
}

TEST_F(DesignPage, PrintLimits)
{
    TrpBand footer(btPageFooter, page);
    footer.Height = 40;

    struct Case {
        const char* what;
        bool marginsOn;
        int left, top, right, bottom;   // margins
        bool footer, printing;
        int leftLimit, topLimit, rightLimit, bottomLimit;
    };
    const Case cases[] = {
        {"margins off", false, 72, 36, 108, 50, false, false, 0, 0, 758, 1071},
        {"margins on", true, 72, 36, 108, 50, false, false, 72, 36, 650, 1021},
        {"zero margins: the printer's border", true, 0, 0, 0, 0, false, false, 18, 18, 740, 1053},
        {"footer while printing", true, 72, 36, 108, 50, true, true, 72, 36, 650, 981},
        {"footer while printing, margins off", false, 72, 36, 108, 50, true, true, 0, 0, 758, 1031},
        {"footer, not printing", true, 0, 0, 0, 0, true, false, 18, 18, 740, 1053},
    };
    for (const Case& c : cases) {
        page->MarginsOn = c.marginsOn;
        page->LeftMargin = c.left;
        page->TopMargin = c.top;
        page->RightMargin = c.right;
        page->BottomMargin = c.bottom;
        page->Bands[btPageFooter] = c.footer ? &footer : nullptr;
        context.PrintModeFlag = c.printing;
        EXPECT_EQ(page->LeftLimit(), c.leftLimit) << c.what;
        EXPECT_EQ(page->TopLimit(), c.topLimit) << c.what;
        EXPECT_EQ(page->RightLimit(), c.rightLimit) << c.what;
        EXPECT_EQ(page->BottomLimit(), c.bottomLimit) << c.what;
        // Read by scripts while a report is printed, the margins are the limits.
        EXPECT_EQ(page->GetPropertyValue(QStringLiteral("BottomMargin")),
                  QVariant(c.printing ? c.bottomLimit : c.bottom)) << c.what;
    }
    page->Bands[btPageFooter] = nullptr;
}

// The least room a page's bands need: above the Page footer, the taller of the first page's
// title, page header (when it prints there) and column header, and a later page's page header
// and column header with the tallest flowing band and the column footer's room.
TEST_F(DesignPage, TheRoomItsBandsNeedDecidesWhetherASheetTakesThem)
{
    constexpr uint16_t onFirst = bfOnFirstPage | bfOnLastPage;
    struct TBand {
        int type, height;
        uint16_t flags = 0;
    };
    struct Case {
        const char* what;
        std::vector<TBand> bands;
        int needed;
    };
    const Case cases[] = {
        // 20 + max(92 + 89, 89 + 22)
        {"the protocol", {{btReportTitle, 92}, {btPageHeader, 89, onFirst}, {btMasterData, 22}, {btPageFooter, 20}},
         201},
        // 20 + max(92, 89 + 22)
        {"a page header kept off the first page",
         {{btReportTitle, 92}, {btPageHeader, 89}, {btMasterData, 22}, {btPageFooter, 20}},
         131},
        // 20 + max(50 + 30 + 10, 30 + 10 + 300 + 15)
        {"a tall record with column header and footer",
         {{btReportTitle, 50}, {btPageHeader, 30, onFirst}, {btColumnHeader, 10}, {btMasterData, 300},
          {btColumnFooter, 15}, {btPageFooter, 20}},
         375},
        // the tallest of the flowing bands; overlays and cross bands lie on the page, not in its flow
        {"flowing, overlaid and cross bands",
         {{btGroupHeader, 120}, {btMasterData, 22}, {btReportSummary, 60}, {btOverlay, 2000}, {btCrossData, 900}},
         120},
        {"no bands", {}, 0},
    };
    for (const Case& c : cases) {
        TrpReport own(context);
        TrpPage* p = own.AddPage();
        for (const TBand& b : c.bands) {
            auto* band = static_cast<TrpBandView*>(p->AddObject(std::make_unique<TrpBandView>()));
            band->FrameTyp = uint16_t(b.type);
            band->Height = b.height;
            band->Flags = b.flags;
        }
        EXPECT_EQ(BandsHeight(*p), c.needed) << c.what;
    }

    // The protocol's bands on sheets of the room they need and one unit less: with the margins
    // off the room is the whole sheet; with them on, what the margins leave (the printer's
    // border of 18 where a margin is 0).
    TrpReport protocol(context);
    TrpPage* p = protocol.AddPage();
    for (const TBand& b : cases[0].bands) {
        auto* band = static_cast<TrpBandView*>(p->AddObject(std::make_unique<TrpBandView>()));
        band->FrameTyp = uint16_t(b.type);
        band->Height = b.height;
        band->Flags = b.flags;
    }
    TPaperGeometry sheet;
    sheet.OffsetY = 18;
    struct Room {
        bool marginsOn;
        int pageHeight;
        QMargins margins;
        bool fits;
    };
    const Room rooms[] = {
        {false, 201, {72, 300, 72, 300}, true},   // the margins only place the sheet
        {false, 200, {}, false},
        {true, 201 + 36, {}, true},
        {true, 200 + 36, {}, false},
        {true, 201 + 30 + 10, {0, 30, 0, 10}, true},
        {true, 200 + 30 + 10, {0, 30, 0, 10}, false},
    };
    for (const Room& r : rooms) {
        p->MarginsOn = r.marginsOn;
        sheet.PageHeight = r.pageHeight;
        sheet.PrintHeight = r.pageHeight - 36;
        const QString refusal = BandsRoomRefusal(protocol, sheet, r.margins);
        EXPECT_EQ(refusal.isEmpty(), r.fits) << r.pageHeight << " " << refusal.toStdString();
        if (!r.fits) {
            EXPECT_TRUE(refusal.contains(p->Name)) << refusal.toStdString();
        }
    }
    // Without margins given, the page's own count.
    p->MarginsOn = true;
    p->TopMargin = 30;
    p->BottomMargin = 10;
    sheet.PageHeight = 241;
    EXPECT_TRUE(BandsRoomRefusal(protocol, sheet).isEmpty());
    p->BottomMargin = 11;
    EXPECT_FALSE(BandsRoomRefusal(protocol, sheet).isEmpty());
    // A hidden page prints no bands.
    p->Visible = false;
    EXPECT_TRUE(BandsRoomRefusal(protocol, sheet).isEmpty());
}

TEST_F(DesignPage, RecordRoundTrip)
{
    page->ApplyPaper(kCustomPaper, 1000, 1500, 5, poLandscape);
    page->LeftMargin = 72;
    page->TopMargin = 36;
    page->RightMargin = 108;
    page->BottomMargin = 50;
    page->MarginsOn = false;
    page->PrintToPrevPage = true;
    page->Columns = 2;
    page->ColumnGap = 10;
    page->Type = ptDialog;
    page->Name = QStringLiteral("Страница");
    page->BorderStyle = bsSizeable;
    page->Caption = QStringLiteral("Выбор");
    page->Color = 0xC0C0C0;
    page->Left = 1;
    page->Top = 2;
    page->Width = 3;
    page->Height = 4;
    page->Position = poDesigned;
    page->Script = QStringList{QStringLiteral("begin"), QStringLiteral("  X := 1;"), QStringLiteral("end")};

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    page->SaveToStream(buffer);
    const QByteArray bytes = buffer.data();
    EXPECT_EQ(bytes.left(8), QByteArray("\xFF\xFF\xFF\xFF\x00\x01\x00\x00", 8));   // marker, custom size

    const TrpPage* read = Read(bytes, kCurrentTemplateVersion);
    EXPECT_EQ(read->Size, kCustomPaper);
    EXPECT_EQ(read->PaperWidth, 1000);
    EXPECT_EQ(read->PaperHeight, 1500);
    EXPECT_EQ(read->Orientation, poLandscape);
    EXPECT_EQ(read->PaperBin, 5);
    EXPECT_EQ(read->LeftMargin, 72);
    EXPECT_EQ(read->TopMargin, 36);
    EXPECT_EQ(read->RightMargin, 108);
    EXPECT_EQ(read->BottomMargin, 50);
    EXPECT_FALSE(read->MarginsOn);
    EXPECT_TRUE(read->PrintToPrevPage);
    EXPECT_EQ(read->Columns, 2);
    EXPECT_EQ(read->ColumnGap, 10);
    EXPECT_EQ(read->Type, ptDialog);
    EXPECT_EQ(read->Name, page->Name);
    EXPECT_EQ(read->BorderStyle, bsSizeable);
    EXPECT_EQ(read->Caption, page->Caption);
    EXPECT_EQ(read->Color, 0xC0C0C0u);
    EXPECT_EQ(read->Left, 1);
    EXPECT_EQ(read->Top, 2);
    EXPECT_EQ(read->Width, 3);
    EXPECT_EQ(read->Height, 4);
    EXPECT_EQ(read->Position, poDesigned);
    EXPECT_EQ(read->Script, page->Script);
}

TEST_F(DesignPage, OlderRecordLayouts)
{
    // Layout 22: six more octets after the orientation, no source, no name or form.
    const TrpPage* v22 = Read(RecordWriter()
                                  .Paper(kPaperA4, 0, 0, poPortrait)
                                  .Int(0x11111111)
                                  .Word(0x2222)
                                  .Word(0xFFFF)   // PrintToPrevPage
                                  .Word(0)        // MarginsOn
                                  .Int(0)
                                  .Int(7)
                                  .Bytes(),
                              22);
    EXPECT_EQ(v22->Size, kPaperA4);
    EXPECT_EQ(v22->PaperWidth, 2100);
    EXPECT_EQ(v22->BottomMargin, 50);
    EXPECT_EQ(v22->PaperBin, kDefaultBin);
    EXPECT_TRUE(v22->PrintToPrevPage);
    EXPECT_FALSE(v22->MarginsOn);
    EXPECT_EQ(v22->ColumnGap, 7);
    EXPECT_EQ(v22->Name, QStringLiteral("Page2"));
    EXPECT_EQ(v22->Caption, QStringLiteral("Form"));

    // Layout 23: a script marker leaves no script to read yet.
    const TrpPage* v23 = Read(RecordWriter()
                                  .Int(-1)
                                  .Paper(kPaperA4, 0, 0, poLandscape)
                                  .Word(0)
                                  .Word(1)
                                  .Int(3)
                                  .Int(0)
                                  .Bytes(),
                              23);
    EXPECT_EQ(v23->Size, kPaperA4);
    EXPECT_EQ(v23->PaperWidth, 2970);
    EXPECT_EQ(v23->PaperBin, kDefaultBin);
    EXPECT_TRUE(v23->MarginsOn);
    EXPECT_EQ(v23->Columns, 3);
    EXPECT_EQ(v23->Name, QStringLiteral("Page3"));
    EXPECT_TRUE(v23->Script.isEmpty());

    // Layout 24 without the marker: the source, the name and the form, but no script. Border
    // styles 0 and 1 were the dialog and sizeable borders; any position but 0 centres the form.
    const auto v24 = [&](uint8_t border, uint8_t position) {
        return Read(RecordWriter()
                        .Paper(kCustomPaper, 1000, 1500, poPortrait)
                        .Int(kDefaultBin)
                        .Word(0)
                        .Word(0xFFFF)
                        .Int(0)
                        .Int(0)
                        .Byte(ptDialog)
                        .String(QStringLiteral("Диалог"))
                        .Byte(border)
                        .String(QStringLiteral("Заголовок"))
                        .Int(0xFF00000F)
                        .Int(10)
                        .Int(20)
                        .Int(300)
                        .Int(200)
                        .Byte(position)
                        .Bytes(),
                    24);
    };
    const struct {
        uint8_t storedBorder, storedPosition, border, position;
    } forms[] = {{0, 1, bsDialog, poScreenCenter},
                 {1, 0, bsSizeable, poDesigned},
                 {3, 4, bsDialog, poScreenCenter},
                 {2, 7, bsSizeable, poScreenCenter}};
    for (const auto& f : forms) {
        const TrpPage* read = v24(f.storedBorder, f.storedPosition);
        EXPECT_EQ(read->BorderStyle, f.border) << int(f.storedBorder);
        EXPECT_EQ(read->Position, f.position) << int(f.storedPosition);
        EXPECT_EQ(read->Type, ptDialog);
        EXPECT_EQ(read->Name, QStringLiteral("Диалог"));
        EXPECT_EQ(read->Caption, QStringLiteral("Заголовок"));
        EXPECT_EQ(read->Width, 300);
        EXPECT_EQ(read->PaperWidth, 1000);
        EXPECT_EQ(read->PaperBin, kDefaultBin);
    }
}

TEST_F(DesignPage, RecordsThatEndEarlyAreRefused)
{
    QBuffer full;
    full.open(QIODevice::WriteOnly);
    page->Name = QStringLiteral("Страница");
    page->Script = QStringList{QStringLiteral("X := 1;")};
    page->SaveToStream(full);
    const QByteArray bytes = full.data();
    // Cut in the middle of each part: the paper, the flags, the name, the script.
    for (int length : {0, 6, 34, 52, 58, int(bytes.size()) - 1}) {
        QBuffer cut;
        cut.setData(bytes.left(length));
        cut.open(QIODevice::ReadOnly);
        EXPECT_THROW(report.AddPage()->LoadFromStream(cut), EReadError) << length;
    }
    // A name whose length runs past the end.
    QByteArray longName = bytes;
    longName[51] = char(0x7F);   // the high octet of the name's length
    QBuffer damaged;
    damaged.setData(longName);
    damaged.open(QIODevice::ReadOnly);
    EXPECT_THROW(report.AddPage()->LoadFromStream(damaged), EReadError);
}

TEST_F(DesignPage, ReportPageScriptProperties)
{
    const auto get = [this](const char* name) { return page->GetPropertyValue(QString::fromLatin1(name)); };
    const auto set = [this](const char* name, const QVariant& value) {
        page->SetPropertyValue(QString::fromLatin1(name), value);
    };
    EXPECT_EQ(get("Width"), QVariant(756));
    EXPECT_EQ(get("height"), QVariant(1069));
    set("Width", 756);
    EXPECT_EQ(page->PaperWidth, 2100);
    set("WIDTH", 360);
    EXPECT_EQ(page->PaperWidth, 1000);
    EXPECT_EQ(get("Width"), QVariant(360));
    // Writing the paper only stores it: the geometry waits for the next paper change.
    set("Size", 5);
    set("Orientation", poLandscape);
    EXPECT_EQ(page->Size, 5);
    EXPECT_EQ(page->PaperGeometry.PageWidth, 758);

    set("StretchToPrintable", true);
    EXPECT_FALSE(page->MarginsOn);
    EXPECT_EQ(get("StretchToPrintable"), QVariant(true));
    set("ColumnWidth", 200);
    EXPECT_EQ(page->ColumnWidth, 200);
    EXPECT_TRUE(VarIsNull(get("ColumnWidth")));
    set("OnBeforePrint", QStringLiteral("begin\r\nend"));
    EXPECT_EQ(page->Script, (QStringList{"begin", "end"}));
    EXPECT_EQ(get("OnBeforePrint"), QVariant(QStringLiteral("begin\r\nend\r\n")));
    EXPECT_TRUE(VarIsNull(get("Nothing")));

    EnsurePropertiesDeclared(page);
    const TrpPropRec* size = page->FindProperty(QStringLiteral("size"));
    ASSERT_NE(size, nullptr);
    ASSERT_TRUE(size->EnumNames.has_value());
    EXPECT_EQ(size->EnumNames->size(), 67);
    EXPECT_EQ(size->EnumNames->at(8), QStringLiteral("A4, 210 x 297 mm"));
    EXPECT_EQ(size->EnumValues.toList().at(8), QVariant(kPaperA4));
    EXPECT_NE(page->FindProperty(QStringLiteral("BottomMargin")), nullptr);
    EXPECT_EQ(page->FindProperty(QStringLiteral("Caption")), nullptr);
}

TEST_F(DesignPage, DialogPageScriptProperties)
{
    page->Type = ptDialog;
    page->SetPropertyValue(QStringLiteral("Width"), 500);
    EXPECT_EQ(page->Width, 500);
    EXPECT_EQ(page->PaperWidth, 2100);
    EXPECT_EQ(page->GetPropertyValue(QStringLiteral("Height")), QVariant(300));
    page->SetPropertyValue(QStringLiteral("Caption"), QStringLiteral("Период"));
    EXPECT_EQ(page->Caption, QStringLiteral("Период"));

    EnsurePropertiesDeclared(page);
    const struct {
        const char* name;
        QStringList names;
        QVariantList values;
    } enums[] = {
        {"BorderStyle", {"bsDialog", "bsSizeable"}, {3, 2}},
        {"Position", {"poDesigned", "poScreenCenter"}, {0, 4}},
        {"Type", {"ptReport", "ptDialog"}, {0, 1}},
    };
    for (const auto& e : enums) {
        const TrpPropRec* rec = page->FindProperty(QString::fromLatin1(e.name));
        ASSERT_NE(rec, nullptr) << e.name;
        EXPECT_EQ(rec->EnumNames, e.names) << e.name;
        EXPECT_EQ(rec->EnumValues.toList(), e.values) << e.name;
    }
    EXPECT_EQ(page->FindProperty(QStringLiteral("Size")), nullptr);
    EXPECT_NE(page->FindProperty(QStringLiteral("OnActivate")), nullptr);
}

}  // namespace
