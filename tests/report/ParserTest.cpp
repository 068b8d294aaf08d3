// Report expressions: their postfix form, their values, and the error cases.
#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

#include "QtPrinters.h"
#include "base/Exception.h"
#include "report/expr/FunctionSplitter.h"
#include "report/expr/Parser.h"
#include "report/runtime/ReportErrors.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/Variables.h"
#include "report/expr/VariantOps.h"

namespace {

// A parser whose names come from a table and whose calls are recorded.
class ParserFixture : public ::testing::Test {
protected:
    ParserFixture()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));   // decimal comma
        parser.OnGetValue = [this](const QString& name, QVariant& value) {
            EXPECT_TRUE(VarIsNull(value));
            asked << name;
            if (values.contains(name))
                value = values[name];
        };
        parser.OnFunction = [this](const QString& name, const QVariant& p1, const QVariant& p2,
                                   const QVariant& p3, QVariant& value) {
            EXPECT_TRUE(VarIsNull(value));
            calls << QStringList{name, p1.toString(), p2.toString(), p3.toString()}.join(QLatin1Char('|'));
            value = 10;
        };
    }
    ~ParserFixture() override { QLocale::setDefault(QLocale::c()); }

    TrpParser parser;
    QMap<QString, QVariant> values;
    QStringList asked;
    QStringList calls;
};

QString Op(char16_t code)
{
    return QString(QChar(code));
}

struct ExpressionCase {
    const char* infix;
    QString postfix;
    QVariant value;
};

TEST_F(ParserFixture, PostfixFormAndValue)
{
    values[QStringLiteral("A")] = 0;
    values[QStringLiteral("B")] = 3;
    values[QStringLiteral("E")] = 3;
    values[QStringLiteral("B1E")] = 0;
    const ExpressionCase cases[] = {
        {"2+3*4", QStringLiteral("2 3 4 *+"), 14.0},
        {"(2 + 3) * 4", QStringLiteral("2 3 +4 *"), 20.0},
        {"7 mod 4 * 2", QStringLiteral("7 4 ") + Op(13) + QStringLiteral("2 *"), 6.0},
        // Comparisons bind most loosely: ((a > (1 and b)) < 2), not (a > 1) and (b < 2).
        {"a > 1 and b < 2", QStringLiteral("a 1 b ") + Op(5) + QStringLiteral(">2 <"), 1},
        {"(a > 1) and (b < 2)", QStringLiteral("a 1 >b 2 <") + Op(5), 0},
        {"a + 1 >= b", QStringLiteral("a 1 +b ") + Op(1), 0},
        {"1 > 0", QStringLiteral("1 0 >"), 1},
        {"2 <> 2", QStringLiteral("2 2 ") + Op(3), 0},
        {"2 <= 2", QStringLiteral("2 2 ") + Op(2), 1},
        {"true", QStringLiteral("true "), true},
        {"5 / 0", QStringLiteral("5 0 /"), 0},
        {"7 / 2", QStringLiteral("7 2 /"), 3.5},
        {"INT 2.9999999999999", QStringLiteral("2.9999999999999 ") + Op(6), 3.0},
        {"INT(-2.5)", QStringLiteral("2.5 ") + Op(9) + Op(6), -2.0},
        {"int 2.5 * 2", QStringLiteral("2.5 ") + Op(6) + QStringLiteral("2 *"), 4.0},
        {"FRAC 1.25", QStringLiteral("1.25 ") + Op(7), 0.25},
        {"ROUND 2.5", QStringLiteral("2.5 ") + Op(14), 2.0},
        {"ROUND 3.5", QStringLiteral("3.5 ") + Op(14), 4.0},
        {"1,5 + 1", QStringLiteral("1,5 1 +"), 2.5},
        // An exponent's sign belongs to its number; elsewhere a sign after E is an operator.
        {"1e-300", QStringLiteral("1e-300 "), 1e-300},
        {"1,5E+2-1", QStringLiteral("1,5E+2 1 -"), 149.0},
        {".5e-2*2", QStringLiteral(".5e-2 2 *"), 0.01},
        {"e-1", QStringLiteral("e 1 -"), 2.0},
        {"b1e-1", QStringLiteral("b1e 1 -"), -1.0},
        {"-1 + 2", QStringLiteral("1 ") + Op(9) + QStringLiteral("2 +"), 1.0},
        {"+2", QStringLiteral("2 ") + Op(10), 2.0},
        {"not 0", QStringLiteral("0 ") + Op(12), 1},
        {"'It''s'", QStringLiteral("'It''s' "), QStringLiteral("It's")},
        {"''''''", QStringLiteral("'''''' "), QStringLiteral("''")},
        {"'a' + 'b'", QStringLiteral("'a' 'b' +"), QStringLiteral("ab")},
        {"STR 2.5", QStringLiteral("2.5 ") + Op(11), QStringLiteral("2,5")},
        {"COPY('abcdef', 2, 3)", QStringLiteral("COPY('abcdef', 2, 3)"), QStringLiteral("bcd")},
        {"COPY('abc', 0, 9)", QStringLiteral("COPY('abc', 0, 9)"), QStringLiteral("abc")},
        {"b; a + 1", QStringLiteral("b "), 3},
        {"", QString(), 0},
    };
    for (const ExpressionCase& c : cases) {
        const QString infix = QString::fromUtf8(c.infix);
        const QString postfix = parser.ToPostfix(infix);
        EXPECT_EQ(postfix, c.postfix) << c.infix;
        const QVariant value = parser.EvaluatePostfix(postfix);
        EXPECT_EQ(VarKind(value), VarKind(c.value)) << c.infix;
        EXPECT_EQ(VarCompare(value, c.value), 0) << c.infix << " gave " << VarToStr(value).toStdString();
    }
}

TEST_F(ParserFixture, NamesReachTheCallbackInTheirCase)
{
    values[QStringLiteral("PAGE#")] = 3;
    values[QStringLiteral("dmReport.\"TD1\"")] = 2.5;
    EXPECT_EQ(parser.Evaluate(QStringLiteral("[PAGE#] * 2")).toInt(), 6);
    EXPECT_DOUBLE_EQ(parser.Evaluate(QStringLiteral("[dmReport.\"TD1\"] + 1")).toDouble(), 3.5);
    parser.Evaluate(QStringLiteral("dmReport.\"td 1\" + page#"));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("PAGE#"), QStringLiteral("dmReport.\"TD1\""),
                                  QStringLiteral("DMREPORT.\"TD 1\""), QStringLiteral("PAGE#")}));
    EXPECT_EQ(VarToStr(parser.Evaluate(QStringLiteral("STR [x]"))), QString());   // null prints empty
}

TEST_F(ParserFixture, IfEvaluatesOnlyTheChosenBranch)
{
    values[QStringLiteral("a")] = 2;
    values[QStringLiteral("big")] = QStringLiteral("big");
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF([a] > 1, [big], [small])")), QVariant(QStringLiteral("big")));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("a"), QStringLiteral("big")}));
    asked.clear();
    values[QStringLiteral("a")] = 1;
    parser.Evaluate(QStringLiteral("if([a] > 1, [big], [small])"));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("a"), QStringLiteral("small")}));
    // A Boolean condition is taken as it is.
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF(true, 'yes', 'no')")), QVariant(QStringLiteral("yes")));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF(1 / 2, 'yes', 'no')")), QVariant(QStringLiteral("no")));
}

TEST_F(ParserFixture, CallsAndTheTokenAfterThem)
{
    EXPECT_EQ(parser.Evaluate(QStringLiteral("f(x)+1")).toInt(), 11);
    EXPECT_EQ(parser.Evaluate(QStringLiteral("1+f(x)")).toInt(), 11);
    EXPECT_EQ(parser.Evaluate(QStringLiteral("Sum([a], 'x,y', (1,2))*2")).toInt(), 20);
    EXPECT_EQ(parser.Evaluate(QStringLiteral("arr[2 + i]")).toInt(), 10);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("F|x||"), QStringLiteral("F|x||"),
                                  QStringLiteral("SUM|[a]| 'x,y'| (1,2)"),
                                  QStringLiteral("GETARRAY|arr| 2 + i|")}));
    const QVariant date = parser.Evaluate(QStringLiteral("STRTODATE('02.03.2021')"));
    EXPECT_EQ(VarKind(date), TVarKind::DateTime);
    EXPECT_DOUBLE_EQ(VarToDateTime(date), EncodeDate(2021, 3, 2));
    EXPECT_DOUBLE_EQ(VarToDateTime(parser.Evaluate(QStringLiteral("STRTOTIME('12:30')"))), 0.5 + 30.0 / 1440);
}

TEST_F(ParserFixture, Errors)
{
    // A prefix sign right after another operator leaves that operator without its operand.
    for (const char* bad : {"2 * -3", "- -1", "a and not b", "*"})
        EXPECT_THROW(parser.Evaluate(QString::fromLatin1(bad)), EParserError) << bad;
    EXPECT_EQ(parser.Evaluate(QStringLiteral("2 * (-3)")).toInt(), -6);

    for (const char* bad : {"1.2.3", "COPY('abc', 'x', 1)", "IF('abc', 1, 2)", "STRTODATE('soon')",
                            "STRTOTIME('25:00')"})
        EXPECT_THROW(parser.Evaluate(QString::fromLatin1(bad)), EConvertError) << bad;
    EXPECT_THROW(parser.Evaluate(QStringLiteral("'a' * 2")), EVariantError);

    try {
        parser.Evaluate(QStringLiteral("f(1, (2)"));
        FAIL() << "an unclosed call must raise";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Message(), "");
    }
}

// Numbers beyond the 64-bit integers are whole already; infinities too. NaN is refused.
TEST_F(ParserFixture, IntFracAndRoundOfAnyDouble)
{
    const double huge = 22222222222222222222222222222222.0;
    values[QStringLiteral("INF")] = std::numeric_limits<double>::infinity();
    values[QStringLiteral("NAN")] = std::nan("");
    const struct {
        const char* expression;
        double value;
    } cases[] = {
        {"INT(22222222222222222222222222222222)", huge},
        {"INT(-22222222222222222222222222222222)", -huge},
        {"FRAC(22222222222222222222222222222222)", 0.0},
        {"ROUND(22222222222222222222222222222222)", huge},
        {"INT(9223372036854775808)", 9223372036854775808.0},
        {"ROUND 4503599627370495,5", 4503599627370496.0},
        {"INT [INF]", std::numeric_limits<double>::infinity()},
        {"FRAC [INF]", 0.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VarToReal(parser.Evaluate(QString::fromLatin1(c.expression))), c.value) << c.expression;
    for (const char* bad : {"INT [NAN]", "FRAC [NAN]", "ROUND [NAN]"})
        EXPECT_THROW(parser.Evaluate(QString::fromLatin1(bad)), EInvalidOp) << bad;
}

TEST_F(ParserFixture, StackAndNestingLimits)
{
    // n nested groups leave n + 1 values pending before the first operator.
    auto nested = [](int n) {
        QString s = QStringLiteral("1");
        for (int i = 0; i < n; ++i)
            s = QStringLiteral("1+(%1)").arg(s);
        return s;
    };
    EXPECT_EQ(parser.Evaluate(nested(TrpParser::kStackSize - 1)).toInt(), TrpParser::kStackSize);
    EXPECT_THROW(parser.Evaluate(nested(TrpParser::kStackSize)), EParserError);

    // A name whose value is itself an expression naming it again ends in an error.
    parser.OnGetValue = [this](const QString& name, QVariant& value) { value = parser.Evaluate(name); };
    EXPECT_THROW(parser.Evaluate(QStringLiteral("loop")), EParserError);
    parser.OnGetValue = nullptr;
    EXPECT_TRUE(VarIsNull(parser.Evaluate(QStringLiteral("x"))));   // the limit is undone afterwards
}

TEST(ParserScanners, BracketsQuotesAndOperands)
{
    struct Case {
        const char* text;
        int start;
        const char* inner;
        int end;
    };
    const Case cases[] = {
        {"[a[b]c]", 0, "a[b]c", 6},
        {"['x]y']", 0, "'x]y'", 6},
        {"[\"a]b\"] + 1", 0, "\"a]b\"", 6},
        {"x[ab", 1, "a", 3},
        {"abc", 1, "", 1},
        {"[a]", 5, "", 5},
    };
    for (const Case& c : cases) {
        int start = c.start, end = -1;
        EXPECT_EQ(ScanBracketedExpression(QString::fromLatin1(c.text), start, end), QString::fromLatin1(c.inner)) << c.text;
        EXPECT_EQ(end, c.end) << c.text;
    }

    int pos = 0;
    EXPECT_EQ(TrpParser::ScanOperand(QStringLiteral("  ds.\"a + b\"*2"), pos), QStringLiteral("ds.\"a + b\""));
    EXPECT_EQ(pos, 12);
    pos = 0;
    EXPECT_EQ(TrpParser::ScanOperand(QStringLiteral("1,5#%x]+"), pos), QStringLiteral("1,5#%x]"));
    pos = 1;
    EXPECT_EQ(TrpParser::ScanQuotedString(QStringLiteral("x'a''b'c"), pos), QStringLiteral("'a''b'"));
    EXPECT_EQ(pos, 7);
    QString p1, p2, p3;
    pos = 1;
    TrpParser::ScanParameters(QStringLiteral("f(a,(b,c),'d,)',e,f)+1"), pos, p1, p2, p3);
    EXPECT_EQ(p1, QStringLiteral("a"));
    EXPECT_EQ(p2, QStringLiteral("(b,c)"));
    EXPECT_EQ(p3, QStringLiteral("'d,)',e,f"));
    EXPECT_EQ(pos, 20);
}

TEST(FunctionSplitter, FindsCallsInnerFirstThroughBracketsAndVariables)
{
    const QStringList aggregates{QStringLiteral("AVG"), QStringLiteral("COUNT"), QStringLiteral("MAX"),
                                 QStringLiteral("MIN"), QStringLiteral("SUM")};
    TrpVariables variables;
    variables.SetValueByName(QStringLiteral("Total"), QStringLiteral("sum([dm.\"x\"])"));
    variables.SetValueByName(QStringLiteral("Loop"), QStringLiteral("[Loop]"));
    QStringList found;
    TrpFunctionSplitter splitter(aggregates, found, &variables);
    splitter.Split(QStringLiteral("SUM(MAX([x]))"));
    EXPECT_EQ(found, (QStringList{QStringLiteral("MAX([x])"), QStringLiteral("SUM(MAX([x]))")}));
    found.clear();
    splitter.Split(QStringLiteral(" [Total] * 2 + Count(1) + copy('a', 1, 1) + [IF(1, avg(y), 0)]"));
    EXPECT_EQ(found, (QStringList{QStringLiteral("sum([dm.\"x\"])"), QStringLiteral("Count(1)"),
                                  QStringLiteral("avg(y)")}));
    found.clear();
    splitter.Split(QStringLiteral("'SUM(x)'"));
    splitter.Split(QStringLiteral("total"));
    EXPECT_EQ(found, (QStringList{QStringLiteral("sum([dm.\"x\"])")}));
    EXPECT_THROW(splitter.Split(QStringLiteral("[Loop]")), EParserError);
}

TEST(Variables, NamesIgnoreCaseAndMayBeSorted)
{
    TrpVariables list;
    list.SetValueByName(QStringLiteral("b"), 1);
    list.SetValueByName(QStringLiteral("A"), 2);
    list.SetValueByName(QStringLiteral("B"), 3);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.NameAt(0), QStringLiteral("b"));
    EXPECT_EQ(list.GetValueByName(QStringLiteral("b")).toInt(), 3);
    EXPECT_TRUE(VarIsNull(list.GetValueByName(QStringLiteral("c"))));
    EXPECT_EQ(list.ValueAt(7), QVariant(0));
    EXPECT_EQ(list.NameAt(-1), QString());
    list.SetValueAt(9, 1);
    list.Delete(9);

    list.SetSorted(true);
    EXPECT_EQ(list.NameAt(0), QStringLiteral("A"));
    list.SetValueByName(QStringLiteral("a0"), 4);
    list.SetValueByName(QStringLiteral("0"), 5);
    EXPECT_EQ(list.NameAt(0), QStringLiteral("0"));
    EXPECT_EQ(list.NameAt(2), QStringLiteral("a0"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("A0")), 2);
    list.SetNameAt(0, QStringLiteral("b"));   // taken by another entry: nothing happens
    EXPECT_EQ(list.NameAt(0), QStringLiteral("0"));
    list.SetNameAt(0, QStringLiteral("z"));
    EXPECT_EQ(list.NameAt(3), QStringLiteral("z"));
    list.Delete(0);
    EXPECT_EQ(list.Count(), 3);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
