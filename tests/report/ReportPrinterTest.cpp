// The report printer without installed printers: the virtual printer's list, paper and page
// geometry, the paper change rules, and its paper table.
#include <gtest/gtest.h>

#include <set>

#include "QtPrinters.h"
#include "report/paper/PaperTable.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

class VirtualPrinter : public ::testing::Test {
protected:
    TPaperGeometry Geometry()
    {
        TPaperGeometry g;
        printer.FillPaperGeometry(g);
        return g;
    }

    TrpRunContext context;
    TrpPrinter& printer = context.ReportPrinter;
};

TEST_F(VirtualPrinter, StartsAloneWithoutInstalledPrinters)
{
    EXPECT_EQ(printer.Printers, QStringList{QStringLiteral("Virtual printer")});
    EXPECT_EQ(printer.CurrentIndex, 0);
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_FALSE(printer.HasDeviceSettings());
    EXPECT_TRUE(context.PrinterReady);
    // No printer gave settings: new pages follow whatever paper the printer has.
    EXPECT_EQ(printer.PaperSize, -1);
    EXPECT_EQ(context.DefaultPaperSize, -1);
    EXPECT_EQ(printer.PaperWidth, 2100);
    EXPECT_EQ(printer.PaperHeight, 2970);
    EXPECT_EQ(printer.PaperIds.size(), 67u);
    EXPECT_EQ(printer.PaperNames.size(), 67);
    EXPECT_EQ(printer.BinIds, std::vector<int>{-1});
    EXPECT_THROW(printer.ChoosePrinter(1), EPrinter);
}

TEST_F(VirtualPrinter, PageGeometryOfPapers)
{
    struct Case {
        int size, width, height, orientation;
        int paperWidth, paperHeight;
        int pageWidth, pageHeight;
    };
    const Case cases[] = {
        {kPaperA4, 0, 0, poPortrait, 2100, 2970, 758, 1071},
        {kPaperA4, 0, 0, poLandscape, 2970, 2100, 1071, 758},
        {5, 0, 0, poPortrait, 2159, 3556, 779, 1283},   // Legal
        {kCustomPaper, 1000, 1500, poPortrait, 1000, 1500, 361, 541},
        {kCustomPaper, 1500, 1000, poLandscape, 1500, 1000, 541, 361},
    };
    for (const Case& c : cases) {
        printer.SetPaper(c.size, c.width, c.height, -1, c.orientation, false);
        const TPaperGeometry g = Geometry();
        EXPECT_EQ(printer.PaperWidth, c.paperWidth) << c.size;
        EXPECT_EQ(printer.PaperHeight, c.paperHeight) << c.size;
        EXPECT_EQ(g.PageWidth, c.pageWidth) << c.size;
        EXPECT_EQ(g.PageHeight, c.pageHeight) << c.size;
        EXPECT_EQ(g.OffsetX, 18);
        EXPECT_EQ(g.OffsetY, 18);
        EXPECT_EQ(g.PrintWidth, c.pageWidth - 36);
        EXPECT_EQ(g.PrintHeight, c.pageHeight - 36);
        EXPECT_EQ(g.DevicePageWidth, 0);   // the virtual printer has no device
    }
}

TEST_F(VirtualPrinter, PaperIdOutsideTheTableKeepsTheSize)
{
    printer.SetPaper(kPaperA4, 0, 0, -1, poLandscape, false);
    printer.SetPaper(999, 1234, 2345, -1, poPortrait, false);
    EXPECT_EQ(printer.PaperSize, 999);
    EXPECT_EQ(printer.PaperWidth, 1234);
    EXPECT_EQ(printer.PaperHeight, 2345);
    EXPECT_EQ(printer.Orientation, poPortrait);
    // Asked for without a size, it keeps the sheet it has rather than a sheet of nothing.
    printer.SetPaper(-1, 0, 0, -1, poPortrait, false);
    EXPECT_EQ(printer.PaperSize, -1);
    EXPECT_EQ(printer.PaperWidth, 1234);
    EXPECT_EQ(printer.PaperHeight, 2345);
    TPaperGeometry g;
    printer.FillPaperGeometry(g);
    EXPECT_EQ(g.PageWidth, 445);
    // Such a paper is no sheet of the printer's: its table has 1 to 47 and 50 to 68, and a
    // custom size only with one.
    for (const int id : {1, 47, 50, 68})
        EXPECT_TRUE(printer.HasSheet(id, 0, 0)) << id;
    for (const int id : {999, 48, 49, 69, 0, -1})
        EXPECT_FALSE(printer.HasSheet(id, 1234, 2345)) << id;
    EXPECT_FALSE(printer.HasSheet(kCustomPaper, 0, 0));
    EXPECT_TRUE(printer.HasSheet(kCustomPaper, 10, 10));
}

TEST_F(VirtualPrinter, EqualPapersAreLeftAloneUnlessForced)
{
    printer.SetPaper(kPaperA4, 0, 0, kDefaultBin, poPortrait, false);
    // Only an applied paper refreshes the size from the table.
    printer.PaperWidth = 1;
    printer.SetPaper(kPaperA4, 0, 0, kDefaultBin, poPortrait, false);
    EXPECT_EQ(printer.PaperWidth, 1);
    printer.SetPaper(kPaperA4, 0, 0, kDefaultBin, poPortrait, true);
    EXPECT_EQ(printer.PaperWidth, 2100);

    printer.SetPaper(kCustomPaper, 2100, 2970, -1, poPortrait, false);
    printer.PaperBin = 7;
    struct Case {
        int size, width, height, bin, orientation;
        bool equal;
    };
    const Case cases[] = {
        {kCustomPaper, 2101, 2969, 3, poPortrait, true},   // within a tenth; the bin is not compared
        {kCustomPaper, 2100, 2972, 7, poPortrait, false},
        {kCustomPaper, 2100, 2970, 7, poLandscape, false},
        {kPaperA4, 2100, 2970, 7, poPortrait, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printer.IsEqualPaper(c.size, c.width, c.height, c.bin, c.orientation), c.equal)
            << c.width << "x" << c.height << " bin " << c.bin;

    printer.SetPaper(kPaperA4, 0, 0, 7, poPortrait, false);
    for (int bin : {7, -1, 0xFFFF, 0x1FFFF})
        EXPECT_TRUE(printer.IsEqualPaper(kPaperA4, 0, 0, bin, poPortrait)) << bin;
    EXPECT_FALSE(printer.IsEqualPaper(kPaperA4, 0, 0, 2, poPortrait));
}

TEST_F(VirtualPrinter, NamesComeFromTheEngineTextsWhenTheyHaveThem)
{
    EXPECT_EQ(printer.PaperNames[8], QStringLiteral("A4, 210 x 297 mm"));
    EXPECT_EQ(printer.BinNames, QStringList{QStringLiteral("Default source")});
    context.Locale.OnLocalize = [](int id, QString& text) {
        if (id == 55007)
            text = QStringLiteral("Виртуальный принтер");
        else if (id == 55016)
            text = QStringLiteral("А4");
    };
    printer.Localize(context.Locale);
    EXPECT_EQ(printer.Printers.last(), QStringLiteral("Виртуальный принтер"));
    EXPECT_EQ(printer.PaperNames[8], QStringLiteral("А4"));
    EXPECT_EQ(printer.PaperNames[0], QStringLiteral("Letter, 8 1/2 x 11 in"));
}

TEST(PaperTable, IdsNamesAndSizes)
{
    const auto table = PaperTable();
    ASSERT_EQ(table.size(), 67u);
    std::set<int> ids;
    for (const TPaperInfo& paper : table)
        EXPECT_TRUE(ids.insert(paper.Id).second) << "paper id " << paper.Id << " twice";
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(ids.count(48) + ids.count(49), 0u);
    EXPECT_EQ(table.back().Id, kCustomPaper);

    struct Case {
        int id;
        const char* name;
        int width, height;
    };
    const Case cases[] = {
        {1, "Letter, 8 1/2 x 11 in", 2159, 2794},
        {5, "Legal, 8 1/2 x 14 in", 2159, 3556},
        {8, "A3, 297 x 420 mm", 2970, 4200},
        {9, "A4, 210 x 297 mm", 2100, 2970},
        {11, "A5, 148 x 210 mm", 1480, 2100},
        {12, "B4 (JIS), 250 x 354 mm", 2500, 3540},
        {13, "B5 (JIS), 182 x 257 mm", 1820, 2570},
        {41, "German Legal Fanfold, 8 1/2 x 13 in", 2159, 3302},
        {42, "B4 (ISO), 250 x 353 mm", 2500, 3530},
        {46, "15 x 11 in", 3810, 2794},
        {68, "A3 Extra Transverse, 322 x 445 mm", 3220, 4450},
        {kCustomPaper, "Custom size", 0, 0},
    };
    for (const Case& c : cases) {
        const TPaperInfo* paper = FindPaper(c.id);
        ASSERT_NE(paper, nullptr) << c.id;
        EXPECT_STREQ(paper->Name, c.name);
        EXPECT_EQ(paper->Width, c.width) << c.id;
        EXPECT_EQ(paper->Height, c.height) << c.id;
    }
    for (int missing : {0, 48, 49, 69, 255, -1})
        EXPECT_EQ(FindPaper(missing), nullptr) << missing;
}

}  // namespace
