#include "base/CodePage.h"
#include "base/Exception.h"
#include "base/Format.h"
#include "base/HexText.h"
#include "base/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {0.0, 0}, {1e12 + 0.5, 1000000000000},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Round(value), expected) << value;
}

// Every double has a whole neighbour except NaN: from 2^52 on a double is whole already.
TEST(Rounding, TotalOverTheDoubles)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> cases[] = {
        {2.5, 2.0}, {-3.5, -4.0}, {4503599627370495.5, 4503599627370496.0}, {4503599627370497.0, 4503599627370497.0},
        {2.2222222222222222e31, 2.2222222222222222e31}, {-1e300, -1e300}, {inf, inf}, {-inf, -inf},
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundToWhole(value), expected) << value;
    EXPECT_FALSE(std::signbit(RoundToWhole(-0.5)));   // 0, not -0
    EXPECT_THROW(RoundToWhole(std::nan("")), EInvalidOp);
}

TEST(Rounding, IntegersOnlyWithinSixtyFourBits)
{
    EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Round(9223372036854774784.0), 9223372036854774784);   // the largest double below 2^63
    for (const double beyond : {9223372036854775808.0, -9223372036854777856.0, 1e300, 2.2e31,
             std::numeric_limits<double>::infinity(), std::nan("")}) {
        try {
            Round(beyond);
            ADD_FAILURE() << beyond;
        } catch (const EInvalidOp& e) {
            EXPECT_FALSE(e.Message().empty());
        }
    }
}

TEST(HexText, ABlankAndTwoCapitalDigitsPerOctet)
{
    const std::vector<uint8_t> octets = {0xD3, 0xFE, 0xFA, 0x00, 0x0a};
    EXPECT_EQ(BytesToHex(octets), " D3 FE FA 00 0A");
    EXPECT_EQ(BytesToHex(std::vector<uint8_t>{}), "");
}

TEST(HexText, DigitsOfEitherCase)
{
    const std::pair<char, int> digits[] = {{'0', 0}, {'9', 9}, {'a', 10}, {'F', 15}, {'g', -1}, {'G', -1}, {'/', -1}, {':', -1}, {'@', -1}};
    for (const auto& [c, value] : digits)
        EXPECT_EQ(HexDigitValue(c), value) << c;
}

TEST(Format, FormatsShortAndLongTexts)
{
    EXPECT_EQ(Format("адрес %d", 5), "адрес 5");
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("%s!", longText.c_str()), longText + "!");
    EXPECT_EQ(Format("%4.4X", 0xc2b7), "C2B7");
}

TEST(Format, HexadecimalInCapitalsForEitherLetter)
{
    const unsigned id = 0x1a2b3cfdu;
    EXPECT_EQ(Format("DT.No[%d]=0x%8.8x (%u)", 2, id, 7u), "DT.No[2]=0x1A2B3CFD (7)");
    EXPECT_EQ(Format("%x %X %lx %zx", 0xabu, 0xcdu, 0xeful, size_t{0xfe}), "AB CD EF FE");
    // Only conversions change: literal x's, "%%x" and strings stay as they are.
    EXPECT_EQ(Format("x=%%x %s %-4x|", "0xab", 0xau), "x=%x 0xab A   |");
}

TEST(CodePage, RoundTripsCyrillicThroughBothPages)
{
    const std::string text = "Ошибка №13: ёЁ «КЗ» — Привет, silo 7";
    const std::string cp1251 = Utf8ToCp1251(text);
    size_t characters = 0;
    for (char c : text)
        characters += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
    EXPECT_EQ(cp1251.size(), characters);
    EXPECT_EQ(Cp1251ToUtf8(cp1251), text);
    EXPECT_EQ(static_cast<uint8_t>(Utf8ToCp1251("А")[0]), 0xC0);
    EXPECT_EQ(static_cast<uint8_t>(Utf8ToCp1251("я")[0]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(Utf8ToCp1251("Ё")[0]), 0xA8);
    EXPECT_EQ(static_cast<uint8_t>(Utf8ToCp866("А")[0]), 0x80);
    EXPECT_EQ(static_cast<uint8_t>(Utf8ToCp866("р")[0]), 0xE0);
    EXPECT_EQ(Cp866ToUtf8(Utf8ToCp866("Привет ёЁ")), "Привет ёЁ");
}

// Page 1252: its own block at 0x80..0x9F, Latin-1 above, and the octets it leaves undefined.
TEST(CodePage, SingleOctetsOfTheWesternPage)
{
    EXPECT_EQ(OctetToUnicode(0x80, CodePage::Cp1252), U'€');
    EXPECT_EQ(OctetToUnicode(0x9F, CodePage::Cp1252), U'Ÿ');
    EXPECT_EQ(OctetToUnicode(0xE9, CodePage::Cp1252), U'é');
    EXPECT_EQ(OctetToUnicode(0x81, CodePage::Cp1252), U'?');
    EXPECT_EQ(OctetToUnicode(0xE0, CodePage::Cp1251), U'а');
    EXPECT_EQ(UnicodeToOctet(U'é', CodePage::Cp1252), 0xE9);
    EXPECT_EQ(UnicodeToOctet(U'€', CodePage::Cp1252), 0x80);
    EXPECT_EQ(UnicodeToOctet(U'я', CodePage::Cp1252), -1);
    EXPECT_EQ(UnicodeToOctet(U'я', CodePage::Cp1251), 0xFF);
    EXPECT_EQ(Utf8ToCodePage("Café «ß»", CodePage::Cp1252), "Caf\xE9 \xAB\xDF\xBB");
    EXPECT_EQ(CodePageToUtf8("Caf\xE9", CodePage::Cp1252), "Café");
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1251("a€b"), "a\x88" "b");
    EXPECT_EQ(Utf8ToCp866("€"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");            // truncated sequence
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");       // overlong form
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "?");            // the one undefined octet of page 1251
    EXPECT_TRUE(IsValidUtf8("Привет"));
    EXPECT_FALSE(IsValidUtf8(Utf8ToCp1251("Привет")));
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));
}

TEST(CodePage, AppendsEachCodePointInItsShortestForm)
{
    // The boundaries of the one- to four-octet forms.
    const std::pair<char32_t, const char*> cases[] = {
        {U'A', "A"},           {0x7F, "\x7F"},         {0x80, "\xC2\x80"},
        {U'Я', "Я"},           {0x7FF, "\xDF\xBF"},    {0x800, "\xE0\xA0\x80"},
        {U'€', "€"},           {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [cp, utf8] : cases) {
        std::string out = "x";
        AppendUtf8(out, cp);
        EXPECT_EQ(out, std::string("x") + utf8) << static_cast<uint32_t>(cp);
    }
}
