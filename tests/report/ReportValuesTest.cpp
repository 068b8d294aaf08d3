// A report being built: how names become values, how bracketed expressions expand, and how
// function calls are routed.
#include <gtest/gtest.h>

#include <QLocale>

#include "QtPrinters.h"
#include "base/DateTime.h"
#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/ValueFormat.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// A memo stand-in with the script properties Left and Lines and the methods HIDE and the line
// methods of "LINES".
class MemoStandIn : public TrpView {
public:
    void DeclareProperties() override
    {
        ClearProperties();
        AddProperty(QStringLiteral("Left"), pkPageUnits);
        AddProperty(QStringLiteral("Visible"), pkBoolean);
    }
    void SetPropertyValue(const QString& name, const QVariant& value) override
    {
        if (name.toUpper() == QLatin1String("LEFT"))
            Left = int(VarToInt(value));
        else if (name.toUpper() == QLatin1String("VISIBLE"))
            Visible = VarToBool(value);
    }
    QVariant GetPropertyValue(const QString& name) override
    {
        if (name.toUpper() == QLatin1String("LEFT"))
            return Left;
        if (name.toUpper() == QLatin1String("VISIBLE"))
            return Visible;
        return VarNull();
    }
    void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                    QVariant& result) override
    {
        TrpView::CallMethod(name, p1, p2, p3, result);
        CallListMethod(Memo, name, QStringLiteral("LINES"), p1, p2, p3, result);
        if (name == QLatin1String("HIDE"))
            Visible = false;
    }
    int CalcWidth() override { return 77; }
};

class ReportValues : public ::testing::Test {
protected:
    ReportValues()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        window.setObjectName(QStringLiteral("fmMain"));
        table->setObjectName(QStringLiteral("dmReport"));
        table->AddField(QStringLiteral("SilName"), ftString, 10);
        table->AddField(QStringLiteral("TD1"), ftFloat);
        table->AddField(QStringLiteral("Alarm1"), ftBoolean);
        table->Open();
        AddRow(QStringLiteral("С-1"), 12.5, true);
        AddRow(QStringLiteral("С-2"), 0.0, false);
        table->First();
        dsReport->setObjectName(QStringLiteral("dsReport"));
        dsReport->SetDataSet(table);

        report->setObjectName(QStringLiteral("rpReport"));
        report->Dataset = dsReport;
        report->ReportInfo.Name = QStringLiteral("Протокол");
        page = report->AddPage();
        memo = page->AddObject(std::make_unique<MemoStandIn>());
        memo->Name = QStringLiteral("Memo1");
        memo->Width = 120;
        memo->FormatCode = 0x22E;
        page->PosY = 300;
        page->LimitY = 1000;
        page->MarginsOn = true;
        page->PaperGeometry.PageWidth = 758;
        page->RightMargin = 72;

        master.DataSet = dsReport;
        master.LineNo = 4;
        master.LineThroughNo = 9;
        master.Next = &follower;
        follower.Prev = &master;
        page->Bands[btMasterData] = &master;

        context.CurrentReport = context.RootReport = report;
        context.CurrentPage = page;
        context.CurrentBand = &master;
        context.CurrentView = memo;
        context.PageNo = 2;
        context.TotalPages = 5;
        context.CurDate = EncodeDate(2024, 3, 8);
        context.CurTime = EncodeDateTime(2024, 3, 8, 14, 5, 9, 0);
        report->BindParser();
    }
    ~ReportValues() override
    {
        delete report;
        QLocale::setDefault(QLocale::c());
    }

    void AddRow(const QString& name, double td1, bool alarm)
    {
        table->Append();
        table->Field(QStringLiteral("SilName"))->SetValue(name);
        table->Field(QStringLiteral("TD1"))->SetValue(td1);
        table->Field(QStringLiteral("Alarm1"))->SetValue(alarm);
        table->Post();
    }
    QVariant Resolve(const QString& name)
    {
        QVariant value;
        report->ResolveVariable(name, value);
        return value;
    }

    TrpRunContext context;
    QObject window;
    TMemoryTable* table = new TMemoryTable(&window);
    TrpDBDataSet* dsReport = new TrpDBDataSet(&window);
    TrpReport* report = new TrpReport(context, &window);
    TrpPage* page = nullptr;
    TrpView* memo = nullptr;
    TrpBand master{btMasterData, nullptr};
    TrpBand follower{btMasterData, nullptr};   // a band of the chain without a source of its own
};

TEST_F(ReportValues, NamesAndTheirSources)
{
    context.ScriptVariables.SetValueByName(QStringLiteral("Counter"), 7);
    report->Dictionary.Variables.SetValueByName(QStringLiteral("Twice"), QStringLiteral("Counter * 2"));
    context.RootReport->FinalPass = true;
    context.CurValue = 42;
    const struct {
        const char* name;
        QVariant value;
    } cases[] = {
        {"dmReport.\"TD1\"", 12.5},                    // a field, through the dictionary
        {"DMREPORT.\"SilName\"", QStringLiteral("С-1")},
        {"Twice", 14.0},                               // a dictionary variable
        {"VALUE", 42},
        {"PAGE#", 3},
        {"DATE", VarFromDateTime(EncodeDate(2024, 3, 8))},
        {"TIME", VarFromDateTime(EncodeDateTime(2024, 3, 8, 14, 5, 9, 0))},
        {"LINE#", 4},
        {"LINETHROUGH#", 9},
        {"COLUMN#", 1},
        {"CURRENT#", 1},
        {"TOTALPAGES", 5},
        {"REPORTNAME", QStringLiteral("Протокол")},
        {"CALCWIDTH", 77},
        {"counter", 7},                                // a script variable, any case
        {"CURY", 300},
        {"FREESPACE", 700},
        {"PAGEHEIGHT", 1000},
        {"PAGEWIDTH", 686},
        {"FINALPASS", true},
        {"Memo1.Left", 0},                             // an object's property
        {"Visible", true},                             // the current object's property
        {"clRed", 255},                                // a constant
        {"clTransparent", 0x1FFFFFFF},
        {"CRLF", QStringLiteral("\r\n")},
        {"2+3", 5.0},                                  // an expression, through the parser
        {"page# * 10", 30.0},                          // report names are upper case; the parser makes them so
        {"COUNTER + dmReport.\"TD1\"", 19.5},
        {"IF(dmReport.\"Alarm1\", 'тревога', '')", QStringLiteral("тревога")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Resolve(QString::fromUtf8(c.name)), c.value) << c.name;
}

TEST_F(ReportValues, LineCountersOfABandWithoutASourceAreTheChainHeads)
{
    context.CurrentBand = &follower;
    EXPECT_EQ(Resolve(QStringLiteral("LINE#")), QVariant(4));
    context.CurrentBand = nullptr;
    EXPECT_EQ(Resolve(QStringLiteral("LINE#")), QVariant(0));
}

TEST_F(ReportValues, UndefinedNames)
{
    for (const char* name : {"Nobody", "Nobody + 1", "[Nobody]", "[nobody] * 2"}) {
        try {
            Resolve(QString::fromLatin1(name));
            FAIL() << name;
        } catch (const EParserError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Undefined symbol \"NOBODY\"")) << name;
        }
    }
    context.PrepareScanFlag = true;   // page preparation only scans: no error
    EXPECT_TRUE(VarIsEmpty(Resolve(QStringLiteral("Nobody"))));
}

TEST_F(ReportValues, TheReportsHandlerIsAskedFirst)
{
    report->OnGetValue = [](const QString& name, QVariant& value) {
        EXPECT_TRUE(VarIsEmpty(value));
        if (name == QLatin1String("PAGE#"))
            value = QStringLiteral("from the handler");
    };
    EXPECT_EQ(Resolve(QStringLiteral("PAGE#")), QVariant(QStringLiteral("from the handler")));
    EXPECT_EQ(Resolve(QStringLiteral("TOTALPAGES")), QVariant(5));
}

TEST_F(ReportValues, ExpandingBracketedExpressions)
{
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("PAGE#")), QStringLiteral("3"));
    EXPECT_EQ(context.CurValue, QVariant(3));
    EXPECT_EQ(context.CurExpression, QStringLiteral("PAGE#"));
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"TD1\"")), QStringLiteral("12,5"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"TD1\" #N0,2")), QStringLiteral("12,50"));
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral("."));   // the platform's separator is unchanged
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"TD1\"")), QStringLiteral("12.5"));
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("DATE #Ddd.mm.yyyy")), QStringLiteral("08.03.2024"));
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("TIME #Thh:nn")), QStringLiteral("14:05"));
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"Alarm1\" #BNo;Yes")), QStringLiteral("Yes"));
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("VALUE")), QStringLiteral("0"));

    memo->FormatCode = MakeFormat(fcBoolean, 1);   // the object's own format
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"Alarm1\"")), QStringLiteral("Yes"));
    context.PrepareScanFlag = true;   // scanning evaluates but writes no text
    QString text = QStringLiteral("kept");
    report->ExpandExpression(QStringLiteral("PAGE#"), text);
    EXPECT_EQ(text, QStringLiteral("kept"));
}

TEST_F(ReportValues, FieldTextHandlersRunDuringTheExpansion)
{
    table->Field(QStringLiteral("TD1"))->OnGetText = [this](TMemoryField& field, QString& text, bool) {
        memo->Tag = QStringLiteral("coloured");   // a handler may change the object being expanded
        text = QStringLiteral("%1°").arg(field.Value().toDouble());
    };
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"TD1\"")), QStringLiteral("12.5°"));
    EXPECT_EQ(memo->Tag, QStringLiteral("coloured"));
}

TEST_F(ReportValues, HiddenZeros)
{
    memo->Flags |= kFlagHideZeros;
    table->Next();   // TD1 = 0
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("dmReport.\"TD1\"")), QString());
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("'0'")), QStringLiteral("0"));   // a text stays
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("1 - 1 #N0,2")), QString());
    EXPECT_EQ(report->ExpandExpression(QStringLiteral("PAGE#")), QStringLiteral("3"));
}

class Doubling : public TrpFunctionLibrary {
public:
    explicit Doubling(TrpRunContext& context) : TrpFunctionLibrary(context) { List = QStringList{"DOUBLE"}; }
    QString ClassName() const override { return QStringLiteral("Doubling"); }
    void CallFunction(int, const QVariant& p1, const QVariant&, const QVariant&, QVariant& value) override
    {
        value = 2 * VarToReal(Context().ReportParser.Evaluate(VarToStr(p1)));
    }
};

TEST_F(ReportValues, FunctionCallsGoToLibrariesThenScriptFunctionsThenTheHandler)
{
    RegisterFunctionLibrary(context,
                            {QStringLiteral("Doubling"), [](TrpRunContext& c) { return std::make_unique<Doubling>(c); }});
    QStringList userCalls;
    report->OnUserFunction = [&](const QString& name, const QVariant& p1, const QVariant&, const QVariant&,
                                 QVariant& value) {
        userCalls << name + QLatin1Char('(') + p1.toString() + QLatin1Char(')') + value.toString();
    };
    EXPECT_EQ(Resolve(QStringLiteral("double(PAGE# + 1)")), QVariant(8.0));
    EXPECT_EQ(Resolve(QStringLiteral("Unknown(1+2)")), QVariant(QStringLiteral("0")));
    EXPECT_EQ(userCalls, QStringList{"UNKNOWN(1+2)0"});   // the library call never reached it

    Resolve(QStringLiteral("NEWPAGE(0) + NEWPAGE(0) + NEWCOLUMN(0)"));
    EXPECT_EQ(master.PendingPageBreaks, 2);
    EXPECT_EQ(master.PendingColumnBreaks, 1);
    Resolve(QStringLiteral("STOPREPORT(0)"));
    EXPECT_TRUE(report->Terminated);

    Resolve(QStringLiteral("SETARRAY(Arr, 2, 'two')"));
    EXPECT_EQ(context.ScriptVariables.GetValueByName(QStringLiteral("Arr_Arr_2")), QVariant(QStringLiteral("two")));
    EXPECT_EQ(Resolve(QStringLiteral("Arr[1 + 1]")), QVariant(QStringLiteral("two")));

    memo->Memo = QStringList{"a", "b"};
    Resolve(QStringLiteral("SETARRAY(Memo1.Lines, 1, 'B')"));
    EXPECT_EQ(memo->Memo, (QStringList{"a", "B"}));
    EXPECT_EQ(Resolve(QStringLiteral("GETARRAY(Memo1.Lines, 0)")), QVariant(QStringLiteral("a")));
    Resolve(QStringLiteral("Memo1.Lines.Add('c')"));
    EXPECT_EQ(memo->Memo, (QStringList{"a", "B", "c"}));
    Resolve(QStringLiteral("Memo1.Hide(0)"));
    EXPECT_FALSE(memo->Visible);

    context.ScriptVariables.SetValueByName(QStringLiteral("I"), 1);
    Resolve(QStringLiteral("INC(I) + INC(i) + DEC(I)"));
    EXPECT_EQ(context.ScriptVariables.GetValueByName(QStringLiteral("I")), QVariant(2));
}

TEST_F(ReportValues, ScriptsSeeWhatExpressionsSee)
{
    TInterpretator& interpreter = context.ReportInterpreter;
    QStringList script{"begin", "A := TOTALPAGES + 1;", "Memo1.Left := A * 10;", "Left := Left + 1;",
                       "inc(A)", "end"};
    QStringList errors;
    interpreter.CompileScript(script, script, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    interpreter.RunScript(script);
    EXPECT_EQ(context.ScriptVariables.GetValueByName(QStringLiteral("A")), QVariant(7.0));
    EXPECT_EQ(memo->Left, 61);
}

TEST_F(ReportValues, ADestroyedReportReleasesTheParser)
{
    delete report;
    report = nullptr;
    EXPECT_FALSE(context.ReportParser.OnGetValue);
    EXPECT_EQ(context.CurrentReport, nullptr);
    EXPECT_EQ(context.RootReport, nullptr);
}

}  // namespace
