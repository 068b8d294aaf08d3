// The standard and database function libraries as report expressions call them: through the
// run context's parser, bound to a report over a memory table.
#include <gtest/gtest.h>

#include <map>

#include <QLocale>

#include "base/DateTime.h"
#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Aggregates.h"
#include "report/engine/Report.h"
#include "report/expr/AggregateFunctionsSplitter.h"
#include "report/expr/Interpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

class FunctionLibraries : public ::testing::Test {
protected:
    FunctionLibraries()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        table->setObjectName(QStringLiteral("dmReport"));
        table->AddField(QStringLiteral("SilName"), ftString, 10);
        table->AddField(QStringLiteral("TD1"), ftFloat);
        table->Open();
        AddRow(QStringLiteral("С-1"), QVariant());   // no reading
        AddRow(QStringLiteral("С-2"), -3.5);
        table->First();
        dsReport->setObjectName(QStringLiteral("dsReport"));
        dsReport->SetDataSet(table);

        page = report->AddPage();
        master.Name = QStringLiteral("MasterData1");
        master.DataSet = dsReport;
        footer.Name = QStringLiteral("MasterFooter1");
        page->Bands[btMasterData] = &master;
        page->Bands[btMasterFooter] = &footer;

        context.CurrentReport = context.RootReport = report;
        context.CurrentPage = page;
        context.CurrentBand = &master;
        context.CurDate = EncodeDateTime(2024, 3, 8, 14, 5, 9, 0);
        report->BindParser();
    }
    ~FunctionLibraries() override
    {
        delete report;
        QLocale::setDefault(QLocale::c());
    }

    void AddRow(const QString& name, const QVariant& td1)
    {
        table->Append();
        table->Field(QStringLiteral("SilName"))->SetValue(name);
        table->Field(QStringLiteral("TD1"))->SetValue(td1);
        table->Post();
    }
    QVariant Evaluate(const QString& expression) { return context.ReportParser.Evaluate(expression); }
    // The message of the error the expression raises, or "" when it raises none.
    QString ErrorOf(const QString& expression)
    {
        try {
            Evaluate(expression);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    }

    TrpRunContext context;
    QObject window;
    TMemoryTable* table = new TMemoryTable(&window);
    TrpDBDataSet* dsReport = new TrpDBDataSet(&window);
    TrpReport* report = new TrpReport(context, &window);
    TrpPage* page = nullptr;
    TrpBand master{btMasterData, nullptr};
    TrpBand footer{btMasterFooter, nullptr};
};

TEST_F(FunctionLibraries, StandardFunctions)
{
    const struct {
        const char* expression;
        QVariant value;
    } cases[] = {
        {"MAXNUM(2, 3)", 3.0},
        {"MINNUM(2, 3)", 2.0},
        {"MAXNUM(3, 3)", 3.0},
        {"maxnum(-1.5, -2)", -1.5},                          // any letter case
        {"MINNUM('10', 9)", 9.0},                            // a text that is a number compares as one
        {"NAMECASE('иВАН иВАНОВ')", QStringLiteral("Иван иванов")},
        {"NAMECASE('')", QString()},
        {"POS('b', 'abc')", 2},
        {"POS('x', 'abc')", 0},
        {"POS('', 'abc')", 0},                               // an empty text is nowhere
        {"POS('abcd', 'abc')", 0},
        {"POS('с', 'Силос')", 5},                            // case counts
        {"LENGTH('Силос')", 5},
        {"LENGTH('')", 0},
        {"LOWERCASE('АбВ')", QStringLiteral("абв")},
        {"UPPERCASE('абв q')", QStringLiteral("АБВ Q")},
        {"TRIM('  a b  ')", QStringLiteral("a b")},
        {"TRIM(CRLF + 'a' + CRLF)", QStringLiteral("a")},
        {"TRIM('')", QString()},
        {"DAYOF(DATE)", 8},
        {"MONTHOF(DATE)", 3},
        {"YEAROF(DATE)", 2024},
        {"YEAROF(0)", 1899},
        {"FORMATDATETIME('dd.mm.yyyy hh:nn', DATE)", QStringLiteral("08.03.2024 14:05")},
        {"FORMATDATETIME('mmmm yyyy', DATE)", QStringLiteral("Март 2024")},
        {"FORMATDATETIME('d mmmm yyyy', DATE)", QStringLiteral("8 марта 2024")},
        {"FORMATFLOAT('0.00', 2.5)", QStringLiteral("2,50")},
        {"FORMATFLOAT('0.00', dmReport.\"TD1\")", QStringLiteral("0,00")},   // a null field reads as 0
        {"FORMATFLOAT('', 1e30)", QStringLiteral("1E30")},
        {"FORMATTEXT('(000) 000-00-00', '9161234567')", QStringLiteral("(916) 123-45-67")},
        {"FORMATTEXT('00/00/0000', '08032024')", QStringLiteral("08.03.2024")},
        {"FORMATTEXT('000-00', '12')", QStringLiteral("12 -  ")},             // missing characters are blanks
        {"FORMATTEXT('!000-00', '12')", QStringLiteral("   -12")},            // ... leading when aligned right
        {"FORMATTEXT('00', '12345')", QStringLiteral("12345")},               // extra characters are kept
        {"FORMATTEXT('>LL<LL', 'abCD')", QStringLiteral("ABcd")},
        {"FORMATTEXT('\\0-00;1;_', '12')", QStringLiteral("0-12")},           // escaped literal; own fields ignored
        {"FORMATTEXT('', '')", QString()},
        {"INPUT('Введите номер', 'С-1')", QStringLiteral("С-1")},            // no display: the default
        {"INPUT('Введите номер')", QString()},
        {"MESSAGEBOX('Текст', 'Заголовок', mb_YesNo + mb_IconQuestion)", 0},
        {"COPY('abc', 5, 2)", QString()},
        {"COPY('abc', 0, 2)", QStringLiteral("ab")},
        {"COPY('abc', 2, 100)", QStringLiteral("bc")},
        {"COPY('', 1, 1)", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Evaluate(QString::fromUtf8(c.expression)), c.value) << c.expression;
}

TEST_F(FunctionLibraries, WrongCallsRaiseClearErrors)
{
    const struct {
        const char* expression;
        const char* error;
    } cases[] = {
        {"POS('a')", "Неверное число параметров функции POS"},
        {"POS('a', 'b', 'c')", "Неверное число параметров функции POS"},
        {"POS(, 'b')", "Неверное число параметров функции POS"},
        {"LENGTH()", "Неверное число параметров функции LENGTH"},
        {"MESSAGEBOX('a', 'b', 1, 2)", "Неверное число параметров функции MESSAGEBOX"},
        {"MESSAGEBOX('a', 'b')", "Неверное число параметров функции MESSAGEBOX"},
        {"SUM()", "Неверное число параметров функции SUM"},
        {"COUNT(MasterData1, 1, 2)", "Неверное число параметров функции COUNT"},
        {"FIELDISNULL()", "Неверное число параметров функции FIELDISNULL"},
        {"DAYOF(1e10)", "Функция DAYOF: дата вне допустимого диапазона (10000000000)"},
        {"YEAROF(-1e6)", "Функция YEAROF: дата вне допустимого диапазона (-1000000)"},
        {"FORMATDATETIME('yyyy', 3e6)", "Функция FORMATDATETIME: дата вне допустимого диапазона (3000000)"},
        {"MONTHOF(1e308 * 10 - 1e308 * 10)", "Функция MONTHOF: дата вне допустимого диапазона (nan)"},
        {"MAXNUM(1e308 * 10 - 1e308 * 10, 1)", "Функция MAXNUM: значение не является числом"},
        {"MINNUM(1, 1e308 * 10 - 1e308 * 10)", "Функция MINNUM: значение не является числом"},
        {"MAXNUM('abc', 1)", "Could not convert variant of type (String) into type (Double)"},
        {"DAYOF('понедельник')", "Could not convert variant of type (String) into type (Date)"},
        {"MESSAGEBOX('a', 'b', 1e30)", "Could not convert variant of type (Double) into type (Integer)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(QString::fromUtf8(c.expression)), QString::fromUtf8(c.error)) << c.expression;
}

TEST_F(FunctionLibraries, DialogsGoThroughTheContext)
{
    QStringList asked;
    context.InputBox = [&](const QString& prompt, const QString& defaultText) {
        asked << prompt + QLatin1Char('|') + defaultText;
        return QStringLiteral("С-7");
    };
    context.MessageBox = [&](const QString& text, const QString& title, int flags) {
        asked << text + QLatin1Char('|') + title + QLatin1Char('|') + QString::number(flags);
        return 6;
    };
    EXPECT_EQ(Evaluate(QStringLiteral("INPUT('Силос ' + '№', 'С-' + STR(1))")), QVariant(QStringLiteral("С-7")));
    EXPECT_EQ(Evaluate(QStringLiteral("MESSAGEBOX('Продолжить?', '', mb_YesNo + mb_IconQuestion) = mrYes")),
              QVariant(1));
    EXPECT_EQ(asked, (QStringList{"Силос №|С-1", "Продолжить?||36"}));
}

TEST_F(FunctionLibraries, FieldIsNull)
{
    EXPECT_EQ(Evaluate(QStringLiteral("FIELDISNULL('dmReport.\"TD1\"')")), QVariant(true));
    EXPECT_EQ(Evaluate(QStringLiteral("FIELDISNULL('dmReport.\"SilName\"')")), QVariant(false));
    EXPECT_EQ(Evaluate(QStringLiteral("FIELDISNULL('nobody.\"TD1\"')")), QVariant(true));   // no data set
    EXPECT_EQ(Evaluate(QStringLiteral("FIELDISNULL('TD1')")), QVariant(true));   // no default data set
    EXPECT_EQ(ErrorOf(QStringLiteral("FIELDISNULL('dmReport.\"TD9\"')")), QStringLiteral("dmReport: Field 'dmReport.\"TD9\"' not found"));

    report->UseDefaultDataSetName = true;   // the current band's data set
    table->Next();
    EXPECT_EQ(Evaluate(QStringLiteral("FIELDISNULL('TD1')")), QVariant(false));
    EXPECT_EQ(Evaluate(QStringLiteral("IF(FIELDISNULL('\"TD1\"'), 'нет', dmReport.\"TD1\")")), QVariant(-3.5));
}

TEST_F(FunctionLibraries, AggregatesRegisterWhileScanningAndReadWhileBuilding)
{
    TrpBand detail{btDetailData, page};
    detail.Name = QStringLiteral("DetailData1");
    footer.Page = page;
    context.CurrentBand = &footer;
    context.PrepareScanFlag = true;
    page->AggregateSource = &master;
    const QStringList calls{"SUM([TD1])", "MIN([TD1], MasterData1)", "max([TD1], masterdata1, 1)",
                            "AVG([TD1])", "COUNT(MasterData1)", "SUM([TD1], DetailData1)"};
    for (const QString& call : calls)
        EXPECT_EQ(Evaluate(call), QVariant(QStringLiteral("0"))) << call.toStdString();
    page->AggregateSource = &detail;   // only the call naming it belongs to the detail band
    Evaluate(calls.last());

    const auto name = [](int operation, const char* expression, const char* flag = "") {
        return TAggregateName{QStringLiteral("MasterFooter1"), operation, QString::fromLatin1(expression),
                              QString::fromLatin1(flag)}.Text();
    };
    ASSERT_EQ(master.AggregateValues.Count(), 5);
    EXPECT_EQ(master.AggregateValues.GetValueByName(name(aoSum, "[TD1]")), QVariant(0));
    EXPECT_EQ(master.AggregateValues.GetValueByName(name(aoMin, "[TD1]")), QVariant(1e300));
    EXPECT_EQ(master.AggregateValues.GetValueByName(name(aoMax, "[TD1]", "1")), QVariant(-1e300));
    EXPECT_EQ(master.AggregateValues.GetValueByName(name(aoAvg, "[TD1]")), QVariant(0));
    EXPECT_EQ(master.AggregateValues.GetValueByName(name(aoCount, "")), QVariant(0));
    EXPECT_EQ(detail.AggregateValues.Count(), 1);
    EXPECT_EQ(footer.AggregateBand, &detail);   // the last band registered with

    // The build: the band engine accumulates (here by hand) and the footer reads.
    footer.AggregateBand = &master;
    context.PrepareScanFlag = false;
    EXPECT_EQ(Evaluate(QStringLiteral("AVG([TD1])")), QVariant(0));   // no records yet
    master.SetAggregateValue(name(aoSum, "[TD1]"), -7.0);
    master.SetAggregateValue(name(aoAvg, "[TD1]"), -7.0);
    master.SetAggregateValue(name(aoCount, ""), 2);
    master.AverageCounts[name(aoAvg, "[TD1]")] = 2;
    EXPECT_EQ(Evaluate(QStringLiteral("SUM([TD1]) * 2")), QVariant(-14.0));
    EXPECT_EQ(Evaluate(QStringLiteral("AVG( [TD1] )")), QVariant(-3.5));
    EXPECT_EQ(Evaluate(QStringLiteral("COUNT(MasterData1)")), QVariant(2));
    EXPECT_EQ(Evaluate(QStringLiteral("SUM([SilName])")), QVariant(QStringLiteral("0")));   // never registered

    TAggregateName parsed;
    ASSERT_TRUE(TAggregateName::Parse(name(aoMax, "[TD1]", "1"), parsed));
    EXPECT_EQ(parsed.Operation, aoMax);
    EXPECT_TRUE(parsed.CountsWhileInvisible());
    EXPECT_FALSE(TAggregateName::Parse(QStringLiteral("MasterFooter1"), parsed));
    // A cross column's value carries its column first.
    TAggregateName column{QStringLiteral("MasterFooter1"), aoMin, QStringLiteral("[TD1]"), QString(), 3};
    ASSERT_TRUE(TAggregateName::Parse(column.Text(), parsed));
    EXPECT_EQ(parsed.Column, 3);
    EXPECT_EQ(parsed.BandName, QStringLiteral("MasterFooter1"));
    EXPECT_EQ(parsed.Operation, aoMin);
    EXPECT_FALSE(TAggregateName::Parse(QLatin1Char('x') + column.Text().mid(1), parsed));
    EXPECT_EQ(TAggregateName::Parse(name(aoMin, "[TD1]"), parsed) ? parsed.Column : 0, TAggregateName::kNoColumn);
}

TEST_F(FunctionLibraries, AggregatesWithoutABandNameMeanTheDataBandOfTheirLevel)
{
    TrpBand detail{btDetailData, page};
    detail.Name = QStringLiteral("DetailData1");
    page->Bands[btDetailData] = &detail;
    TrpBand summary{btReportSummary, page};
    TrpBand detailFooter{btDetailFooter, page};
    TrpBand secondFooter{btMasterFooter, page};
    TrpBand secondMaster{btMasterData, page};
    secondMaster.Name = QStringLiteral("MasterData2");
    secondFooter.DataBand = &secondMaster;   // a footer the band engine linked to its data band
    const struct {
        TrpBand* band;
        TrpBand* closed;
    } cases[] = {{&summary, &master}, {&detailFooter, &detail}, {&secondFooter, &secondMaster}};
    for (const auto& c : cases)
        EXPECT_EQ(ClosedDataBand(*c.band), c.closed);
}

TEST_F(FunctionLibraries, DescriptionsKeepTheListedCategories)
{
    std::map<QString, std::pair<QString, QString>> described;
    for (const TrpFunctionDesc& item : context.InstalledFunctions.Items())
        described[item.FunctionName] = {item.Category, item.Description};
    EXPECT_EQ(described.size(), 10u);
    EXPECT_EQ(described[QStringLiteral("REPORTCOMMENT")],
              std::make_pair(QStringLiteral("Report info"), QStringLiteral("REPORTCOMMENT/Returns report comment")));
    EXPECT_EQ(described[QStringLiteral("REPORTLASTCHANGE")].second,
              QStringLiteral("REPORTLASTCHANGE/Returns date of the last report change"));
    EXPECT_EQ(described[QStringLiteral("FIELDISNULL")],
              std::make_pair(QStringLiteral("Database"),
                             QStringLiteral("FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null")));

    UnregisterFunctionLibrary(context, QStringLiteral("TrpStdFunctionLibrary"));
    ASSERT_EQ(context.InstalledFunctions.Items().size(), 1u);
    EXPECT_EQ(Evaluate(QStringLiteral("POS('b', 'abc')")), QVariant(QStringLiteral("0")));   // nobody knows it now
}

TEST(AggregateSplitter, FindsNestedCallsButNoneInQuotedTexts)
{
    TrpVariables variables;
    variables.SetValueByName(QStringLiteral("Average"), QStringLiteral("AVG([w]) / 2"));
    QStringList found;
    TAggregateFunctionsSplitter splitter(found, &variables);
    splitter.SplitText({
        QStringLiteral("Итого: [SUM(MAX([x]))] и [count(Band1)]"),
        QStringLiteral("[IF([n] > 0, 'SUM(не вызов', MIN([y], Band2, 1))]"),
        QStringLiteral("['Всего (SUM): ' + SUM([z] * 2)] ['It''s SUM(q)']"),
        QStringLiteral("[Average] [dm.\"SUM(x)\"] [Summary] [SUMMA(1)]"),
        QStringLiteral("без выражений ] ["),
    });
    EXPECT_EQ(found, (QStringList{"MAX([x])", "SUM(MAX([x]))", "count(Band1)", "MIN([y], Band2, 1)",
                                  "SUM([z] * 2)", "AVG([w])"}));

    QStringList script{"begin", "if SUM([x]) > 0 then", "  A := 'MAX(' + MIN([y]);", "end"};
    QStringList errors;
    TrpInterpretator interpreter;
    interpreter.CompileScript(script, script, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    found.clear();
    splitter.SplitScript(script);
    EXPECT_EQ(found, (QStringList{"SUM([x])", "MIN([y])"}));
}

}  // namespace
