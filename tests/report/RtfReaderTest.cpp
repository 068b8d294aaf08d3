// Reading RTF as the rich-text object stores it: the text, character and paragraph formats the
// reader carries, and untrusted input that is cut short, unbalanced or built to exhaust it.
#include <gtest/gtest.h>

#include <optional>

#include "RtfDescription.h"
#include "report/file/RtfReader.h"
#include "report/runtime/ReportErrors.h"

using namespace Qt::StringLiterals;

namespace {

QString Read(const QByteArray& rtf)
{
    RtfTestDocument document;
    ReadRtf(rtf, document);
    return DocumentText(document);
}

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;   // paragraphs joined by '\n'
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, GivesTheText)
{
    EXPECT_EQ(Read(GetParam().rtf), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Snippets, RtfReaderText,
    ::testing::Values(
        TextCase{"LastParAddsNoParagraph", R"({\rtf1 one\par two\par})", u"one\ntwo"_s},
        TextCase{"EmptyParagraphKept", R"({\rtf1 one\par\par two})", u"one\n\ntwo"_s},
        TextCase{"EmptyDocument", R"({\rtf1})", QString()},
        TextCase{"LineBreakAndTab", R"({\rtf1 a\line b\tab c})", u"a\u2028b\tc"_s},
        TextCase{"RawLineEndsCarryNothing", "{\\rtf1 a\r\nb\nc}", u"abc"_s},
        TextCase{"BackslashBeforeLineEndIsPar", "{\\rtf1 a\\\r\nb}", u"a\nb"_s},
        TextCase{"DelimitingBlankBelongsToWord", R"({\rtf1 \b a  b})", u"a  b"_s},
        TextCase{"Cp1251Document", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2, \'b8\'a8})", u"Привет, ёЁ"_s},
        TextCase{"UpperCaseHexDigits", R"({\rtf1\ansicpg1251 \'CF\'F0})", u"Пр"_s},
        TextCase{"Cp1252ByDefault", R"({\rtf1\ansi caf\'e9 \'80})", u"café €"_s},
        TextCase{"UnknownCodePageReadsAs1252", R"({\rtf1\ansi\ansicpg1250 \'e9})", u"é"_s},
        TextCase{"FontCharsetOverridesDocument",
                 R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset204 Arial;}}\f1\'e4\'e0 \f0\'e4})",
                 u"да ä"_s},
        TextCase{"RawOctetsInCodePage", "{\\rtf1\\ansicpg1251 \xcf\xf0\xe8}", u"При"_s},
        TextCase{"UnicodeSkipsItsFallback", R"({\rtf1 \u1055?\u1088?\u8364?})", u"Пр€"_s},
        TextCase{"FallbackMayBeAnOctet", R"({\rtf1\ansicpg1251 \u1055\'cf!})", u"П!"_s},
        TextCase{"FallbackCountFollowsUc", R"({\rtf1\uc2 \u1055??x{\uc0 \u1088 y}\u1089 ??z})", u"Пxрyсz"_s},
        TextCase{"GroupEndsTheFallback", R"({\rtf1\uc3 \u1055?{b}})", u"Пb"_s},
        TextCase{"NegativeUnitsAndSurrogates", R"({\rtf1 \u-10179?\u-8704?\u-1?})", u"😀\uFFFF"_s},
        TextCase{"ControlSymbols", R"({\rtf1 a\~b\-c\_d\\e\{f\}})", u"a\u00A0b\u00ADc\u2011d\\e{f}"_s},
        TextCase{"NamedCharacters", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})", u"—–•‘’“”"_s},
        TextCase{"SkippedDestinations",
                 R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\*\generator G;}a{\*\unknown {nested} text}b})",
                 u"ab"_s},
        TextCase{"PictureBinaryDataWithBraces", "{\\rtf1 a{\\pict\\wmetafile8\\bin4 }}{{ 0a0b}b}", u"ab"_s},
        TextCase{"PictureHexData", R"({\rtf1 a{\*\shppict{\pict\pngblip 89504e47}}{\nonshppict{\pict 00}}b})", u"ab"_s},
        TextCase{"FieldResultKept", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", u"link"_s},
        // The paragraph becomes a bulleted one; the bullet's text for readers without lists goes.
        TextCase{"BulletTextLeftToTheList", R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt{\pntxtb\'b7}}item})", u"item"_s},
        TextCase{"TableCellsAndRows", R"({\rtf1\trowd\cellx100 a\cell b\cell\row c})", u"a\tb\t\nc"_s},
        TextCase{"ControlCharactersDropped", R"({\rtf1 a\'00\'0d\'0ab\u8233?\u65532?c})", u"abc"_s},
        TextCase{"LeadingBlanksBeforeDocument", "\r\n {\\rtf1 x}", u"x"_s}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// A head with two fonts (one with a Cyrillic name) and two colours.
const QByteArray kHead =
    R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fswiss\fcharset204 Arial;})"
    R"({\f1\froman\fcharset204{\*\panose 02020603050405020304}Times New Roman;}{\f2 \'ca\'f3\'f0\'fc\'e5\'f0;}})"
    R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})";

struct FormatCase {
    const char* name;
    QByteArray rtf;
    QString formats;   // DescribeDocument
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfReaderFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RtfReaderFormats, GivesTheFormats)
{
    RtfTestDocument document;
    ReadRtf(GetParam().rtf, document);
    EXPECT_EQ(DescribeDocument(document), GetParam().formats);
}

INSTANTIATE_TEST_SUITE_P(Characters, RtfReaderFormats,
    ::testing::Values(
        FormatCase{"DefaultFontAndSize", kHead + "X}", u"l:[Arial 12]X"_s},
        FormatCase{"FontAndSize", kHead + R"(\f1\fs29 X})", u"l:[Times New Roman 14.5]X"_s},
        FormatCase{"CyrillicFontName", kHead + R"(\f2 X})", u"l:[Курьер 12]X"_s},
        FormatCase{"Styles", kHead + R"(\b\i\ul\strike X})", u"l:[Arial 12 b i u s]X"_s},
        FormatCase{"StylesOff", kHead + R"(\b\i\ul\strike a\b0\i0\ulnone\strike0 X})", u"l:[Arial 12 b i u s]a[Arial 12]X"_s},
        FormatCase{"UnderlineVariants", kHead + R"(\uldb a\ul0 b\ulwave c})", u"l:[Arial 12 u]a[Arial 12]b[Arial 12 u]c"_s},
        FormatCase{"Colours", kHead + R"(\cf1\highlight2 a\cf0\highlight0\cb1 b})", u"l:[Arial 12 fg=#ff0000 bg=#0000ff]a[Arial 12 bg=#ff0000]b"_s},
        FormatCase{"ColourOutsideTableIsAutomatic", kHead + R"(\cf9 X})", u"l:[Arial 12]X"_s},
        FormatCase{"GroupRestores", kHead + R"({\b\f1\fs40 a}X})", u"l:[Times New Roman 20 b]a[Arial 12]X"_s},
        FormatCase{"PlainResets", kHead + R"(\f1\b\cf1\fs40\plain X})", u"l:[Arial 12]X"_s},
        FormatCase{"UnknownFontNumberUsesDocumentFont", kHead + R"(\f7 X})", u"l:[Courier New 12]X"_s},
        FormatCase{"DeffChoosesDefault", R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Tahoma;}}X})", u"l:[Tahoma 12]X"_s},
        FormatCase{"FontNamesWithoutSemicolons", R"({\rtf1{\fonttbl{\f0 Arial}{\f1 Tahoma}}\f1 X})", u"l:[Tahoma 12]X"_s},
        FormatCase{"FontTableWithoutGroups", R"({\rtf1{\fonttbl\f0\fnil Arial;\f1\fnil Tahoma;}\f1 X})", u"l:[Tahoma 12]X"_s},
        FormatCase{"EmptyParagraphKeepsItsSize", kHead + R"(a\par\fs40\par b})", u"l:[Arial 12]a\nl:[Arial 20]\nl:[Arial 20]b"_s}));

INSTANTIATE_TEST_SUITE_P(Paragraphs, RtfReaderFormats,
    ::testing::Values(
        FormatCase{"Alignments", R"({\rtf1\qc a\par\qr b\par\qj c\par\ql d\par})",
                   u"c:[Courier New 12]a\nr:[Courier New 12]b\nj:[Courier New 12]c\nl:[Courier New 12]d"_s},
        FormatCase{"PardResets", R"({\rtf1\qc\li720 a\par\pard b})", u"c li=720:[Courier New 12]a\nl:[Courier New 12]b"_s},
        FormatCase{"Indents", R"({\rtf1\li1440\ri720\fi-360 a})", u"l li=1440 ri=720 fi=-360:[Courier New 12]a"_s},
        FormatCase{"FormatAtTheParagraphEndCounts", R"({\rtf1 a\qc\par b\qr})", u"c:[Courier New 12]a\nr:[Courier New 12]b"_s}));

// Untrusted input: each case either reads to a sensible text or is refused with EReadError,
// leaving the document as it was.
struct MalformedCase {
    const char* name;
    QByteArray rtf;
    std::optional<QString> text;   // none: refused
};

void PrintTo(const MalformedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfReaderMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(RtfReaderMalformed, RecoversOrRefuses)
{
    const MalformedCase& c = GetParam();
    RtfTestDocument document;
    document.setPlainText(QStringLiteral("before"));
    if (c.text) {
        ReadRtf(c.rtf, document);
        EXPECT_EQ(DocumentText(document), *c.text);
    } else {
        EXPECT_THROW(ReadRtf(c.rtf, document), EReadError);
        EXPECT_EQ(document.toPlainText(), QStringLiteral("before"));
    }
}

QByteArray Repeated(const char* piece, int count)
{
    return QByteArray(piece).repeated(count);
}

INSTANTIATE_TEST_SUITE_P(Input, RtfReaderMalformed,
    ::testing::Values(
        MalformedCase{"NotRtf", "plain text", std::nullopt},
        MalformedCase{"Empty", "", std::nullopt},
        MalformedCase{"TooLarge", "{\\rtf1 " + QByteArray(kMaxRtfSize, 'x') + "}", std::nullopt},
        MalformedCase{"OnlyTheHead", "{\\rtf", QString()},
        MalformedCase{"GroupsLeftOpen", R"({\rtf1 a{\b b{\i c)", u"abc"_s},
        MalformedCase{"ExtraCloseEndsDocument", R"({\rtf1 a}}b})", u"a"_s},
        MalformedCase{"CutInControlWord", R"({\rtf1 a\pa)", u"a"_s},
        MalformedCase{"CutAfterBackslash", R"({\rtf1 a\)", u"a"_s},
        MalformedCase{"CutInHexOctet", R"({\rtf1 a\'c)", u"ac"_s},
        MalformedCase{"HexWithoutDigits", R"({\rtf1 a\'zzb})", u"azzb"_s},
        MalformedCase{"CutInUnicodeFallback", R"({\rtf1\uc5 a\u1055 ab)", u"aП"_s},
        MalformedCase{"CutInSkippedGroup", R"({\rtf1 a{\*\x {b)", u"a"_s},
        MalformedCase{"HugeUnicode", R"({\rtf1 \u99999999999999999999?x})", u"x"_s},
        MalformedCase{"HugeUnicodeSkip", R"({\rtf1\uc99999999999 \u1055 abcdefghijklmnopqrstuvwxyz})", u"Пqrstuvwxyz"_s},
        MalformedCase{"HugeBinaryLength", R"({\rtf1 a{\pict\bin99999999999999 xyz}}b})", u"a"_s},
        MalformedCase{"NegativeBinaryLength", R"({\rtf1 a{\pict\bin-5 x}b})", u"ab"_s},
        MalformedCase{"HugeNumbers", R"({\rtf1{\fonttbl{\f-99999999999 A;}}\f-99999999999\fs99999999999\li-99999999999\cf99999999999\highlight-9 x})", u"x"_s},
        MalformedCase{"HugeColours", R"({\rtf1{\colortbl;\red99999999999\green-5\blue256;}\cf1 x})", u"x"_s},
        MalformedCase{"LongControlWord", "{\\rtf1 \\" + QByteArray(100000, 'a') + " x}", u"x"_s},
        MalformedCase{"LongParameter", "{\\rtf1 \\fs" + QByteArray(100000, '9') + " x}", u"x"_s},
        MalformedCase{"DeepNesting", "{\\rtf1 " + Repeated("{", 100000) + "x" + Repeated("}", 100000) + "y}", u"xy"_s},
        MalformedCase{"DeepNestingLeftOpen", "{\\rtf1 " + Repeated("{\\b ", 100000) + "x", u"x"_s},
        MalformedCase{"DeepNestingSkipped", "{\\rtf1 {\\*\\x " + Repeated("{", 100000) + Repeated("}", 100000) + "}y}", u"y"_s},
        MalformedCase{"ManyParagraphs", "{\\rtf1 " + Repeated("\\par ", 100000) + "}", QString(99999, u'\n')}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

// Groups past the depth limit share the deepest kept state: a format set there must not
// outlive the group that set it once the kept levels close.
TEST(RtfReader, FormatsPastTheDepthLimitEndWithTheirGroups)
{
    const QByteArray rtf = "{\\rtf1 " + Repeated("{", 100000) + "\\b x" + Repeated("}", 100000) + "y}";
    RtfTestDocument document;
    ReadRtf(rtf, document);
    EXPECT_EQ(DescribeDocument(document), u"l:[Courier New 12 b]x[Courier New 12]y"_s);
}

}  // namespace
