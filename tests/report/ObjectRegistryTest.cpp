// The object registry: the factory by type code, add-in classes, export filters, script
// properties by name, the resolution of object and property names, and the shared routines.
#include <gtest/gtest.h>

#include <QBuffer>

#include "QtPrinters.h"
#include "report/data/Dataset.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/ReportFont.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// A view with a few script properties, as the object classes declare theirs.
class ScriptedView : public TrpView {
public:
    explicit ScriptedView(QString className = QStringLiteral("ScriptedView")) : className_(std::move(className)) {}
    QString ClassName() const override { return className_; }

    void DeclareProperties() override
    {
        ClearProperties();
        ++declarations;
        AddProperty(QStringLiteral("Left"), pkPageUnits);
        AddProperty(QStringLiteral("Visible"), pkBoolean);
        AddProperty(QStringLiteral("Font"), 0);
        AddProperty(QStringLiteral("Font.Size"), pkInteger);
    }
    void SetPropertyValue(const QString& name, const QVariant& value) override
    {
        const QString n = name.toUpper();
        if (n == QLatin1String("LEFT"))
            Left = int(VarToInt(value));
        else if (n == QLatin1String("VISIBLE"))
            Visible = VarToBool(value);
        else
            SetFontProperty(font, n, value);
    }
    QVariant GetPropertyValue(const QString& name) override
    {
        const QString n = name.toUpper();
        if (n == QLatin1String("LEFT"))
            return Left;
        if (n == QLatin1String("VISIBLE"))
            return Visible;
        QVariant value;
        GetFontProperty(font, n, value);
        return value;
    }

    TrpFont font;
    int declarations = 0;

private:
    QString className_;
};

TrpViewClass ViewClass(const QString& name)
{
    return TrpViewClass{name, [name] { return std::make_unique<ScriptedView>(name); }};
}

class ObjectRegistry : public ::testing::Test {
protected:
    TrpRunContext context;
};

TEST_F(ObjectRegistry, CreatesEachStandardTypeByCodeWithGrowingNumbers)
{
    TrpViewClass saved[5];
    for (uint8_t code = 0; code < 5; ++code) {
        saved[code] = StandardObjectClass(code);
        RegisterStandardObjectClass(code, ViewClass(QStringLiteral("Standard%1").arg(code)));
    }
    int number = 0;   // a context numbers its objects from 0
    for (uint8_t code = 0; code < 5; ++code) {
        const auto view = CreateReportObject(context, code);
        ASSERT_TRUE(view) << int(code);
        EXPECT_EQ(view->ClassName(), QStringLiteral("Standard%1").arg(code));
        EXPECT_EQ(view->ObjectNumber, number++);
    }
    for (uint8_t code : {5, 7, 9, 11, 255})
        EXPECT_FALSE(CreateReportObject(context, code)) << int(code);
    EXPECT_EQ(context.NextObjectNumber, number);   // only objects made take a number
    for (uint8_t code = 0; code < 5; ++code)
        RegisterStandardObjectClass(code, saved[code]);
}

TEST_F(ObjectRegistry, AddInClassesByExactName)
{
    RegisterReportObject(ViewClass(QStringLiteral("TrpTestAddIn")), QImage(), QStringLiteral("hint"));
    const size_t count = AddInObjects().size();
    RegisterReportObject(ViewClass(QStringLiteral("TrpTestAddIn")));
    EXPECT_EQ(AddInObjects().size(), count);   // a class is listed once

    const auto view = CreateReportObject(context, otAddIn, QStringLiteral("TrpTestAddIn"));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->TypeCode, otAddIn);
    EXPECT_EQ(view->ClassName(), QStringLiteral("TrpTestAddIn"));
    EXPECT_FALSE(context.ErrorFlag);
}

TEST_F(ObjectRegistry, UnknownAddInClassesAccumulateInTheErrorText)
{
    try {
        CreateReportObject(context, otAddIn, QStringLiteral("trptestaddin"));   // the case counts
        FAIL() << "no exception";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("trptestaddin\r"));
    }
    try {
        CreateReportObject(context, otAddIn, QStringLiteral("TrpMissing"));
        FAIL() << "no exception";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("trptestaddin\rTrpMissing\r"));
    }
    EXPECT_TRUE(context.ErrorFlag);
    EXPECT_EQ(context.ErrorText, QStringLiteral("trptestaddin\rTrpMissing\r"));
}

class TestFilter : public QObject {
    Q_OBJECT
};
class OtherFilter : public QObject {
    Q_OBJECT
};

TEST_F(ObjectRegistry, ExportFiltersAreListedOncePerClass)
{
    const size_t before = ExportFilterTable().size();
    TestFilter first, second;
    OtherFilter other;
    RegisterExportFilter(&first, QStringLiteral("Test (*.tst)"), QStringLiteral("*.tst"));
    RegisterExportFilter(&second, QStringLiteral("Again"), QStringLiteral("*.x"));
    RegisterExportFilter(&other, QStringLiteral("Other"), QStringLiteral("*.oth"));
    ASSERT_EQ(ExportFilterTable().size(), before + 2);
    EXPECT_EQ(ExportFilterTable()[before].Filter, &first);
    EXPECT_EQ(ExportFilterTable()[before].Description, QStringLiteral("Test (*.tst)"));

    UnregisterExportFilter(&second);   // whichever instance is passed
    ASSERT_EQ(ExportFilterTable().size(), before + 1);
    EXPECT_EQ(ExportFilterTable()[before].Filter, &other);
    UnregisterExportFilter(&other);
    EXPECT_EQ(ExportFilterTable().size(), before);
}

TEST_F(ObjectRegistry, PropertiesByName)
{
    ScriptedView view;
    EXPECT_TRUE(view.Properties.empty());
    EnsurePropertiesDeclared(&view);
    EnsurePropertiesDeclared(&view);
    EnsurePropertiesDeclared(nullptr);
    EXPECT_EQ(view.declarations, 1);
    ASSERT_EQ(view.Properties.size(), 4u);
    ASSERT_TRUE(view.FindProperty(QStringLiteral("font.SIZE")));
    EXPECT_EQ(view.FindProperty(QStringLiteral("font.SIZE"))->Kinds, pkInteger);
    EXPECT_FALSE(view.FindProperty(QStringLiteral("Top")));

    view.SetPropertyValue(QStringLiteral("left"), QStringLiteral("12"));
    view.SetPropertyValue(QStringLiteral("Font.Style"), 3);   // stored bits: italic and bold
    view.SetPropertyValue(QStringLiteral("Unknown"), 1);
    EXPECT_EQ(view.Left, 12);
    EXPECT_EQ(view.font.Style, fsBold | fsItalic);
    EXPECT_EQ(view.GetPropertyValue(QStringLiteral("LEFT")), QVariant(12));
    EXPECT_EQ(view.GetPropertyValue(QStringLiteral("Font.Style")), QVariant(3));
    EXPECT_EQ(view.GetPropertyValue(QStringLiteral("Font.Name")), QVariant(QStringLiteral("Arial")));
    EXPECT_TRUE(VarIsNull(view.GetPropertyValue(QStringLiteral("Unknown"))));

    TrpObject base;
    QVariant result = 5;
    base.CallMethod(QStringLiteral("HIDE"), {}, {}, {}, result);
    EXPECT_TRUE(VarIsNull(result));
    EXPECT_TRUE(VarIsNull(base.GetPropertyValue(QStringLiteral("Left"))));
}

TEST_F(ObjectRegistry, PropertyRecords)
{
    TrpObject object;
    object.AddProperty(QStringLiteral("A123456789B123456789C123456789D123456789"), pkText | pkNameText);
    object.AddEnumProperty(QStringLiteral("FrameStyle"), QStringLiteral("psSolid;psDash;psDot"), {0, 1, 2});
    object.AddEnumProperty(QStringLiteral("Nothing"), QStringLiteral("a;b"), {VarNull(), 1});
    EXPECT_EQ(object.Properties[0].PropertyName.size(), TrpPropRec::kMaxNameLength);
    EXPECT_FALSE(object.Properties[0].EnumNames);

    const TrpPropRec& style = object.Properties[1];
    EXPECT_EQ(style.Kinds, pkEnum);
    EXPECT_EQ(*style.EnumNames, (QStringList{"psSolid", "psDash", "psDot"}));
    EXPECT_EQ(style.EnumValues, QVariant(QVariantList{0, 1, 2}));
    EXPECT_TRUE(VarIsNull(object.Properties[2].EnumValues));
    object.ClearProperties();
    EXPECT_TRUE(object.Properties.empty());
}

// A report on a window with two pages and a memo current, for name resolution.
class NameResolution : public ObjectRegistry {
protected:
    NameResolution()
    {
        window.setObjectName(QStringLiteral("fmMain"));
        report->setObjectName(QStringLiteral("rpReport"));
        for (int i = 0; i < 2; ++i)
            report->AddPage();
        memo = static_cast<ScriptedView*>(report->Pages[0]->AddObject(std::make_unique<ScriptedView>()));
        memo->Name = QStringLiteral("Memo1");
        other = static_cast<ScriptedView*>(report->Pages[1]->AddObject(std::make_unique<ScriptedView>()));
        other->Name = QStringLiteral("fTD1");
        context.CurrentReport = context.RootReport = report;
        context.CurrentView = memo;
    }

    QObject window;
    TrpReport* report = new TrpReport(context, &window);
    ScriptedView* memo = nullptr;
    ScriptedView* other = nullptr;
};

TEST_F(NameResolution, ObjectAndPropertyOfScriptNames)
{
    struct Case {
        const char* fullName;
        TrpObject* object;
        const char* property;
    };
    const Case cases[] = {
        {"Visible", memo, "Visible"},
        {"Font.Size", memo, "Font.Size"},                 // no object "Font": the memo's property
        {"fTD1.Visible", other, "Visible"},
        {"FTD1.Font.Size", other, "Font.Size"},
        {"PAGE2.Left", report->Pages[1].get(), "Left"},
        {"page1.Left", report->Pages[0].get(), "Left"},
        {"PAGE3.Left", nullptr, "Left"},                  // there is no third page
        {"Nobody.Left", nullptr, "Left"},
    };
    for (const Case& c : cases) {
        TrpObject* object = nullptr;
        QString property;
        ResolveObjectProperty(context, QString::fromLatin1(c.fullName), object, property);
        EXPECT_EQ(object, c.object) << c.fullName;
        EXPECT_EQ(property, QString::fromLatin1(c.property)) << c.fullName;
    }
    EXPECT_EQ(other->declarations, 1);   // the object found has its properties declared
}

TEST_F(NameResolution, DataSourcesByName)
{
    TrpUserDataset* dsReport = new TrpUserDataset(&window);
    dsReport->setObjectName(QStringLiteral("dsReport"));
    QObject* notASource = new QObject(&window);
    notASource->setObjectName(QStringLiteral("Timer1"));

    TFoundDataSet counting = FindDataSetByName(context, QStringLiteral("5"));
    ASSERT_TRUE(counting.IsVirtual());
    EXPECT_EQ(counting.DataSet->RangeEnd, reCount);
    EXPECT_EQ(counting.DataSet->RangeEndCount, 5);

    TFoundDataSet named = FindDataSetByName(context, QStringLiteral("DSREPORT"));
    EXPECT_EQ(named.DataSet, dsReport);
    EXPECT_FALSE(named.IsVirtual());
    EXPECT_FALSE(FindDataSetByName(context, QStringLiteral("0")).DataSet);   // looked up as a name
    EXPECT_FALSE(FindDataSetByName(context, QString()).DataSet);
    EXPECT_THROW(FindDataSetByName(context, QStringLiteral("Timer1")), EInvalidCast);
    EXPECT_THROW(FindDataSetByName(context, QStringLiteral("fmNone.dsReport")), EClassNotFound);
}

TEST_F(NameResolution, CalculationErrorTellsReportObjectAndMessage)
{
    memo->Memo = QStringList{"[dmReport.\"TD1\"]", "line 2"};
    SetCalculationError(context, EParserError(QStringLiteral("Undefined symbol \"X\"")));
    EXPECT_TRUE(context.ErrorFlag);
    EXPECT_TRUE(report->Terminated);
    EXPECT_EQ(context.ErrorText, QStringLiteral("An error occured during calculating\r[dmReport.\"TD1\"]\rline 2\r\r"
                                        "Report: rpReport\rObject: Memo1\r\rUndefined symbol \"X\""));
    context.CurrentView = nullptr;
    SetCalculationError(context, QStringLiteral("boom"));
    EXPECT_EQ(context.ErrorText, QStringLiteral("An error occured during calculating\r\rReport: rpReport\r\rboom"));
}

TEST(HexText, PasswordRoundTrip)
{
    EXPECT_EQ(TextToHex(QString::fromLatin1("\x0A") + QChar(0x44F)), QStringLiteral("0AFF"));   // я is 0xFF
    EXPECT_EQ(HexToText(QStringLiteral("0aff")), QString::fromLatin1("\x0A") + QChar(0x44F));
    EXPECT_EQ(HexToText(QStringLiteral("414")), QStringLiteral("A"));   // an odd last digit is ignored
    EXPECT_EQ(TextToHex(QString()), QString());
    EXPECT_EQ(HexToText(TextToHex(QStringLiteral("Пароль 1"))), QStringLiteral("Пароль 1"));
}

}  // namespace

#include "ObjectRegistryTest.moc"
