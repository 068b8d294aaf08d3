// The engine's small text routines.
#include <gtest/gtest.h>

#include "base/Exception.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

TEST(TextRoutines, NumbersWithEitherSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(QStringLiteral(" 1,5 ")), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(QStringLiteral("-2.25")), -2.25);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(QStringLiteral("1,5E+2")), 150.0);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(QStringLiteral("1e-300")), 1e-300);
    for (const char* bad : {"", "abc", "1.2.3", "1,2.3", "inf", "1+2", "1e++2"})
        EXPECT_THROW(StrToFloatAnySep(QString::fromLatin1(bad)), EConvertError) << bad;
}

TEST(TextRoutines, StripDoubleQuotes)
{
    EXPECT_EQ(StripDoubleQuotes(QStringLiteral("\"TD1\"")), QStringLiteral("TD1"));
    EXPECT_EQ(StripDoubleQuotes(QStringLiteral("\"\"")), QStringLiteral("\"\""));
    EXPECT_EQ(StripDoubleQuotes(QStringLiteral("\"a")), QStringLiteral("\"a"));
    EXPECT_EQ(StripDoubleQuotes(QStringLiteral("\"x\"")), QStringLiteral("x"));
}

TEST(TextRoutines, SemicolonLists)
{
    QStringList items{QStringLiteral("stale")};
    SplitSemicolonList(QString(), items);
    EXPECT_TRUE(items.isEmpty());
    SplitSemicolonList(QStringLiteral("a;;b;"), items);
    EXPECT_EQ(items, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    int position = 2;
    EXPECT_EQ(ExtractListItem(QStringLiteral("a;bc;d"), position), QStringLiteral("bc"));
    EXPECT_EQ(position, 5);
}

TEST(TextRoutines, XmlEscapeHexAndShift)
{
    EXPECT_EQ(XmlEscape(QStringLiteral("a<b>&\"\r\n")),
              QStringLiteral("a&#60;b&#62;&#38;&#34;&#13;&#10;"));
    EXPECT_EQ(StreamToHex(QByteArray("\x00\xAB\x7f", 3)), QStringLiteral("00AB7F"));
    EXPECT_EQ(ShiftTextDown10(QStringLiteral("kl")), QStringLiteral("ab"));
}

TEST(TextRoutines, TextAsLines)
{
    const struct {
        const char* text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},                 // a break at the end starts no line
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToLines(QString::fromLatin1(c.text)), c.lines) << c.text;
        EXPECT_EQ(TextToLines(LinesToText(c.lines)), c.lines) << "back from " << c.text;
    }
    EXPECT_EQ(LinesToText({QStringLiteral("a"), QString()}), QStringLiteral("a\r\n\r\n"));
}

TEST(TextRoutines, ResourceStringsComeFromTheLocale)
{
    TrpRunContext context;
    EXPECT_EQ(LoadFrResString(context, 55206), QStringLiteral("Error"));
    EXPECT_EQ(LoadFrResString(context, 1), QString());
    context.Locale.OnLocalize = [](int id, QString& text) {
        if (id == 55206)
            text = QStringLiteral("Ошибка");
    };
    EXPECT_EQ(LoadFrResString(context, 55206), QStringLiteral("Ошибка"));
    EXPECT_EQ(LoadFrResString(context, 55207), QStringLiteral("Preview"));   // the handler gave nothing
    context.Locale.OnLocalize = nullptr;
    EXPECT_EQ(LoadFrResString(context, 55206), QStringLiteral("Error"));
}

}  // namespace
