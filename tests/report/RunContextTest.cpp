// The run context: its texts, format lists, constants, function libraries, the report's script
// interpreter and the string-list methods of scripts; contexts apart from each other, and how
// reports, pages and objects reach theirs.
#include <gtest/gtest.h>

#include <stdexcept>

#include <QLabel>

#include "QtPrinters.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/ProgressForm.h"

namespace {

class RunContextTest : public ::testing::Test {
protected:
    TrpRunContext context;
};

TEST_F(RunContextTest, StringTableByNumber)
{
    const std::pair<int, const char*> cases[] = {
        {55206, "Error"},
        {55200, "An error occured during calculating"},
        {55439, "Undefined symbol"},
        {55077, "Report title"},
        {55099, "None"},
        {55337, "1"},
        {55000, "OK"},
        {53048, "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"},
        {55655, "Retype password for validate"},
        {55008, ""},   // paper names are not carried
        {55201, ""},
        {53000 - 1, ""},
        {55671, ""},
        {-1, ""},
    };
    for (const auto& [id, text] : cases)
        EXPECT_EQ(LoadFrResString(context, id), QString::fromUtf8(text)) << id;
}

TEST_F(RunContextTest, FormatListsAndPictures)
{
    const TrpRunContext& g = context;
    EXPECT_EQ(g.DefaultCharset, 1);
    ASSERT_EQ(g.BandNames.size(), 23);
    EXPECT_EQ(g.BandNames[5], QStringLiteral("Master data"));
    EXPECT_EQ(g.BandNames[22], QStringLiteral("None"));
    EXPECT_EQ(g.BooleanFormats, (QStringList{"0;1", "No;Yes", "_;x", "False;True"}));
    EXPECT_EQ(g.DateFormats, (QStringList{"mm.dd.yy", "mm.dd.yyyy", "d mmm yyyy", "d mmmm yyyy"}));
    EXPECT_EQ(g.TimeFormats, (QStringList{"hh:nn:ss", "h:nn:ss", "hh:nn", "h:nn"}));
    ASSERT_EQ(g.PatternBitmap.size(), QSize(8, 8));
    EXPECT_EQ(g.PatternBitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(g.PatternBitmap.pixel(3, 4), qRgb(192, 192, 192));
    EXPECT_EQ(g.PatternBitmap.pixel(7, 7), qRgb(255, 255, 255));
    EXPECT_EQ(g.ScratchBitmap.size(), QSize(8, 8));
    EXPECT_FALSE(g.ReportCompressor.Enabled);
    EXPECT_TRUE(g.ScriptVariables.Sorted());
}

TEST_F(RunContextTest, NamedConstants)
{
    const TrpVariables& c = context.ReportConstants;
    EXPECT_EQ(c.GetValueByName(QStringLiteral("clRed")), QVariant(255));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("CLTRANSPARENT")), QVariant(0x1FFFFFFF));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("clScrollBar")), QVariant(int(0xFF000000u)));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("clBtnFace")), QVariant(int(0xFF00000Fu)));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("clInfoBk")), QVariant(int(0xFF000018u)));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("mrYes")), QVariant(6));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("fsBold")), QVariant(2));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("rptaDown")), QVariant(16));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("baRest")), QVariant(7));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("psDouble")), QVariant(5));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("mb_IconWarning")), QVariant(48));
    EXPECT_EQ(c.GetValueByName(QStringLiteral("CRLF")), QVariant(QStringLiteral("\r\n")));
    EXPECT_EQ(c.IndexOf(QStringLiteral("Null")) >= 0, true);
    EXPECT_TRUE(VarIsNull(c.GetValueByName(QStringLiteral("Null"))));
}

TEST_F(RunContextTest, AFreshContextStartsClean)
{
    context.ScriptVariables.SetValueByName(QStringLiteral("X"), 1);
    context.Locale.OnLocalize = [](int, QString& text) { text = QStringLiteral("x"); };
    const TrpRunContext fresh;
    EXPECT_EQ(fresh.ScriptVariables.Count(), 0);
    EXPECT_EQ(LoadFrResString(fresh, 55206), QStringLiteral("Error"));
    EXPECT_EQ(LoadFrResString(context, 55206), QStringLiteral("x"));
}

TEST_F(RunContextTest, ContextsKeepTheirRunVariablesAndTablesApart)
{
    TrpRunContext other;
    QObject window, otherWindow;
    window.setObjectName(QStringLiteral("fmMain"));
    otherWindow.setObjectName(QStringLiteral("fmMain"));
    TrpReport report(context, &window), otherReport(other, &otherWindow);
    context.CurrentReport = &report;
    other.CurrentReport = &otherReport;
    report.BindParser();
    otherReport.BindParser();
    context.PageNo = 2;
    other.PageNo = 6;
    context.ScriptVariables.SetValueByName(QStringLiteral("Counter"), 1);
    other.ScriptVariables.SetValueByName(QStringLiteral("Counter"), 10);
    RegisterGlobalComponent(context, &window);

    const auto resolve = [](TrpReport& r, const char* name) {
        QVariant value;
        r.ResolveVariable(QString::fromLatin1(name), value);
        return value;
    };
    EXPECT_EQ(resolve(report, "PAGE# * 100 + Counter"), QVariant(301.0));
    EXPECT_EQ(resolve(otherReport, "PAGE# * 100 + Counter"), QVariant(710.0));
    EXPECT_EQ(FindGlobalComponent(context, QStringLiteral("fmMain")), &window);
    EXPECT_EQ(FindGlobalComponent(other, QStringLiteral("fmMain")), nullptr);

    EXPECT_THROW(CreateReportObject(other, otAddIn, QStringLiteral("TrpNowhere")), EClassNotFound);
    EXPECT_TRUE(other.ErrorFlag);
    EXPECT_FALSE(context.ErrorFlag);
    EXPECT_TRUE(context.ErrorText.isEmpty());
}

TEST_F(RunContextTest, PagesAndObjectsReachTheContextThroughTheirReport)
{
    TrpRunContext other;
    TrpReport report(context), otherReport(other);
    TrpPage* page = report.AddPage();
    TrpView* view = page->AddObject(std::make_unique<TrpView>());
    TrpView* otherView = otherReport.AddPage()->AddObject(std::make_unique<TrpView>());
    EXPECT_EQ(&page->Context(), &context);
    EXPECT_EQ(&view->Context(), &context);
    EXPECT_EQ(&otherView->Context(), &other);
    EXPECT_EQ(view->Report, &report);

    const TrpView loose;   // on no page of any report
    EXPECT_THROW(loose.Context(), std::logic_error);
}

TEST_F(RunContextTest, ADestroyedReportLeavesNoRunVariablePointingAtIt)
{
    auto report = std::make_unique<TrpReport>(context);
    TrpPage* page = report->AddPage();
    TrpBand band(btMasterData, page);
    context.CurrentReport = context.RootReport = report.get();
    context.CurrentPage = page;
    context.CurrentBand = &band;
    context.CurrentView = page->AddObject(std::make_unique<TrpView>());
    report->BindParser();
    report.reset();
    EXPECT_EQ(context.CurrentReport, nullptr);
    EXPECT_EQ(context.RootReport, nullptr);
    EXPECT_EQ(context.CurrentPage, nullptr);
    EXPECT_EQ(context.CurrentBand, nullptr);
    EXPECT_EQ(context.CurrentView, nullptr);
    EXPECT_FALSE(context.ReportParser.OnGetValue);

    // Another report going leaves the variables of the report being built alone.
    TrpReport built(context);
    context.CurrentReport = context.RootReport = &built;
    context.CurrentPage = built.AddPage();
    context.CurrentView = context.CurrentPage->AddObject(std::make_unique<TrpView>());
    std::make_unique<TrpReport>(context).reset();
    EXPECT_EQ(context.CurrentReport, &built);
    EXPECT_EQ(context.RootReport, &built);
    EXPECT_NE(context.CurrentPage, nullptr);
    EXPECT_NE(context.CurrentView, nullptr);
}

class TestLibrary : public TrpFunctionLibrary {
public:
    explicit TestLibrary(TrpRunContext& context) : TrpFunctionLibrary(context)
    {
        List = QStringList{"DOUBLE", "ECHO"};
        AddFunctionDesc(QStringLiteral("DOUBLE"), QStringLiteral("Test"), QStringLiteral("DOUBLE(<X>)/Twice X"));
        AddFunctionDesc(QStringLiteral("ECHO"), QString(), QStringLiteral("not kept: no category"));
        AddFunctionDesc(QStringLiteral("DOUBLE"), QStringLiteral("Test"), QStringLiteral("not kept: a second DOUBLE"));
    }
    QString ClassName() const override { return QStringLiteral("TestLibrary"); }
    void CallFunction(int functionNo, const QVariant& p1, const QVariant&, const QVariant&, QVariant& value) override
    {
        value = functionNo == 0 ? VarFromInt(2 * VarToInt(Context().ReportParser.Evaluate(VarToStr(p1)))) : p1;
    }
};

TEST_F(RunContextTest, FunctionLibrariesAndTheirDescriptions)
{
    const TrpFunctionLibraryClass libraryClass{
        QStringLiteral("TestLibrary"), [](TrpRunContext& c) { return std::make_unique<TestLibrary>(c); }};
    const size_t before = context.FunctionLibraries.size();
    const TrpInstalledFunctions& installed = context.InstalledFunctions;
    const size_t describedBefore = installed.Items().size();   // the standard libraries'
    RegisterFunctionLibrary(context, libraryClass);
    RegisterFunctionLibrary(context, libraryClass);
    ASSERT_EQ(context.FunctionLibraries.size(), before + 1);
    ASSERT_EQ(installed.Items().size(), describedBefore + 1);
    EXPECT_EQ(installed.Items().back().Description, QStringLiteral("DOUBLE(<X>)/Twice X"));
    EXPECT_EQ(installed.Items().back().LibraryClass, QStringLiteral("TestLibrary"));

    TrpFunctionLibrary& library = *context.FunctionLibraries.back();
    QVariant value;
    EXPECT_TRUE(library.TryCallFunction(QStringLiteral("double"), QStringLiteral("3+4"), {}, {}, value));
    EXPECT_EQ(value, QVariant(14));
    EXPECT_FALSE(library.TryCallFunction(QStringLiteral("TRIPLE"), {}, {}, {}, value));

    const TrpRunContext other;   // libraries are installed per context
    EXPECT_EQ(other.FunctionLibraries.size(), before);
    EXPECT_EQ(other.InstalledFunctions.Items().size(), describedBefore);

    UnregisterFunctionLibrary(context, QStringLiteral("TestLibrary"));
    EXPECT_EQ(context.FunctionLibraries.size(), before);
    EXPECT_EQ(installed.Items().size(), describedBefore);
}

// A view with one script property, "Left".
class LeftView : public TrpView {
public:
    void DeclareProperties() override
    {
        ClearProperties();
        AddProperty(QStringLiteral("Left"), pkPageUnits);
    }
    void SetPropertyValue(const QString& name, const QVariant& value) override
    {
        if (name.toUpper() == QLatin1String("LEFT"))
            Left = int(VarToInt(value));
    }
};

TEST_F(RunContextTest, ScriptAssignmentsGoWhereTheNameBelongs)
{
    TrpReport report(context);
    TrpPage* page = report.AddPage();
    TrpView* memo = page->AddObject(std::make_unique<LeftView>());
    memo->Name = QStringLiteral("Memo1");
    TrpBand band(btMasterData, page);
    context.CurrentReport = &report;
    context.CurrentPage = page;
    context.CurrentBand = &band;
    context.CurrentView = memo;
    TrpProgressForm progress(context);
    TInterpretator& interpreter = context.ReportInterpreter;
    TrpVariables& variables = context.ScriptVariables;

    variables.SetValueByName(QStringLiteral("Left"), 1);
    interpreter.SetVariable(QStringLiteral("LEFT"), 2);   // a script variable wins
    EXPECT_EQ(variables.GetValueByName(QStringLiteral("left")), QVariant(2));
    EXPECT_EQ(memo->Left, 0);
    variables.Clear();

    interpreter.SetVariable(QStringLiteral("Left"), 3);          // the current object's property
    interpreter.SetVariable(QStringLiteral("memo1.left"), 30);   // a named object's property
    interpreter.SetVariable(QStringLiteral("Memo1.Top"), 4);     // no such property: a new variable
    EXPECT_EQ(memo->Left, 30);
    EXPECT_EQ(variables.GetValueByName(QStringLiteral("Memo1.Top")), QVariant(4));

    interpreter.SetVariable(QStringLiteral("ModalResult"), 2);   // a report page has no form
    EXPECT_EQ(page->ModalResult, 0);
    page->Type = ptDialog;
    interpreter.SetVariable(QStringLiteral("MODALRESULT"), 2);
    EXPECT_EQ(page->ModalResult, 2);

    interpreter.SetVariable(QStringLiteral("CurY"), 100);
    EXPECT_EQ(page->PosY, 100);
    EXPECT_FALSE(band.CurYAssigned);
    band.PendingPageBreaks = 1;
    interpreter.SetVariable(QStringLiteral("CURY"), 120);
    EXPECT_EQ(page->PosY, 120);
    EXPECT_TRUE(band.CurYAssigned);

    interpreter.SetVariable(QStringLiteral("Progress"), 42);   // the progress window's second line
    EXPECT_EQ(progress.Label2->text(), QStringLiteral("42"));
    EXPECT_EQ(variables.IndexOf(QStringLiteral("PROGRESS")), -1);
}

TEST_F(RunContextTest, StringListMethodsOfScripts)
{
    TrpReport report(context);
    const TrpView& object = *report.AddPage()->AddObject(std::make_unique<TrpView>());
    QStringList memo{"a", "b"};
    QVariant result;
    object.CallListMethod(memo, QStringLiteral("MEMO.ADD"), QStringLiteral("MEMO"), QStringLiteral("'c' + 'd'"),
                          {}, {}, result);
    EXPECT_EQ(memo, (QStringList{"a", "b", "cd"}));
    object.CallListMethod(memo, QStringLiteral("MEMO.INDEXOF"), QStringLiteral("MEMO"), QStringLiteral("'b'"), {},
                          {}, result);
    EXPECT_EQ(result, QVariant(1));
    object.CallListMethod(memo, QStringLiteral("MEMO.INDEXOF"), QStringLiteral("MEMO"), QStringLiteral("'B'"), {},
                          {}, result);
    EXPECT_EQ(result, QVariant(-1));
    object.CallListMethod(memo, QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("MEMO"),
                          0, QStringLiteral("z"), result);
    object.CallListMethod(memo, QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("MEMO"),
                          2, {}, result);
    EXPECT_EQ(result, QVariant(QStringLiteral("cd")));
    object.CallListMethod(memo, QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("LINES"),
                          1, QStringLiteral("ignored: another list"), result);
    object.CallListMethod(memo, QStringLiteral("MEMO.DELETE"), QStringLiteral("MEMO"), QStringLiteral("2-1"), {},
                          {}, result);
    EXPECT_EQ(memo, (QStringList{"z", "cd"}));
    EXPECT_THROW(object.CallListMethod(memo, QStringLiteral("MEMO.DELETE"), QStringLiteral("MEMO"),
                                       QStringLiteral("5"), {}, {}, result),
                 EListError);
    EXPECT_THROW(object.CallListMethod(memo, QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("MEMO"),
                                       QStringLiteral("MEMO"), -1, {}, result),
                 EListError);
    object.CallListMethod(memo, QStringLiteral("MEMO.CLEAR"), QStringLiteral("MEMO"), {}, {}, {}, result);
    EXPECT_TRUE(memo.isEmpty());
}

}  // namespace
