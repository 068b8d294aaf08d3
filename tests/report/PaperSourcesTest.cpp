// The printers' paper sources: the trays of a PPD (data/trays.ppd) read through libcups with the
// ids templates keep, only the default source where no CUPS server answers (as here and in CI),
// and the tray chosen going with the printer's next job.
#include <gtest/gtest.h>

#include <QPrinterInfo>

#include "QtPrinters.h"
#include "TestData.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/RunContext.h"

namespace {

const QStringList kPpdTrayNames{"Автовыбор", "Лоток 1", "Лоток 2", "Ручная подача", "Envelope"};

TEST(PaperSources, ThePpdsInputSlotsWithTheirIds)
{
    struct Expected {
        int id;
        const char* name;
        const char* value;
    };
    // Kinds Windows numbers keep its ids (Auto 7, Manual 4, Envelope 5); the printer's own
    // trays are 256 and on by their place in its list.
    const Expected expected[] = {
        {7, "Автовыбор", "Auto"},       {257, "Лоток 1", "Tray1"}, {258, "Лоток 2", "Tray2"},
        {4, "Ручная подача", "Manual"}, {5, "Envelope", "Envelope"},
    };
    const std::vector<TrpPaperSource> sources = PpdPaperSources(TestDataPath("trays.ppd"));
    ASSERT_EQ(sources.size(), std::size(expected));
    for (size_t i = 0; i < sources.size(); ++i) {
        EXPECT_EQ(sources[i].Id, expected[i].id) << i;
        EXPECT_EQ(sources[i].Name, QString::fromUtf8(expected[i].name)) << i;
        EXPECT_EQ(sources[i].Option, QByteArray("InputSlot")) << i;
        EXPECT_EQ(sources[i].Value, QByteArray(expected[i].value)) << i;
    }
    EXPECT_TRUE(PpdPaperSources(TestDataPath("picture.wmf")).empty()) << "not a PPD";
    EXPECT_TRUE(PpdPaperSources(TestDataPath("none.ppd")).empty());
}

TEST(PaperSources, WithoutACupsServerOnlyTheDefaultSource)
{
    EXPECT_TRUE(CupsPaperSources(QStringLiteral("Нет такого принтера")).empty());

    // A printer listed but not installed, and the printers Qt finds: none without CUPS.
    TrpRunContext listed;
    listed.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList{"Офис"}; });
    StartReportPrinter(listed);
    EXPECT_FALSE(listed.ReportPrinter.IsVirtual());
    EXPECT_EQ(listed.ReportPrinter.BinIds, std::vector<int>{-1});
    EXPECT_EQ(listed.ReportPrinter.BinNames, QStringList{"Default source"});
    EXPECT_TRUE(static_cast<TrpQtPrinter&>(*listed.PlatformPrinter).JobOptions().isEmpty());

    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "CUPS lists printers on this machine";
    TrpRunContext installed;
    AttachInstalledPrinters(installed);
    EXPECT_EQ(installed.ReportPrinter.BinNames, QStringList{"Default source"});
}

// Two printers: "Лазерный" with the trays of the PPD, "Матричный" with none.
class TrayPrinter : public ::testing::Test {
protected:
    TrayPrinter()
    {
        auto device = std::make_unique<TrpQtPrinter>(
            [] { return QStringList{"Лазерный", "Матричный"}; },
            [](const QString& name) {
                return name == QStringLiteral("Лазерный") ? PpdPaperSources(TestDataPath("trays.ppd"))
                                                          : std::vector<TrpPaperSource>();
            });
        qt = device.get();
        context.PlatformPrinter = std::move(device);
        StartReportPrinter(context);
    }

    void Tray(int bin) { printer.SetPaper(kPaperA4, 0, 0, bin, poPortrait, true); }

    TrpRunContext context;
    TrpPrinter& printer = context.ReportPrinter;
    TrpQtPrinter* qt = nullptr;
};

TEST_F(TrayPrinter, ListsItsTraysAndGivesTheChosenOneToTheJob)
{
    EXPECT_EQ(printer.BinIds, (std::vector<int>{-1, 7, 257, 258, 4, 5}));
    EXPECT_EQ(printer.BinNames, QStringList{"Default source"} + kPpdTrayNames);
    EXPECT_EQ(printer.PaperBin, -1);
    EXPECT_TRUE(qt->JobOptions().isEmpty()) << "the printer's default tray";

    const struct {
        int bin;
        int paperBin;
        QStringList options;
    } steps[] = {
        {258, 258, {"InputSlot", "Tray2"}},
        {kDefaultBin, 258, {"InputSlot", "Tray2"}},   // the default asked leaves the tray chosen
        {4, 4, {"InputSlot", "Manual"}},
        {-1, 4, {"InputSlot", "Manual"}},
        // A tray the printer does not have stays asked for, so that its pages go on in one job,
        // and the job takes the printer's default.
        {2, 2, {}},
    };
    for (const auto& step : steps) {
        Tray(step.bin);
        EXPECT_EQ(printer.PaperBin, step.paperBin) << step.bin;
        EXPECT_EQ(qt->JobOptions(), step.options) << step.bin;
    }

    printer.ChoosePrinter(1);
    EXPECT_EQ(printer.BinIds, std::vector<int>{-1});
    EXPECT_TRUE(qt->JobOptions().isEmpty());
    printer.ChoosePrinter(0);
    EXPECT_EQ(printer.PaperBin, -1) << "a printer chosen again starts on its default tray";
    EXPECT_EQ(printer.BinNames.size(), 6);
}

}  // namespace
