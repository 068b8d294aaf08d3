// The engine's stream forms of strings, string lists and small numbers, byte for byte, and
// how the readers deal with truncated or oversized data.
#include <gtest/gtest.h>

#include <QBuffer>

#include "report/file/MemoryStream.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ReportErrors.h"

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

template <typename Write>
QByteArray Written(Write write)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return data;
}

struct Reader {
    QByteArray data;
    QBuffer buffer;
    explicit Reader(const QByteArray& bytes) : data(bytes), buffer(&data) { buffer.open(QIODevice::ReadOnly); }
};

struct MemoCase {
    const char* name;
    QStringList lines;
    QByteArray bytes;
};

void PrintTo(const MemoCase& c, std::ostream* os)
{
    *os << c.name;
}

class FrMemoLayout : public ::testing::TestWithParam<MemoCase> {};

TEST_P(FrMemoLayout, WritesAndReadsBackExactly)
{
    const MemoCase& c = GetParam();
    EXPECT_EQ(Written([&](QIODevice& s) { WriteFrMemo(s, c.lines); }), c.bytes);
    Reader r(c.bytes + "tail");
    QStringList read{QStringLiteral("stale")};
    ReadFrMemo(r.buffer, read);
    EXPECT_EQ(read, c.lines);
    EXPECT_EQ(r.buffer.pos(), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Lists, FrMemoLayout,
    ::testing::Values(
        MemoCase{"Empty", {}, Bytes({0, 0, 0})},
        MemoCase{"OneEmptyLine", {QString()}, Bytes({1, 0, 0, 0, 0})},
        MemoCase{"SeveralLines", {QStringLiteral("ab"), QString(), QStringLiteral("c")},
                 Bytes({3, 0, 2, 0, 'a', 'b', 13, 0, 0, 13, 1, 0, 'c', 0})},
        MemoCase{"CodePage1251", {QStringLiteral("Ё")}, Bytes({1, 0, 1, 0, 0xA8, 0})}),
    [](const ::testing::TestParamInfo<MemoCase>& info) { return std::string(info.param.name); });

TEST(FrStringLayout, LengthTextAndClosingZero)
{
    EXPECT_EQ(Written([](QIODevice& s) { WriteFrString(s, QString()); }), Bytes({0, 0, 0}));
    EXPECT_EQ(Written([](QIODevice& s) { WriteFrString(s, QStringLiteral("Страница")); }),
              Bytes({8, 0, 0xD1, 0xF2, 0xF0, 0xE0, 0xED, 0xE8, 0xF6, 0xE0, 0}));
    // The closing octet is skipped whatever it holds.
    Reader r(Bytes({2, 0, 'h', 'i', 7, 'x'}));
    EXPECT_EQ(ReadFrString(r.buffer), QStringLiteral("hi"));
    EXPECT_EQ(r.buffer.pos(), 5);
}

TEST(FrStringLayout, CharacterOutsideTheCodePageIsOneQuestionMark)
{
    EXPECT_EQ(Written([](QIODevice& s) { WriteFrString(s, QStringLiteral("a中😀№")); }),
              Bytes({4, 0, 'a', '?', '?', 0xB9, 0}));
    QString loneSurrogate = QStringLiteral("x");
    loneSurrogate.append(QChar(0xD800));
    EXPECT_EQ(Written([&](QIODevice& s) { WriteFrString(s, loneSurrogate); }), Bytes({2, 0, 'x', '?', 0}));
}

TEST(FrStringLayout, LongestTextRoundTripsAndLongerIsRefused)
{
    const QString longest(kMaxFrLength, QLatin1Char('x'));
    const QByteArray bytes = Written([&](QIODevice& s) { WriteFrString(s, longest); });
    ASSERT_EQ(bytes.size(), kMaxFrLength + 3);
    EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
    EXPECT_EQ(uint8_t(bytes[1]), 0xFF);
    Reader r(bytes);
    EXPECT_EQ(ReadFrString(r.buffer), longest);

    // Refused before anything is written, so the stream stays readable.
    const QByteArray refused = Written([&](QIODevice& s) {
        WriteFrString(s, QStringLiteral("ok"));
        EXPECT_THROW(WriteFrString(s, longest + QLatin1Char('x')), EWriteError);
        EXPECT_THROW(WriteFrMemo(s, {QStringLiteral("a"), longest + QLatin1Char('x')}), EWriteError);
    });
    EXPECT_EQ(refused, Bytes({2, 0, 'o', 'k', 0}));
}

TEST(FrMemoLayout, CountIsNotALimit)
{
    Reader r(Bytes({1, 0, 1, 0, 'a', 13, 1, 0, 'b', 0}));
    QStringList lines;
    ReadFrMemo(r.buffer, lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(FrOldLayout, ZeroTerminatedStringsAndLists)
{
    Reader s(Bytes({'a', 'b', 0, 'z'}));
    EXPECT_EQ(ReadFrString22(s.buffer), QStringLiteral("ab"));
    EXPECT_EQ(s.buffer.pos(), 3);

    const std::vector<std::pair<QByteArray, QStringList>> cases = {
        {Bytes({'a', 'b', 13, 'c', 0}), {QStringLiteral("ab"), QStringLiteral("c")}},
        {Bytes({'a', 'b', 13, 0}), {QStringLiteral("ab")}},
        {Bytes({'x', 13, 0}), {QStringLiteral("x")}},
        {Bytes({13, 0}), {QString()}},
        {Bytes({13, 13, 0}), {QString(), QString()}},
        {Bytes({0}), {}},
    };
    for (const auto& [bytes, expected] : cases) {
        Reader r(bytes);
        QStringList lines;
        ReadFrMemo22(r.buffer, lines);
        EXPECT_EQ(lines, expected) << bytes.toHex().toStdString();
        EXPECT_EQ(r.buffer.pos(), bytes.size());
    }
}

TEST(FrOldLayout, TemplateVersionChoosesTheForm)
{
    const QByteArray old = Bytes({'a', 0});
    const QByteArray current = Bytes({1, 0, 'a', 0});
    Reader r1(old);
    EXPECT_EQ(ReadFrStringVer(r1.buffer, 22), QStringLiteral("a"));
    QStringList lines;
    Reader r2(Bytes({'a', 13, 'b', 0}));
    ReadFrMemoVer(r2.buffer, lines, 22);
    EXPECT_EQ(lines.size(), 2);
    Reader r3(current);
    EXPECT_EQ(ReadFrStringVer(r3.buffer, kFirstCountedStringVersion), QStringLiteral("a"));
    Reader r4(Bytes({1, 0, 1, 0, 'a', 0}));
    ReadFrMemoVer(r4.buffer, lines, kCurrentTemplateVersion);
    EXPECT_EQ(lines, QStringList{"a"});
}

TEST(FrReaders, TruncatedDataRaisesAndNeverReadsPast)
{
    const std::vector<std::pair<const char*, QByteArray>> truncated = {
        {"string length", Bytes({5})},
        {"string text", Bytes({5, 0, 'a', 'b'})},
        {"string closing octet", Bytes({1, 0, 'a'})},
        {"list count", Bytes({1})},
        {"empty list end", Bytes({0, 0})},
        {"list line", Bytes({2, 0, 3, 0, 'a'})},
        {"list without end", Bytes({2, 0, 1, 0, 'a', 13, 1, 0, 'b'})},
    };
    for (const auto& [what, bytes] : truncated) {
        Reader r(bytes);
        QStringList lines;
        const bool isString = QByteArray(what).startsWith("string");
        if (isString)
            EXPECT_THROW(ReadFrString(r.buffer), EReadError) << what;
        else
            EXPECT_THROW(ReadFrMemo(r.buffer, lines), EReadError) << what;
        EXPECT_LE(r.buffer.pos(), bytes.size()) << what;
    }
    Reader old(Bytes({'a', 'b'}));
    EXPECT_THROW(ReadFrString22(old.buffer), EReadError);
    Reader oldList(Bytes({'a', 13, 'b'}));
    QStringList lines;
    EXPECT_THROW(ReadFrMemo22(oldList.buffer, lines), EReadError);
    Reader word(Bytes({1}));
    EXPECT_THROW(ReadFrWord(word.buffer), EReadError);
    Reader integer(Bytes({1, 2, 3}));
    EXPECT_THROW(ReadFrInt(integer.buffer), EReadError);
}

// The readers take a memory stream's octets where they are: what they take, what the device
// reads and where it seeks all move the one position.
TEST(FrReaders, MemoryStreamKeepsOnePosition)
{
    const QByteArray octets = Bytes({0x34, 0x12, 2, 0, 'a', 'b', 0, 'x', 'y', 7, 0, 0, 0});
    TrpMemoryStream stream(octets);
    EXPECT_EQ(ReadFrWord(stream), 0x1234);
    EXPECT_EQ(stream.pos(), 2);
    EXPECT_EQ(ReadFrString(stream), QStringLiteral("ab"));
    EXPECT_EQ(stream.pos(), 7);
    EXPECT_EQ(stream.read(2), QByteArray("xy"));
    EXPECT_EQ(stream.pos(), 9);
    EXPECT_EQ(stream.bytesAvailable(), 4);
    EXPECT_EQ(ReadFrInt(stream), 7);
    EXPECT_TRUE(stream.atEnd());
    ASSERT_TRUE(stream.seek(2));
    EXPECT_FALSE(stream.atEnd());
    EXPECT_EQ(ReadFrString(stream), QStringLiteral("ab"));
    EXPECT_EQ(ReadFrBytes(stream, 2), QByteArray("xy"));
    EXPECT_FALSE(stream.seek(octets.size() + 1));
    EXPECT_EQ(stream.pos(), 9);
    // Too few octets left: nothing is taken.
    ASSERT_TRUE(stream.seek(10));
    EXPECT_THROW(ReadFrInt(stream), EReadError);
    EXPECT_EQ(stream.pos(), 10);
    EXPECT_EQ(stream.read(8), Bytes({0, 0, 0}));
    EXPECT_TRUE(stream.atEnd());
}

TEST(FrNumbers, LittleEndianWordsAndIntegers)
{
    EXPECT_EQ(Written([](QIODevice& s) { WriteFrWord(s, 0x12345); }), Bytes({0x45, 0x23}));
    EXPECT_EQ(Written([](QIODevice& s) { WriteFrInt(s, -2); }), Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
    Reader r(Bytes({0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadFrWord(r.buffer), 0x1234);
    EXPECT_EQ(ReadFrInt(r.buffer), -2);
}

TEST(FrFontStyle, BoldAndItalicExchangePlaces)
{
    EXPECT_EQ(FontStyleFromFr(1), fsItalic);
    EXPECT_EQ(FontStyleFromFr(2), fsBold);
    EXPECT_EQ(FontStyleFromFr(0xFF), fsBold | fsItalic | fsUnderline | fsStrikeOut);
    EXPECT_EQ(FontStyleToFr(fsBold), 2);
    EXPECT_EQ(FontStyleToFr(fsItalic | fsStrikeOut), 9);
    for (int stored = 0; stored < 16; ++stored)
        EXPECT_EQ(FontStyleToFr(FontStyleFromFr(stored)), stored);
}

}  // namespace
