// A band object's script properties by band type, and how, while a report prints, they reach
// the run-time band the page build made of it.
#include <gtest/gtest.h>

#include "ReportObjectsFixture.h"
#include "report/data/Dataset.h"
#include "report/engine/Band.h"
#include "report/objects/BandView.h"

namespace {

using BandViews = ReportObjects;

TEST_F(BandViews, DeclaredPropertiesFollowTheBandType)
{
    const struct {
        int type;
        const char* property;
        bool declared;
    } cases[] = {
        {btPageFooter, "ChildBand", false}, {btPageFooter, "OnLastPage", true}, {btPageHeader, "OnLastPage", false},
        {btMasterData, "Columns", true},    {btMasterData, "PrintIfSubsetEmpty", true},
        {btGroupHeader, "Condition", true}, {btGroupHeader, "Master", true},    {btMasterData, "Condition", false},
        {btCrossData, "DataSource", true},  {btOverlay, "Stretched", false},    {btChild, "Breaked", true},
        {btMasterData, "FrameTyp", false},  {btMasterData, "Tag", false},       {btMasterData, "EOF", true},
        {btMasterData, "OnBeforePrint", true}, {btMasterData, "Memo", false},
    };
    for (const auto& c : cases) {
        TrpBandView band;
        band.FrameTyp = uint16_t(c.type);
        band.DeclareProperties();
        EXPECT_EQ(band.FindProperty(QLatin1String(c.property)) != nullptr, c.declared) << c.type << " " << c.property;
    }
}

TEST_F(BandViews, ScriptPropertiesReachTheRunTimeBandWhilePrinting)
{
    auto* view = Add<TrpBandView>();
    view->FrameTyp = btMasterData;
    view->Height = 20;
    auto* childView = Add<TrpBandView>();
    childView->Name = QStringLiteral("Child1");
    TrpBand band(btMasterData, page);
    TrpBand child(btChild, page);
    band.Height = 50;
    view->OwnerBand = &band;
    childView->OwnerBand = &child;

    EXPECT_EQ(view->GetPropertyValue(QStringLiteral("Height")).toInt(), 20) << "not printing: the band object's";
    context.PrintModeFlag = true;
    EXPECT_EQ(view->GetPropertyValue(QStringLiteral("Height")).toInt(), 50);
    view->SetPropertyValue(QStringLiteral("Height"), 70);
    view->SetPropertyValue(QStringLiteral("Visible"), false);
    view->SetPropertyValue(QStringLiteral("Breaked"), true);
    view->SetPropertyValue(QStringLiteral("ChildBand"), QStringLiteral("child1"));
    view->SetPropertyValue(QStringLiteral("Condition"), QStringLiteral("a + 1"));
    EXPECT_EQ(std::tie(band.Height, view->Height), std::make_tuple(70, 70));
    EXPECT_FALSE(band.Visible);
    EXPECT_TRUE(band.Breaked);
    EXPECT_TRUE(view->Flags & bfBreaked);
    EXPECT_EQ(band.Child, &child);
    EXPECT_EQ(band.Condition, context.ReportParser.ToPostfix(QStringLiteral("a + 1")));
    EXPECT_EQ(view->FormatText, QStringLiteral("a + 1"));

    // A data source named by a number is a counting source of that many records.
    view->SetPropertyValue(QStringLiteral("DataSource"), QStringLiteral("3"));
    ASSERT_NE(band.DataSet, nullptr);
    band.DataSet->First();
    int records = 0;
    QVariant ignored;
    while (!view->GetPropertyValue(QStringLiteral("EOF")).toBool() && records < 10) {
        ++records;
        view->CallMethod(QStringLiteral("NEXT"), {}, {}, {}, ignored);
    }
    EXPECT_EQ(records, 3);
    view->SetPropertyValue(QStringLiteral("DataSource"), QStringLiteral("a;b"));
    EXPECT_EQ(band.DataSet, nullptr) << "a text holding \";\" names no source";
}

// The data source a band's text names: a component, a number of repetitions, or for a master
// data band of a simple report that names none, the report's own source.
TEST(BandDataSource, TextNamesTheSource)
{
    TrpRunContext context;
    QObject window;
    auto* dsSilBin = new TrpUserDataset(&window);
    dsSilBin->setObjectName(QStringLiteral("dsSilBin"));
    auto* dsReport = new TrpUserDataset(&window);
    TrpReport* report = new TrpReport(context, &window);
    report->Dataset = dsReport;
    context.CurrentReport = report;
    TrpPage* page = report->AddPage();
    const struct {
        int type;
        const char* text;
        TrpDataset* source;   // none: a counting source the band made
        bool counting;
    } cases[] = {
        {btMasterData, "dsSilBin", dsSilBin, false}, {btMasterData, "3", nullptr, true},
        {btMasterData, "", dsReport, false},         {btMasterData, "a;b", dsReport, false},
        {btDetailData, "", nullptr, false},
    };
    for (const auto& c : cases) {
        TrpBand band(c.type, page);
        band.SetupDataSource(context, QString::fromLatin1(c.text));
        if (c.counting) {
            ASSERT_NE(band.DataSet, nullptr);
            EXPECT_EQ(band.DataSet->RangeEndCount, 3);
        } else {
            EXPECT_EQ(band.DataSet, c.source) << c.type << " " << c.text;
        }
    }
    report->ReportType = rtMultiple;
    TrpBand band(btMasterData, page);
    band.SetupDataSource(context, QString());
    EXPECT_EQ(band.DataSet, nullptr) << "a report built once per record lends its source to no band";
}

}  // namespace
