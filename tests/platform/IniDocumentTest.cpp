#include "platform/posix/IniDocument.h"

#include "base/CodePage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// A file as a person or another program may have left it, with the reading rules it exercises.
const char* const kHandEdited =
    "; settings of the grain monitor\n"
    "top=before any section\n"
    "[Общие]\n"
    "Тмах = 35 \n"
    "  ColorMaxT=255\n"
    "Обрыв=\" X \"\n"
    "КЗ='КЗ'\n"
    "Quoted=\"a\"b\"\n"
    "Single='\n"
    "Empty=\n"
    "NoEquals line\n"
    "Данные = C:\\data\\x.dxml ; not a comment\n"
    "Eq=a=b\n"
    "Тмах=99\n"
    "\n"
    "[общие]\n"
    "CheckT1=5\n"
    "[ Конфигурация ]\n"
    "Блоков=4\n"
    "[broken\n"
    "Key=v\n"
    "#Hidden=1\n"
    "=nameless\n";

} // namespace

TEST(IniDocument, ReadingRulesOfPrivateProfileFiles)
{
    const IniDocument doc = IniDocument::FromOctets(kHandEdited);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Общие", "Тмах", "35"},                 // blanks around '=' and the value dropped
        {"ОБЩИЕ", "тМАХ", "35"},                 // Cyrillic names without regard to case
        {" Общие ", " Тмах ", "35"},             // blanks around the asked names dropped
        {"общие", "colormaxt", "255"},           // indented key
        {"Общие", "Обрыв", " X "},               // enclosing quotes dropped, inner blanks kept
        {"Общие", "КЗ", "КЗ"},                   // single quotes too
        {"Общие", "Quoted", "a\"b"},             // one enclosing pair only
        {"Общие", "Single", "'"},                // a lone quote stays
        {"Общие", "Empty", ""},                  // present and empty
        {"Общие", "NoEquals line", std::nullopt},
        {"Общие", "Данные", "C:\\data\\x.dxml ; not a comment"},
        {"Общие", "Eq", "a=b"},                  // the first '=' splits
        {"Общие", "CheckT1", std::nullopt},      // the second [общие] is never looked at
        {"Конфигурация", "Блоков", "4"},         // blanks inside the brackets dropped
        {"Конфигурация", "Key", "v"},            // a broken header line is no section
        {"Конфигурация", "#Hidden", std::nullopt},
        {"Конфигурация", "", std::nullopt},
        {"", "top", "before any section"},
        {"Нет такого", "Тмах", std::nullopt},
        {"Общие", "Нет такого", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc.Value(c.section, c.key), c.value) << "[" << c.section << "] " << c.key;
}

TEST(IniDocument, NamesAreListedOnceInFileOrder)
{
    const IniDocument doc = IniDocument::FromOctets(kHandEdited);
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"Общие", "Конфигурация"}));
    EXPECT_EQ(doc.KeyNames("общие"), (std::vector<std::string>{"Тмах", "ColorMaxT", "Обрыв", "КЗ", "Quoted", "Single",
                                                               "Empty", "Данные", "Eq"}));
    EXPECT_TRUE(doc.SectionExists("ОБЩИЕ"));
    EXPECT_FALSE(doc.SectionExists("broken"));
}

TEST(IniDocument, WritingOneKeyLeavesEveryOtherLineAsItWas)
{
    IniDocument doc = IniDocument::FromOctets(kHandEdited);
    doc.SetValue("общие", "ТМАХ", "40");
    std::string expected = kHandEdited;
    expected.replace(expected.find("Тмах = 35 "), std::string("Тмах = 35 ").size(), "Тмах=40");
    EXPECT_EQ(doc.ToUtf8(), expected);
}

TEST(IniDocument, NewKeysAndSectionsGoWhereAPersonWouldLookForThem)
{
    IniDocument doc = IniDocument::FromOctets("[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
    doc.SetValue("a", "z", "3");
    doc.SetValue("C", "w", "4");
    doc.SetValue("C", "v", "5");
    EXPECT_EQ(doc.ToUtf8(), "[A]\r\nx=1\r\n; note\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\nv=5\r\n");

    IniDocument empty;
    empty.SetValue("Общие", "Тмах", "30");
    EXPECT_EQ(empty.ToUtf8(), "[Общие]\nТмах=30\n");
}

TEST(IniDocument, EveryValueWithoutALineBreakReadsBackAsWritten)
{
    const std::string values[] = {
        "", "plain", " leading", "trailing ", "  ", "\t", "'quoted'", "\"dq\"", "\"", "'", "\"mixed'",
        "a;b # c", "x=y", ".  procedure line with blanks  ", "Время ожидания \"Выбор модуля\"",
    };
    IniDocument doc;
    for (size_t i = 0; i < std::size(values); ++i)
        doc.SetValue("S", "k" + std::to_string(i), values[i]);
    const IniDocument reread = IniDocument::FromOctets(doc.ToUtf8());
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(reread.Value("S", "k" + std::to_string(i)), values[i]) << "[" << values[i] << "]";
    // Keys may hold quotes, as some of the program's do.
    doc.SetValue("S", "Время ожидания ответа на команду \"Запрос данных\"", "300");
    EXPECT_EQ(IniDocument::FromOctets(doc.ToUtf8()).Value("S", "Время ожидания ответа на команду \"Запрос данных\""),
              "300");
}

TEST(IniDocument, NamesAndValuesAnIniLineCannotHoldAreRefused)
{
    IniDocument doc;
    EXPECT_THROW(doc.SetValue("S", "k", "two\nlines"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", "k", "cr\r"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", "k", std::string("nul\0", 4)), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", "a=b", "1"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", "  ", "1"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", ";k", "1"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S", "[k", "1"), EIniFileError);
    EXPECT_THROW(doc.SetValue("S]", "k", "1"), EIniFileError);
    EXPECT_EQ(doc.ToUtf8(), "");
}

// Stray octets that are not UTF-8 (here code page 1251 "Тмах") would turn the whole file into
// code page 1251 for its next reader; they are refused and the text stays as it was.
TEST(IniDocument, TextThatIsNotUtf8IsRefused)
{
    IniDocument doc = IniDocument::FromOctets("[Общие]\nТмах=30\n");
    const std::string cp1251 = "\xD2\xEC\xE0\xF5";
    const std::string broken[] = {cp1251, "\xD0", "a\xC0\x80", "\xED\xA0\x80"};   // cut, overlong, surrogate
    for (const std::string& bad : broken) {
        EXPECT_THROW(doc.SetValue("Общие", "Имя", bad), EIniFileError);
        EXPECT_THROW(doc.SetValue("Общие", bad, "1"), EIniFileError);
        EXPECT_THROW(doc.SetValue(bad, "k", "1"), EIniFileError);
    }
    try {
        doc.SetValue("Общие", "Имя", cp1251);
    } catch (const EIniFileError& e) {
        EXPECT_TRUE(IsValidUtf8(e.Message()));   // the message itself stays readable
    }
    EXPECT_EQ(doc.ToUtf8(), "[Общие]\nТмах=30\n");
    EXPECT_EQ(IniDocument::FromOctets(doc.ToUtf8()).Value("общие", "тмах"), "30");
}

TEST(IniDocument, DeletingAKeyOrSectionRemovesItsDuplicatesToo)
{
    IniDocument doc = IniDocument::FromOctets("[A]\nk=1\nj=2\nK=3\n[B]\nb=1\n[a]\nk=4\n");
    EXPECT_TRUE(doc.DeleteKey("A", "k"));
    EXPECT_EQ(doc.ToUtf8(), "[A]\nj=2\n[B]\nb=1\n[a]\nk=4\n");
    EXPECT_FALSE(doc.DeleteKey("A", "k"));
    EXPECT_FALSE(doc.DeleteKey("Z", "k"));
    EXPECT_TRUE(doc.EraseSection("a"));
    EXPECT_EQ(doc.ToUtf8(), "[B]\nb=1\n");
    EXPECT_FALSE(doc.EraseSection("A"));
}

TEST(IniDocument, ReadsCodePage1251AndUtf8WithByteOrderMark)
{
    const std::string cp1251 = Utf8ToCp1251("[Общие]\r\nКЗ=Замыкание\r\n; комментарий\r\n");
    ASSERT_FALSE(IsValidUtf8(cp1251));
    IniDocument doc = IniDocument::FromOctets(cp1251);
    EXPECT_EQ(doc.Value("общие", "кз"), "Замыкание");
    doc.SetValue("Общие", "Обрыв", "X");
    EXPECT_EQ(doc.ToUtf8(), "[Общие]\r\nКЗ=Замыкание\r\n; комментарий\r\nОбрыв=X\r\n");

    const IniDocument bom = IniDocument::FromOctets("\xEF\xBB\xBF[Общие]\nТмах=31\n");
    EXPECT_EQ(bom.Value("Общие", "Тмах"), "31");
    EXPECT_EQ(bom.ToUtf8(), "[Общие]\nТмах=31\n");
}

TEST(IniDocument, CorruptTextIsKeptAndDoesNotBreakReading)
{
    static const char raw[] = "\x00\x01[\xFF\xFE]]\n=\n[[x]\nk\x00=v\n\n\n[S]\nkey=ok";
    const std::string garbage(raw, sizeof raw - 1);
    IniDocument doc = IniDocument::FromOctets(garbage);
    EXPECT_EQ(doc.Value("S", "key"), "ok");
    doc.SetValue("S", "new", "1");
    const IniDocument again = IniDocument::FromOctets(doc.ToUtf8());
    EXPECT_EQ(again.Value("S", "key"), "ok");
    EXPECT_EQ(again.Value("S", "new"), "1");
}

TEST(IniDocument, CaseFoldingCoversLatinAndCyrillic)
{
    EXPECT_EQ(FoldIniName("ЁЖИК Tmax ÀÉ Ґ"), "ёжик tmax àé ґ");
    EXPECT_EQ(FoldIniName("ёжик"), "ёжик");
    EXPECT_NE(FoldIniName("Ё"), FoldIniName("Е"));
}
