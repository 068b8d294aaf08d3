// How a memo breaks its text into lines: cut words, dropped blanks, paragraph ends, syllable
// hyphens of Russian words. Measured in a monospaced font, so widths count characters.
#include <gtest/gtest.h>

#include <QImage>

#include "QtPrinters.h"
#include "report/objects/LineBreaking.h"
#include "report/objects/ReportFont.h"
#include "report/runtime/RunContext.h"

namespace {

// The lines joined by "|", each paragraph end shown as "#".
QString Shown(const QStringList& lines)
{
    return lines.join(QLatin1Char('|')).replace(kParagraphEnd, QLatin1Char('#'));
}

class LineBreaking : public ::testing::Test {
protected:
    QString Wrap(const QString& text, int characters, bool wordBreak)
    {
        QStringList lines;
        WrapLine(text, measure, characters * charWidth, wordBreak, lines);
        return Shown(lines);
    }

    TrpRunContext context;
    TrpTextMeasure measure{ReportQFont(TrpFont{QStringLiteral("Courier New"), 10}, FontPixelHeight(10)),
                           &context.ScratchBitmap};
    int charWidth = measure.CharWidth(QLatin1Char('a'));
};

TEST_F(LineBreaking, MonospacedWidthsCountCharacters)
{
    ASSERT_GT(charWidth, 0);
    EXPECT_EQ(measure.Width(u"Темпе-"), 6 * charWidth);
    EXPECT_EQ(measure.Width(u"W. ,"), 4 * charWidth);
}

TEST_F(LineBreaking, CutsAndMarks)
{
    const struct {
        const char* text;
        int width;   // characters
        bool wordBreak;
        const char* lines;
    } cases[] = {
        {"", 3, false, "#"},
        {"Ж", 0, false, "Ж#"},                      // a lone character always stands
        {"abc", 3, false, "abc#"},
        {"AAA BBB", 5, false, "AAA|BBB#"},          // the blank is dropped, only the last line ends the paragraph
        {"aa bb cc", 5, false, "aa bb|cc#"},
        {"ABCDEFGH", 3, false, "ABC|DEF|GH#"},      // the overflowing character starts the next line
        {"ab\r\ncd", 10, false, "ab#|cd#"},
        {"ab\r\n", 10, false, "ab#"},                // breaks at the end start no line
        {"Температура", 6, true, "Темпе-|ратура#"},  // the last syllable that fits with its hyphen
        {"Температура", 4, true, "Тем-|пера|тура#"},
        {"дом температура", 8, true, "дом тем-|пература#"},
        // No syllable of the word fits after the blank: the line is cut at the blank, then the
        // word before its overflowing characters.
        {"дом температура", 3, true, "дом|тем|пер|ату|ра#"},
        {"Температура", 5, false, "Темпе|ратур|а#"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Wrap(QString::fromUtf8(c.text), c.width, c.wordBreak), QString::fromUtf8(c.lines))
            << c.text << " in " << c.width << (c.wordBreak ? " with word break" : "");
}

TEST(BreakWord, RussianSyllablePositions)
{
    const struct {
        const char* word;
        QList<int> positions;
    } cases[] = {
        {"Температура", {3, 5, 7, 9}},   // ТЕМ-, ТЕМПЕ-, ТЕМПЕРА-, ТЕМПЕРАТУ-
        {"дом", {}},
        {"зерно", {3}},                 // ЗЕР-
        {"подъезд", {4}},                 // after the hard sign
        {"аист", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BreakWord(QString::fromUtf8(c.word)), c.positions) << c.word;
}

}  // namespace
