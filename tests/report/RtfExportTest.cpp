// The RTF export: the document's head and tables, one table row per memo and rich text, escaping
// with the engine's RTF reader, page ranges with page breaks only between exported pages, and
// pictures of other objects.
#include "ExportFixture.h"

#include <QTextDocument>

#include "report/export/RtfAdvExport.h"
#include "report/file/RtfReader.h"
#include "report/objects/LineView.h"
#include "report/objects/RichView.h"
#include "report/runtime/ReportErrors.h"

namespace {

constexpr TColor kRed = 0x0000FF;

class RtfExport : public ExportFixture {
protected:
    RtfExport()
    {
        filter.ShowDialog = false;
    }

    // The document of one page holding the memo.
    QByteArray OneMemo(const TMemoPlacement& placement, const std::function<void(TrpMemoView&)>& setUp = {})
    {
        report.EMFPages->Clear();
        AddPage();
        Print(0, placement, setUp);
        EXPECT_TRUE(Export(filter, Path()));
        return Contents(Path());
    }

    // The options dialog as the user fills it: the page range typed.
    void TypeRange(const QString& range)
    {
        filter.ShowDialog = true;
        context.ExportOptionsDialog = [range](TrpExportFilter& f) {
            static_cast<TrpRtfAdvExport&>(f).PageRange = range;
            return int(mrOk);
        };
    }

    TrpRtfAdvExport filter{context};
};

TEST_F(RtfExport, OneMemoGivesHeadTablesAndOneCell)
{
    const QByteArray rtf = OneMemo({10, 20, 100, 30, {"Hello"}}, [](TrpMemoView& memo) { memo.Font.Size = 8; });
    // The row (its width also as the row's own), its line followed by CR LF.
    const QByteArray row("\\trowd\\posx150\\posy301\\absw1505\\absh452\\trgaph5\\trrh452\\trftsWidth3\\trwWidth1505"
                         "\\cellx1505\\ql{\\f0\\fs16\\cf1 Hello\r\n}\\cell\\pard\\intbl\\intbl\\row\\pard");
    // In a text box from (150, 301) to (150 + 1505, 301 + 452) twips of the page, and again as
    // the box's result.
    const QByteArray box("{\\shp{\\*\\shpinst\\shpleft150\\shptop301\\shpright1655\\shpbottom753\\shpbxpage\\shpbypage"
                         "\\shpwr3{\\sp{\\sn shapeType}{\\sv 202}}{\\sp{\\sn fLine}{\\sv 0}}{\\sp{\\sn fFilled}{\\sv 0}}"
                         "{\\sp{\\sn dxTextLeft}{\\sv 0}}{\\sp{\\sn dxTextRight}{\\sv 0}}{\\sp{\\sn dyTextTop}{\\sv 0}}"
                         "{\\sp{\\sn dyTextBottom}{\\sv 0}}{\\shptxt ");
    EXPECT_EQ(rtf, QByteArray("{\\rtf1\\ansi\\ansicpg1251\r\n"
                              "\\paperw11907\\paperh16840\\margl0\\margr0\\margt600\\margb600\r\n"
                              "{\\fonttbl{\\f0\\fcharset204 Arial;}}\r\n"
                              "{\\colortbl;\\red0\\green0\\blue0;}\r\n"
                              "\\margtsxn0 \r\n\\par ") +
                       box + row + "}}{\\shprslt " + row + "}}" + "\\pard\r\n\\par}");
}

TEST_F(RtfExport, CellsCarryTheMemosLook)
{
    const struct {
        const char* name;
        std::function<void(TrpMemoView&)> setUp;
        QByteArray cell;     // from the row's end of position words to the text
        QByteArray colours;  // the colour table
    } cases[] = {
        {"plain", {}, "\\cellx1505\\ql{\\f0\\fs20\\cf1 ", "{\\colortbl;\\red0\\green0\\blue0;}"},
        {"bold and italic", [](TrpMemoView& m) { m.Font.Style = fsBold | fsItalic; },
         "\\cellx1505\\ql{\\f0\\fs20\\b\\i\\cf1 ", "{\\colortbl;\\red0\\green0\\blue0;}"},
        {"white text is written black", [](TrpMemoView& m) { m.Font.Color = clWhite; },
         "\\cellx1505\\ql{\\f0\\fs20\\cf1 ", "{\\colortbl;\\red0\\green0\\blue0;}"},
        {"fill and frames", [](TrpMemoView& m) { m.FillColor = kRed; m.FrameTyp = frAllSides; },
         "\\clcbpat1\\clbrdrl\\brdrw15\\brdrs\\clbrdrr\\brdrw15\\brdrs\\clbrdrt\\brdrw15\\brdrs"
         "\\clbrdrb\\brdrw15\\brdrs\\cellx1505\\ql{\\f0\\fs20\\cf2 ",
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"},
        {"system colour fill", [](TrpMemoView& m) { m.FillColor = clBtnFace; },
         "\\clcbpat1\\cellx1505\\ql{\\f0\\fs20\\cf2 ", "{\\colortbl;\\red240\\green240\\blue240;\\red0\\green0\\blue0;}"},
        {"white fill has none", [](TrpMemoView& m) { m.FillColor = clWhite; }, "\\trwWidth1505\\cellx1505\\ql{", ""},
        {"right and bottom", [](TrpMemoView& m) { m.Alignment = taRight | taDown; },
         "\\cellx1505\\qr\\clvertalb{", ""},
        {"centred", [](TrpMemoView& m) { m.Alignment = taCenter | taMiddle; }, "\\cellx1505\\qc\\clvertalc{", ""},
        {"justified", [](TrpMemoView& m) { m.Alignment = taJustify; }, "\\cellx1505\\qj{", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray rtf = OneMemo({10, 20, 100, 30, {"Hello"}}, c.setUp);
        EXPECT_TRUE(rtf.contains(c.cell)) << rtf.constData();
        EXPECT_TRUE(rtf.contains(c.colours)) << rtf.constData();
    }
}

TEST_F(RtfExport, TextIsEscapedAndReadsBack)
{
    const QByteArray rtf = OneMemo({10, 20, 300, 60, {"Зерно {силос}", "C:\\путь"}});
    EXPECT_TRUE(rtf.contains("{\\f0\\fs20\\cf1 \\'c7\\'e5\\'f0\\'ed\\'ee \\{\\'f1\\'e8\\'eb\\'ee\\'f1\\}\\line\r\n"
                             "C:\\\\\\'ef\\'f3\\'f2\\'fc\r\n}\\cell"))
        << rtf.constData();
    QTextDocument document;
    ReadRtf(rtf, document);
    EXPECT_TRUE(document.toPlainText().contains(QStringLiteral("Зерно {силос}\nC:\\путь")))
        << document.toPlainText().toStdString();
}

TEST_F(RtfExport, EmptyMemosAreLeftOutAndTiesGoShorterFirst)
{
    AddPage();
    Print(0, {10, 20, 100, 30, {"longer"}});
    Print(0, {10, 20, 100, 30, {}});
    Print(0, {10, 20, 100, 30, {}, frBottom});   // a frame alone still gives a cell
    Print(0, {10, 20, 100, 30, {"short"}});
    ASSERT_TRUE(Export(filter, Path()));
    const QByteArray rtf = Contents(Path());
    EXPECT_EQ(rtf.count("{\\shptxt \\trowd"), 3);
    const qsizetype framed = rtf.indexOf("\\clbrdrb");
    const qsizetype shortText = rtf.indexOf(" short\r\n}");
    EXPECT_TRUE(framed >= 0 && framed < shortText && shortText < rtf.indexOf(" longer\r\n}"));
}

TEST_F(RtfExport, PageRangesChooseThePagesAndBreaksGoBetweenThem)
{
    for (int page = 1; page <= 15; ++page)
        Print(AddPage(), {10, 20, 100, 30, {QStringLiteral("Page%1").arg(page)}});
    const auto exported = [](const QByteArray& rtf) {
        QList<int> pages;
        for (int page = 1; page <= 15; ++page)
            if (rtf.contains(" Page" + QByteArray::number(page) + "\r\n}"))
                pages.append(page);
        return pages;
    };
    const struct {
        const char* range;
        bool pageBreaks;
        QList<int> pages;
    } cases[] = {
        {"1,3,5-12", true, {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"", false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {" 14 - 40 ", true, {14, 15}},   // clamped to the report
        {"9-7,2", true, {2}},             // a range backwards takes nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range);
        TypeRange(QString::fromUtf8(c.range));
        filter.PageBreaks = c.pageBreaks;
        ASSERT_TRUE(Export(filter, Path()));
        const QByteArray rtf = Contents(Path());
        EXPECT_EQ(exported(rtf), c.pages);
        EXPECT_EQ(rtf.count("\\page\r\n"), c.pageBreaks ? c.pages.size() - 1 : 0);
        EXPECT_TRUE(rtf.endsWith("\\pard\r\n\\par}"));
    }
}

TEST_F(RtfExport, RangesThatCannotBeExportedAreRefused)
{
    for (int page = 0; page < 3; ++page)
        Print(AddPage(), {10, 20, 100, 30, {"x"}});
    const struct {
        const char* range;
        const char* message;
    } cases[] = {
        {"5-", "Неверный диапазон страниц: \"5-\""},
        {"1,,2", "Неверный диапазон страниц: \"1,,2\""},
        {"99999999999", "Неверный диапазон страниц: \"99999999999\""},
        {"4-9", "В отчёте 3 стр.: диапазон \"4-9\" не выбирает ни одной"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range);
        TypeRange(QString::fromUtf8(c.range));
        try {
            Export(filter, Path(QStringLiteral("refused.rtf")));
            ADD_FAILURE() << "exported";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("refused.rtf"))));
    }
}

TEST_F(RtfExport, RichTextsBecomeCellsOfTheirPlainText)
{
    AddPage();
    auto* rich = static_cast<TrpRichView*>(design->AddObject(std::make_unique<TrpRichView>()));
    rich->SetBounds(10, 20, 100, 30);
    rich->FrameTyp = frLeft | frTop;
    rich->FillColor = kRed;
    ReadRtf("{\\rtf1\\ansi\\ansicpg1251 {\\b \\'d2\\'e5\\'ea\\'f1\\'f2} \\{x\\}\\par \\qc second}", *rich->RichEdit);
    PrintView(0, *rich);

    ASSERT_TRUE(Export(filter, Path()));
    const QByteArray rtf = Contents(Path());
    EXPECT_TRUE(rtf.contains("\\trowd\\posx150\\posy301\\absw1505\\absh452\\trgaph5\\trrh452\\trftsWidth3\\trwWidth1505"
                             "\\clbrdrl\\brdrw15\\brdrs\\clbrdrt\\brdrw15\\brdrs\\cellx1505"
                             "{\\'d2\\'e5\\'ea\\'f1\\'f2 \\{x\\}\\line\r\nsecond\r\n}\\cell\\pard\\intbl\\intbl\\row\\pard"))
        << rtf.constData();
    EXPECT_FALSE(rtf.contains("\\pict")) << "not a picture";
    EXPECT_FALSE(rtf.contains("\\clcbpat")) << "no fill";
}

TEST_F(RtfExport, OtherObjectsBecomePictures)
{
    AddPage();
    design->ApplyPaper(kPaperA4, 0, 0, -1, poLandscape);
    const int landscape = AddPage();
    auto* line = static_cast<TrpLineView*>(design->AddObject(std::make_unique<TrpLineView>()));
    line->SetBounds(20, 40, 60, 0);
    PrintView(landscape, *line);
    Print(landscape, {10, 20, 100, 30, {"x"}});

    ASSERT_TRUE(Export(filter, Path()));
    QByteArray rtf = Contents(Path());
    EXPECT_EQ(rtf.count("\\lndscpsxn "), 1);
    const qsizetype picture = rtf.indexOf("\\pard\\phmrg\\pvpg\\posx301\\posy602\\absh0\\absw903{\\pict\\wmetafile8\\picw1588"
                                          "\\pich0 \\picbmp\\picbpp4\r\n010009000003");
    ASSERT_GE(picture, 0) << rtf.constData();
    EXPECT_LT(picture, rtf.indexOf("\\margtsxn0", picture));
    EXPECT_GT(rtf.indexOf("030000000000}\\par\r\n", picture), picture);

    // Half the width and twice the height: cells follow both scales, pictures only move across.
    filter.ShowDialog = true;
    context.ExportOptionsDialog = [](TrpExportFilter& f) {
        auto& rtf = static_cast<TrpRtfAdvExport&>(f);
        rtf.ScaleX = 0.5;
        rtf.ScaleY = 2;
        return int(mrOk);
    };
    ASSERT_TRUE(Export(filter, Path()));
    rtf = Contents(Path());
    EXPECT_TRUE(rtf.contains("\\pard\\phmrg\\pvpg\\posx150\\posy602\\absh0\\absw903{")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\trowd\\posx75\\posy602\\absw752\\absh903\\trgaph5\\trrh903\\trftsWidth3\\trwWidth752\\cellx752")) << rtf.constData();

    filter.ExportPictures = false;
    ASSERT_TRUE(Export(filter, Path()));
    EXPECT_FALSE(Contents(Path()).contains("\\pict"));
}

TEST_F(RtfExport, PicturesAreCutToThePage)
{
    // A4 is 758 x 1071 page units. A line 3000 units each way from (20, 40) would be a bitmap of
    // 3001 x 3001; cut to the page it is 738 x 1031 (0x2E2 x 0x407), placed where it was.
    AddPage();
    const auto printLine = [this](int left, int top, int width, int height) {
        auto* line = static_cast<TrpLineView*>(design->AddObject(std::make_unique<TrpLineView>()));
        line->SetBounds(left, top, width, height);
        PrintView(0, *line);
    };
    printLine(20, 40, 3000, 3000);
    printLine(-3000, 40, 100, 100);   // wholly left of the page
    ASSERT_TRUE(Export(filter, Path()));
    const QByteArray rtf = Contents(Path());
    EXPECT_EQ(rtf.count("{\\pict"), 1);
    // 738 x 15.05 = 11106.9, 1031 x 15.05 = 15516.55; extents x 26.46875.
    EXPECT_TRUE(rtf.contains("\\posx301\\posy602\\absh15517\\absw11107{\\pict\\wmetafile8\\picw19534\\pich27289"))
        << rtf.left(400).constData();
    EXPECT_TRUE(rtf.contains("050000000c020704E202")) << "window extent: height, width";
}

} // namespace
