// The engine's globals: its texts, format lists, constants, function libraries, the report's
// script interpreter and the string-list methods of scripts.
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "report/runtime/Locale.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/runtime/ReportContext.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/ReportGlobals.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/TextRoutines.h"

namespace {

class ReportGlobalsTest : public ::testing::Test {
protected:
    ~ReportGlobalsTest() override
    {
        ResetReportGlobals();
        ResetReportContext();
    }
};

TEST_F(ReportGlobalsTest, StringTableByNumber)
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
        EXPECT_EQ(LoadFrResString(id), QString::fromUtf8(text)) << id;
}

TEST_F(ReportGlobalsTest, FormatListsAndPictures)
{
    const TrpGlobals& g = ReportGlobals();
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

TEST_F(ReportGlobalsTest, NamedConstants)
{
    const TrpVariables& c = ReportConstants();
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

TEST_F(ReportGlobalsTest, ResetMakesFreshGlobals)
{
    ScriptVariables().SetValueByName(QStringLiteral("X"), 1);
    GetLocale().OnLocalize = [](int, QString& text) { text = QStringLiteral("x"); };
    ResetReportGlobals();
    EXPECT_EQ(ScriptVariables().Count(), 0);
    EXPECT_EQ(LoadFrResString(55206), QStringLiteral("Error"));
}

class TestLibrary : public TrpFunctionLibrary {
public:
    TestLibrary()
    {
        List = QStringList{"DOUBLE", "ECHO"};
        AddFunctionDesc(QStringLiteral("DOUBLE"), QStringLiteral("Test"), QStringLiteral("DOUBLE(<X>)/Twice X"));
        AddFunctionDesc(QStringLiteral("ECHO"), QString(), QStringLiteral("not kept: no category"));
        AddFunctionDesc(QStringLiteral("DOUBLE"), QStringLiteral("Test"), QStringLiteral("not kept: a second DOUBLE"));
    }
    QString ClassName() const override { return QStringLiteral("TestLibrary"); }
    void CallFunction(int functionNo, const QVariant& p1, const QVariant&, const QVariant&, QVariant& value) override
    {
        value = functionNo == 0 ? VarFromInt(2 * VarToInt(ReportParser().Evaluate(VarToStr(p1)))) : p1;
    }
};

TEST_F(ReportGlobalsTest, FunctionLibrariesAndTheirDescriptions)
{
    const TrpFunctionLibraryClass libraryClass{QStringLiteral("TestLibrary"),
                                                [] { return std::make_unique<TestLibrary>(); }};
    const size_t before = FunctionLibraries().size();
    RegisterFunctionLibrary(libraryClass);
    RegisterFunctionLibrary(libraryClass);
    ASSERT_EQ(FunctionLibraries().size(), before + 1);
    ASSERT_EQ(InstalledFunctions().Items().size(), 1u);
    EXPECT_EQ(InstalledFunctions().Items()[0].Description, QStringLiteral("DOUBLE(<X>)/Twice X"));
    EXPECT_EQ(InstalledFunctions().Items()[0].LibraryClass, QStringLiteral("TestLibrary"));

    TrpFunctionLibrary& library = *FunctionLibraries().back();
    QVariant value;
    EXPECT_TRUE(library.TryCallFunction(QStringLiteral("double"), QStringLiteral("3+4"), {}, {}, value));
    EXPECT_EQ(value, QVariant(14));
    EXPECT_FALSE(library.TryCallFunction(QStringLiteral("TRIPLE"), {}, {}, {}, value));

    UnregisterFunctionLibrary(QStringLiteral("TestLibrary"));
    EXPECT_EQ(FunctionLibraries().size(), before);
    EXPECT_TRUE(InstalledFunctions().Items().empty());
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

TEST_F(ReportGlobalsTest, ScriptAssignmentsGoWhereTheNameBelongs)
{
    TrpReport report;
    TrpPage* page = report.AddPage();
    page->Objects.push_back(std::make_unique<LeftView>());
    TrpView* memo = page->Objects.back().get();
    memo->Name = QStringLiteral("Memo1");
    TrpBand band(btMasterData, page);
    CurrentReport = &report;
    CurrentPage = page;
    CurrentBand = &band;
    CurrentView = memo;
    QString progress;
    ReportHooks.ShowProgressText = [&](const QString& text) { progress = text; };
    TInterpretator& interpreter = ReportInterpreter();

    ScriptVariables().SetValueByName(QStringLiteral("Left"), 1);
    interpreter.SetVariable(QStringLiteral("LEFT"), 2);   // a script variable wins
    EXPECT_EQ(ScriptVariables().GetValueByName(QStringLiteral("left")), QVariant(2));
    EXPECT_EQ(memo->Left, 0);
    ScriptVariables().Clear();

    interpreter.SetVariable(QStringLiteral("Left"), 3);          // the current object's property
    interpreter.SetVariable(QStringLiteral("memo1.left"), 30);   // a named object's property
    interpreter.SetVariable(QStringLiteral("Memo1.Top"), 4);     // no such property: a new variable
    EXPECT_EQ(memo->Left, 30);
    EXPECT_EQ(ScriptVariables().GetValueByName(QStringLiteral("Memo1.Top")), QVariant(4));

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

    interpreter.SetVariable(QStringLiteral("Progress"), 42);
    EXPECT_EQ(progress, QStringLiteral("42"));
    EXPECT_EQ(ScriptVariables().IndexOf(QStringLiteral("PROGRESS")), -1);
}

TEST_F(ReportGlobalsTest, StringListMethodsOfScripts)
{
    QStringList memo{"a", "b"};
    QVariant result;
    TrpObject::CallListMethod(memo, QStringLiteral("MEMO.ADD"), QStringLiteral("MEMO"), QStringLiteral("'c' + 'd'"),
                              {}, {}, result);
    EXPECT_EQ(memo, (QStringList{"a", "b", "cd"}));
    TrpObject::CallListMethod(memo, QStringLiteral("MEMO.INDEXOF"), QStringLiteral("MEMO"), QStringLiteral("'b'"), {},
                              {}, result);
    EXPECT_EQ(result, QVariant(1));
    TrpObject::CallListMethod(memo, QStringLiteral("MEMO.INDEXOF"), QStringLiteral("MEMO"), QStringLiteral("'B'"), {},
                              {}, result);
    EXPECT_EQ(result, QVariant(-1));
    TrpObject::CallListMethod(memo, QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("MEMO"),
                              0, QStringLiteral("z"), result);
    TrpObject::CallListMethod(memo, QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("MEMO"),
                              2, {}, result);
    EXPECT_EQ(result, QVariant(QStringLiteral("cd")));
    TrpObject::CallListMethod(memo, QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), QStringLiteral("LINES"),
                              1, QStringLiteral("ignored: another list"), result);
    TrpObject::CallListMethod(memo, QStringLiteral("MEMO.DELETE"), QStringLiteral("MEMO"), QStringLiteral("2-1"), {},
                              {}, result);
    EXPECT_EQ(memo, (QStringList{"z", "cd"}));
    EXPECT_THROW(TrpObject::CallListMethod(memo, QStringLiteral("MEMO.DELETE"), QStringLiteral("MEMO"),
                                           QStringLiteral("5"), {}, {}, result),
                 EListError);
    EXPECT_THROW(TrpObject::CallListMethod(memo, QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("MEMO"),
                                           QStringLiteral("MEMO"), -1, {}, result),
                 EListError);
    TrpObject::CallListMethod(memo, QStringLiteral("MEMO.CLEAR"), QStringLiteral("MEMO"), {}, {}, {}, result);
    EXPECT_TRUE(memo.isEmpty());
}

}  // namespace
