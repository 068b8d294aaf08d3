// The report engine's texts in Russian: every text number a window of the engine can show has a
// Russian text, and a context given the table speaks it, its printer's names included.
#include "app/main/RussianReportTexts.h"
#include "report/paper/PaperTable.h"
#include "report/runtime/ReportStrings.h"
#include "report/runtime/RunContext.h"
#include "tests/app/RussianTexts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

// Text numbers no window shows: the band type names (a designer's), and the predefined layouts of
// values, which decide what reports print (the Boolean ones double as the format dialog's types,
// where they are the layouts themselves), and the default character set.
bool IsNoWindowText(int id)
{
    return (id >= 55077 && id <= 55099) || (id >= 55170 && id <= 55173) || (id >= 55175 && id <= 55182) ||
           id == 55337;
}

// Texts the windows of the engine take by number that the engine's own table lacks: the
// virtual printer's papers and the printer's default paper source.
std::vector<int> WindowTextsTheEngineLacks()
{
    std::vector<int> ids{55435};
    for (int id = kFirstPaperNameText; id < kFirstPaperNameText + int(PaperTable().size()); ++id)
        ids.push_back(id);
    return ids;
}

TEST(RussianReportTextsTest, EveryTextAWindowOfTheEngineShowsIsRussian)
{
    std::vector<int> ids = WindowTextsTheEngineLacks();
    for (int id = 53000; id <= 55670; ++id)
        if (!ReportResourceString(id).isEmpty() && !IsNoWindowText(id))
            ids.push_back(id);
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    for (const int id : ids) {
        const QString engine = ReportResourceString(id);
        const QString russian = RussianReportText(id);
        // A text the engine has in Russian already (or without words) may stand as it is.
        const QString shown = russian.isEmpty() ? engine : russian;
        SCOPED_TRACE(id);
        EXPECT_FALSE(shown.isEmpty());
        // Paper names keep their designations; a function's description keeps its name.
        const QString text = id >= 55577 && id <= 55631 ? shown.section(QLatin1Char('/'), 1) : shown;
        EXPECT_EQ(LatinWords(text, id >= kFirstPaperNameText && id <= 55074 ? kPaperDesignations : QStringList()),
                  QStringList())
            << shown.toStdString();
        if (text.contains(QRegularExpression(QStringLiteral("[A-Za-zА-Яа-яЁё]{2}")))) {
            EXPECT_TRUE(text.contains(cyrillic)) << shown.toStdString();
        }
    }
}

TEST(RussianReportTextsTest, TheEngineAsksTheTableFirstAndKeepsItsOwnTextsElse)
{
    TrpRunContext context;
    InstallRussianReportTexts(context);
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {55205, "Обработка страницы:"},   // the progress window
        {55004, "Страница"},              // the preview's page label
        {55211, "Файл отчёта"},           // the prepared reports' file type
        {55206, "Ошибка"},                // the engine's error boxes
        {55213, "Файл не является сохранённым отчётом"},   // the engine's own, Russian already
        {55170, "0;1"},                   // a layout of values stays
        {53999, ""},                      // a number nobody has
    };
    for (const auto& c : cases)
        EXPECT_EQ(context.Locale.LoadString(c.id), QString::fromUtf8(c.text)) << c.id;
}

TEST(RussianReportTextsTest, ThePrinterMadeBeforeTheTableIsNamedAgain)
{
    TrpRunContext context;
    context.ReportPrinter.AttachPrinter(nullptr);
    InstallRussianReportTexts(context);
    const TrpPrinter& printer = context.ReportPrinter;
    ASSERT_EQ(printer.Printers.size(), 1);
    EXPECT_EQ(printer.Printers.front(), QStringLiteral("Виртуальный принтер (файл PDF)"));
    ASSERT_EQ(printer.PaperNames.size(), qsizetype(PaperTable().size()));
    const auto a4 = std::find(printer.PaperIds.begin(), printer.PaperIds.end(), kPaperA4) - printer.PaperIds.begin();
    EXPECT_EQ(printer.PaperNames.value(a4), QStringLiteral("A4, 210 × 297 мм"));
    EXPECT_EQ(printer.PaperNames.back(), QStringLiteral("Особый размер"));
    EXPECT_EQ(printer.BinNames, QStringList{QStringLiteral("По умолчанию")});
}

} // namespace
