// Writing RTF and reading it back: the escaping that the writer and the RTF export share,
// documents that survive write and read unchanged, and mutated documents that the reader
// must survive.
#include <gtest/gtest.h>

#include <random>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include "RtfDescription.h"
#include "report/file/RtfEscape.h"
#include "report/file/RtfReader.h"
#include "report/file/RtfWriter.h"
#include "report/runtime/ReportErrors.h"

using namespace Qt::StringLiterals;

namespace {

struct EscapeCase {
    const char* name;
    QString text;
    QByteArray rtf;
};

void PrintTo(const EscapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfEscaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RtfEscaping, GivesTheRtfCharacters)
{
    EXPECT_EQ(EscapeRtf(GetParam().text), GetParam().rtf);
}

INSTANTIATE_TEST_SUITE_P(Texts, RtfEscaping,
    ::testing::Values(
        EscapeCase{"Ascii", u"Silo 7: 12.5"_s, "Silo 7: 12.5"},
        EscapeCase{"Specials", u"a\\b{c}d"_s, R"(a\\b\{c\}d)"},
        EscapeCase{"Cyrillic", u"Ёж №5"_s, R"(\'a8\'e6 \'b95)"},
        EscapeCase{"OutsideCp1251", u"Ωé"_s, R"(\u937?\u233?)"},
        EscapeCase{"HighUnitsAreNegative", u"\uFB01😀"_s, R"(\u-1279?\u-10179?\u-8704?)"},
        EscapeCase{"LineEnds", u"a\r\nb\rc\nd\u2028e\u2029f"_s, R"(a\line b\line c\line d\line e\par f)"},
        EscapeCase{"TabAndControls", u"a\tb\u0001"_s, R"(a\tab b\'01)"}),
    [](const ::testing::TestParamInfo<EscapeCase>& info) { return std::string(info.param.name); });

QString Reread(const QTextDocument& document)
{
    RtfTestDocument read;
    ReadRtf(WriteRtf(document), read);
    return DescribeDocument(read);
}

QTextCharFormat Format(const QString& family, qreal points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

QTextBlockFormat Paragraph(Qt::Alignment alignment, qreal left = 0, qreal right = 0, qreal first = 0)
{
    QTextBlockFormat format;
    format.setAlignment(alignment);
    format.setLeftMargin(left);
    format.setRightMargin(right);
    format.setTextIndent(first);
    return format;
}

// A document with every format the reader carries, Cyrillic, characters that page 1251 lacks
// and the characters RTF must escape.
void FillRichDocument(QTextDocument& document)
{
    QTextCursor cursor(&document);
    cursor.setBlockFormat(Paragraph(Qt::AlignHCenter));
    QTextCharFormat title = Format(u"Times New Roman"_s, 16);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(u"Температура зерна в силосах"_s, title);

    cursor.insertBlock(Paragraph(Qt::AlignLeft, 48, 24, -12));
    cursor.insertText(u"Силос №3: "_s, Format(u"Arial"_s, 10));
    QTextCharFormat alarm = Format(u"Arial"_s, 10);
    alarm.setForeground(QColor(255, 0, 0));
    alarm.setBackground(QColor(255, 255, 0));
    alarm.setFontItalic(true);
    alarm.setFontUnderline(true);
    cursor.insertText(u"35,5 °C"_s, alarm);
    QTextCharFormat struck = Format(u"Курьер"_s, 8.5);
    struck.setFontStrikeOut(true);
    cursor.insertText(u"\tΩ 😀 {\\} ё\u2028next line\u00A0end"_s, struck);

    cursor.insertBlock(Paragraph(Qt::AlignRight), Format(u"Arial"_s, 20));   // an empty line of 20 points
    cursor.insertBlock(Paragraph(Qt::AlignJustify));
    cursor.insertText(u"Итог"_s, Format(u"Arial"_s, 10));
}

TEST(RtfRoundTrip, RichDocumentReadsBackUnchanged)
{
    RtfTestDocument document;
    FillRichDocument(document);
    const QByteArray rtf = WriteRtf(document);

    for (const char c : rtf)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the written RTF is ASCII";
    EXPECT_TRUE(rtf.startsWith(R"({\rtf1\ansi\ansicpg1251)"));
    EXPECT_TRUE(rtf.contains(R"(\'d2\'e5\'ec\'ef\'e5\'f0\'e0\'f2\'f3\'f0\'e0)"));   // "Температура"
    EXPECT_TRUE(rtf.contains(R"(\u937?)"));

    const QString original = DescribeDocument(document);
    EXPECT_EQ(Reread(document), original);
    EXPECT_EQ(original.count(u'\n'), 3) << "four paragraphs, the empty one kept";
}

TEST(RtfRoundTrip, HandWrittenDocumentReadsAgainToTheSame)
{
    const QByteArray rtf =
        R"({\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fnil\fcharset204 Arial;}{\f1\fnil\fcharset0 Tahoma;}})"
        R"({\colortbl ;\red0\green128\blue0;}{\*\generator Msftedit 5.41;}\viewkind4\uc1)"
        "\r\n"
        R"(\pard\qc\b\f0\fs28\'c4\'e0\'f2\'f7\'e8\'ea \'b912\b0\par)"
        "\r\n"
        R"(\pard\li360\cf1\i\f1\fs20 caf\'e9 \u8364\'88 \u1071?\i0\cf0\line\ul next\ulnone\par)"
        "\r\n"
        R"(\par)"
        "\r\n}";
    RtfTestDocument first;
    ReadRtf(rtf, first);
    EXPECT_EQ(DocumentText(first), u"Датчик №12\ncafé € Я\u2028next\n"_s);
    EXPECT_EQ(Reread(first), DescribeDocument(first));
}

// Bulleted paragraphs (the rich-text editor's bullets) are written as paragraph numbering with
// bullets, and read from it as the word processors write it, without the bullet's own text.
TEST(RtfRoundTrip, BulletedParagraphsStayBulleted)
{
    const auto bullets = [](const QTextDocument& document) {
        QString marks;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextList* list = block.textList();
            marks += !list ? u'-' : list->format().style() == QTextListFormat::ListDisc ? u'*' : u'?';
        }
        return marks;
    };
    RtfTestDocument written;
    QTextCursor cursor(&written);
    cursor.insertText(u"one"_s);
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertBlock();
    cursor.insertText(u"two"_s);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"three"_s);
    ASSERT_EQ(bullets(written), u"**-"_s);
    RtfTestDocument read;
    ReadRtf(WriteRtf(written), read);
    EXPECT_EQ(DocumentText(read), u"one\ntwo\nthree"_s);
    EXPECT_EQ(bullets(read), u"**-"_s);
    EXPECT_EQ(read.begin().textList(), read.begin().next().textList()) << "one list";

    // A numbered list is no bulleted one; a paragraph without \pard keeps its bullet.
    const QByteArray rtf =
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 Symbol;}})"
        R"(\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-360\li360\f0 a\par)"
        R"({\pntext\f1\'B7\tab}b\par)"
        R"(\pard{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec{\pntxta .}}c\par)"
        R"(\pard d\par})";
    RtfTestDocument word;
    ReadRtf(rtf, word);
    EXPECT_EQ(DocumentText(word), u"a\nb\nc\nd"_s);
    EXPECT_EQ(bullets(word), u"**--"_s);
}

TEST(RtfRoundTrip, EmptyDocumentStaysOneEmptyParagraph)
{
    RtfTestDocument document;
    RtfTestDocument read;
    ReadRtf(WriteRtf(document), read);
    EXPECT_EQ(read.blockCount(), 1);
    EXPECT_TRUE(read.isEmpty());
}

// Mutated documents: whatever the damage, the reader neither crashes nor grows past the input,
// and what it read writes and reads again to the same document.
QByteArray Mutated(const QByteArray& seed, std::mt19937& random)
{
    static const char* const pieces[] = {"{", "}", "\\", "\\'", "\\u", "\\bin", "\\par ", "\\*", "\\f",
                                         "\\fs", "\\cf", "-", "999999999999", ";", "\\uc5 ", "\\'ff", "\\pict"};
    QByteArray data = seed;
    const int mutations = 1 + int(random() % 4);
    for (int m = 0; m < mutations && !data.isEmpty(); ++m) {
        const qsizetype at = qsizetype(random() % size_t(data.size()));
        switch (random() % 5) {
        case 0: data[at] = char(random() % 256); break;
        case 1: data.remove(at, qsizetype(random() % 16)); break;
        case 2: data.insert(at, pieces[random() % std::size(pieces)]); break;
        case 3: data.insert(at, data.mid(at, qsizetype(random() % 32))); break;
        default: data.truncate(at); break;
        }
    }
    return data;
}

TEST(RtfRoundTrip, MutatedDocumentsAreReadSafely)
{
    RtfTestDocument rich;
    FillRichDocument(rich);
    const QByteArray seeds[] = {
        WriteRtf(rich),
        R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset204 Arial;}}{\colortbl;\red1\green2\blue3;})"
        R"({\*\x {y}}{\pict\bin3 {{{}\uc2\u1055??\'e0{\field{\*\fldinst A}{\fldrslt B}}\trowd a\cell\row\qc\li99 c\par})",
    };
    std::mt19937 random(20240611);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray input = Mutated(seeds[i % std::size(seeds)], random);
        RtfTestDocument document;
        try {
            ReadRtf(input, document);
        } catch (const EReadError&) {
            continue;   // the head was damaged: no longer RTF
        }
        ASSERT_LE(document.characterCount(), input.size() + 1) << input.toStdString();
        ASSERT_EQ(Reread(document), DescribeDocument(document)) << input.toStdString();
    }
}

}  // namespace
