// A memo printed into a prepared page while a report is built: expansion, measuring, the part
// that fits, suppressed repeats, highlight, and the lines an export receives.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ReportObjectsFixture.h"
#include "report/export/ExportFilter.h"
#include "report/objects/MemoView.h"
#include "report/objects/TextMeasure.h"

namespace {

class MemoPrinting : public ReportObjects {
protected:
    MemoPrinting()
    {
        context.PrintModeFlag = true;
        context.CurrentPage = page;
        memo = Add<TrpMemoView>();
        memo->Name = QStringLiteral("Memo1");
        memo->PrintedForm = true;   // as the page set-up switches its objects before a build
        memo->SetBounds(0, 0, 80, 100);
        memo->Font.Name = QStringLiteral("Courier New");   // 8 pixels a character at 10 points
        fieldValue = QStringLiteral("value");
        ServeField();
    }

    // Prints the memo; the entry written, or none.
    QByteArray Print()
    {
        return PrintEntry(*memo);
    }

    // The memo an entry of a prepared page holds.
    TrpMemoView* Printed(const QByteArray& entry)
    {
        EXPECT_EQ(entry.left(1), QByteArray(1, char(otMemo)));
        return Read<TrpMemoView>(entry.mid(1), true);
    }

    TrpMemoView* memo = nullptr;
};

QString Words(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(QStringLiteral("слово%1__").arg(i));   // 8 characters: one word a line
    return words.join(QLatin1Char(' '));
}

TEST_F(MemoPrinting, PrintsThePartThatFitsAndKeepsTheRest)
{
    memo->Memo = {Words(10)};
    EXPECT_EQ(memo->CalcHeight(), 10 * 15 + 2);
    EXPECT_EQ(memo->PassMode, pmMeasured);
    ASSERT_EQ(memo->WorkText.size(), 10);

    memo->Height = 65;   // room for 4 lines of 15
    memo->PassMode = pmPartFits;
    const TrpMemoView* first = Printed(Print());
    ASSERT_EQ(first->Memo.size(), 5);
    EXPECT_EQ(first->Memo[0], QStringLiteral("слово0__"));
    EXPECT_EQ(first->Memo[3], QStringLiteral("слово3__"));
    EXPECT_EQ(first->Memo[4], QString(kParagraphEnd)) << "the lines were wrapped already";
    ASSERT_EQ(memo->WorkText.size(), 6);
    EXPECT_EQ(memo->WorkText.first(), QStringLiteral("слово4__"));
    EXPECT_EQ(memo->PassMode, pmNormal);

    memo->PassMode = pmPartFits;
    memo->Height = 200;
    const TrpMemoView* rest = Printed(Print());
    EXPECT_EQ(rest->Memo.size(), 6) << "the last line ends the paragraph: no mark line";
    EXPECT_EQ(rest->Memo.last(), QStringLiteral("слово9__") + kParagraphEnd);
    EXPECT_TRUE(memo->WorkText.isEmpty());
    EXPECT_EQ(expansions, 0);
}

TEST_F(MemoPrinting, ExpansionSplitsValuesIntoLines)
{
    const struct {
        QStringList memo;
        QString value;
        uint16_t flags;
        QStringList printed;
    } cases[] = {
        {{QStringLiteral("a [FIELD] b")}, QStringLiteral("1\r\n2"), 0, {QStringLiteral("a 1"), QStringLiteral("2 b")}},
        {{QStringLiteral("x"), QString(), QStringLiteral("[FIELD]")}, QString(), 0, {QStringLiteral("x"), QString(), QString()}},
        {{QStringLiteral("[FIELD]")}, QStringLiteral("v"), mfTextOnly, {QStringLiteral("[FIELD]")}},
    };
    for (const auto& c : cases) {
        memo->Memo = c.memo;
        memo->Flags = kFlagStretched | c.flags;   // no word wrap: the lines print as expanded
        fieldValue = c.value;
        EXPECT_EQ(Printed(Print())->Memo, c.printed) << c.memo.join(QLatin1Char('|')).toStdString();
    }
}

// The lines are split at their brackets once and expanded again for every record; a line
// changed in between, even to one of the same length, is split anew.
TEST_F(MemoPrinting, EveryRecordExpandsTheLinesAsTheyAreThen)
{
    memo->Flags = kFlagStretched;
    memo->Memo = {QStringLiteral("<[FIELD]>"), QStringLiteral("[FIELD]")};
    const struct {
        const char* value;
        QStringList memo;   // none: unchanged
        QStringList printed;
    } records[] = {
        {"1", {}, {QStringLiteral("<1>"), QStringLiteral("1")}},
        {"2", {}, {QStringLiteral("<2>"), QStringLiteral("2")}},
        {"3", {QStringLiteral("[FIELD]<>"), QStringLiteral("[FIELD]")}, {QStringLiteral("3<>"), QStringLiteral("3")}},
        {"4", {QStringLiteral("x")}, {QStringLiteral("x")}},
        {"5", {QStringLiteral("x"), QStringLiteral("[[FIELD]]")}, {QStringLiteral("x"), QStringLiteral("5")}},
    };
    for (const auto& r : records) {
        if (!r.memo.isEmpty())
            memo->Memo = r.memo;
        fieldValue = QString::fromLatin1(r.value);
        EXPECT_EQ(Printed(Print())->Memo, r.printed) << r.value;
    }
    EXPECT_EQ(expansions, 7);
}

TEST_F(MemoPrinting, CalcHeightFromAScriptLeavesTheMemoMeasured)
{
    memo->Memo = {QStringLiteral("[FIELD]")};
    QVariant height;
    memo->CallMethod(QStringLiteral("CALCHEIGHT"), {}, {}, {}, height);
    EXPECT_EQ(height.toInt(), 15 + 2);
    EXPECT_EQ(memo->PassMode, pmMeasured);
    EXPECT_EQ(Printed(Print())->Memo, QStringList{QStringLiteral("value") + kParagraphEnd});
    EXPECT_EQ(expansions, 1) << "printing does not expand again";
}

// CALCWIDTH measures the text as it prints: 8 pixels a character, plus frame 1, gaps 2 x 2
// and 1, over the widest line. A memo that asks for its width while it expands gets the width
// of its text as written.
TEST_F(MemoPrinting, CalcWidthMeasuresTheExpandedText)
{
    const struct {
        QStringList memo;
        QString value;
        int width;
    } cases[] = {
        {{QStringLiteral("[FIELD]")}, QStringLiteral("7"), 8 + 6},                  // raw 7 characters
        {{QStringLiteral("[FIELD]")}, QStringLiteral("температура 12,5 °C"), 19 * 8 + 6},
        {{QStringLiteral("t=[FIELD]")}, QStringLiteral("1\r\n12345"), 5 * 8 + 6},  // lines "t=1", "12345"
    };
    memo->Flags = kFlagStretched;   // no word wrap: the lines print as expanded
    for (const auto& c : cases) {
        memo->Memo = c.memo;
        fieldValue = c.value;
        const TrpViewScope current(context, memo);
        QVariant width;
        report->ResolveVariable(QStringLiteral("CALCWIDTH"), width);
        EXPECT_EQ(width, QVariant(c.width))
            << c.memo.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(memo->WorkText, QStringList()) << "the memo is left as it was";
    }
    memo->Memo = {QStringLiteral("[CALCWIDTH]")};
    EXPECT_EQ(Printed(Print())->Memo, QStringList{QString::number(11 * 8 + 6)});
}

// Records printed in turn, each measured before it prints, as bands print them.
TEST_F(MemoPrinting, SuppressedRepeatsPrintOnce)
{
    memo->Memo = {QStringLiteral("[FIELD]")};
    memo->Flags |= mfSuppress;
    const struct {
        const char* value;
        bool printed;
    } records[] = {{"12,5", true}, {"12,5", false}, {"13", true}, {"12,5", true}};
    for (const auto& r : records) {
        fieldValue = QString::fromLatin1(r.value);
        EXPECT_EQ(memo->CalcHeight() > 0, r.printed) << r.value;
        EXPECT_EQ(!Print().isEmpty(), r.printed) << r.value;
    }
}

TEST_F(MemoPrinting, HighlightAndHandlerStyles)
{
    memo->Memo = {QStringLiteral("[FIELD]")};
    memo->FillColor = 0x00FFFF;
    memo->HighlightFontStyle = 2;   // stored bits: bold
    memo->HighlightFontColor = 0x0000FF;
    memo->HighlightFillColor = 0x00FF00;
    context.PageNo = 1;
    memo->HighlightCondition = context.ReportParser.ToPostfix(QStringLiteral("PAGE# > 1"));
    const TrpMemoView* lit = Printed(Print());
    EXPECT_EQ(lit->Font.Style, fsBold);
    EXPECT_EQ(lit->Font.Color, 0x0000FFu);
    EXPECT_EQ(lit->FillColor, 0x00FF00u);
    EXPECT_EQ(memo->Font.Style, 0) << "the object keeps its own look";
    EXPECT_EQ(memo->FillColor, 0x00FFFFu);

    memo->HighlightCondition = context.ReportParser.ToPostfix(QStringLiteral("NOSUCHNAME > 1"));
    EXPECT_EQ(Printed(Print())->Font.Style, 0) << "a failing condition prints plain";

    // A display-text handler that sets the style while the text expands prints with it, and
    // the object keeps it.
    memo->HighlightCondition.clear();
    report->OnGetValue = [this](const QString&, QVariant& value) {
        memo->Font.Style = fsBold;
        value = QStringLiteral("v");
    };
    EXPECT_EQ(Printed(Print())->Font.Style, fsBold);
    EXPECT_EQ(memo->Font.Style, fsBold);
}

TEST_F(MemoPrinting, HeightsWithLinesThatTakeNoRoom)
{
    memo->Height = 40;
    EXPECT_EQ(memo->MinHeight(), 2 + 2 + 15);
    EXPECT_EQ(memo->RestHeight(), (40 - 2 - 2) % 15 + 2 + 2);
    memo->LineSpacing = -13;   // font height 13: no room between lines
    EXPECT_EQ(memo->RestHeight(), 40);
    memo->Memo = {QStringLiteral("a")};
    memo->Flags |= mfUnderlines;
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    memo->Draw(&painter);   // no rules, and no division by zero
    memo->Font.Size = 0;
    memo->LineSpacing = 0;
    EXPECT_EQ(memo->RestHeight(), 40);
    memo->Draw(&painter);
}

// Collects what an export receives.
class LineCollector : public TrpExportFilter {
public:
    void OnData(int x, int y, TrpView*) override { data.append(QPoint(x, y)); }
    void OnText(const TrpRect& rect, int, int, const QString& text, int frameTyp, TrpView*) override
    {
        lines.append(text);
        sides.append(frameTyp);
        rects.append(rect);
    }
    QList<QPoint> data;
    QStringList lines;
    QList<int> sides;
    QList<TrpRect> rects;
};

TEST_F(MemoPrinting, ExportGetsEachLineWithItsFrameSides)
{
    LineCollector filter;
    report->CurrentFilter = &filter;
    memo->SetBounds(30, 40, 200, 100);
    memo->FrameTyp = frAllSides;
    memo->Memo = {QStringLiteral("один"), QStringLiteral("два"), QStringLiteral("три") + kParagraphEnd};
    memo->ExportData();
    EXPECT_EQ(filter.data, QList<QPoint>{QPoint(30, 40)});
    EXPECT_EQ(filter.lines, (QStringList{QStringLiteral("один"), QStringLiteral("два"), QStringLiteral("три")}));
    EXPECT_EQ(filter.sides, (QList<int>{frAllSides & ~frBottom, frLeft | frRight, frAllSides & ~frTop}));
    EXPECT_EQ(filter.rects.first(), (TrpRect{30, 40, 231, 141}));
    EXPECT_FALSE(memo->Exporting);

    filter.sides.clear();
    memo->Memo = {QStringLiteral("один")};
    memo->ExportData();
    EXPECT_EQ(filter.sides, QList<int>{frAllSides});
    report->CurrentFilter = nullptr;
}

// Measures are kept for the run: the same text breaks by the width and font of each memo that
// prints it, whichever memo measured it before. Courier New advances 8 pixels at 10 points and
// 19 or 20 at 24; a line holds its width less two gaps of 2.
TEST_F(MemoPrinting, EachMemoBreaksTheSameTextByItsOwnWidthAndFont)
{
    LineCollector filter;
    report->CurrentFilter = &filter;
    const QString text = QStringLiteral("один два три");
    const struct {
        const char* name;
        int width;
        int size;
        QStringList lines;
    } cases[] = {
        {"wide, 96 of 196 pixels", 200, 10, {text}},
        {"narrow, 5 characters a line", 50, 10, {"один", "два", "три"}},
        {"large, 8 to 10 characters a line", 200, 24, {"один два", "три"}},
        {"large and narrow, a character or two a line", 50, 24, {"од", "ин", "дв", "а", "тр", "и"}},
        {"wide again", 200, 10, {text}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        filter.lines.clear();
        memo->SetBounds(0, 0, c.width, 400);
        memo->Font.Size = c.size;
        memo->Memo = {text};
        memo->ExportData();
        EXPECT_EQ(filter.lines, c.lines);
    }
    report->CurrentFilter = nullptr;
}

// "Страница № [PAGE#]" with automatic width: printed with the number, and drawn as wide as its
// text (right-aligned text keeps its right edge).
TEST_F(MemoPrinting, AutoWidthFollowsThePrintedText)
{
    memo->Font.Name = QStringLiteral("Arial");
    memo->Memo = {QStringLiteral("Страница № [PAGE#]")};
    memo->Flags = 11;
    context.PageNo = 4;
    const TrpMemoView* printed = Printed(Print());
    EXPECT_EQ(printed->Memo, QStringList{QStringLiteral("Страница № 5")});
    const TrpTextMeasure measure(ReportQFont(memo->Font, 13), &context.ScratchBitmap);
    const int expected = measure.Width(u"Страница № 5") + 1 + 2 * 2 + 1;
    for (const int32_t alignment : {taLeft, taRight}) {
        TrpMemoView* drawn = Printed(Print());
        drawn->SetBounds(100, 0, 300, 20);
        drawn->Alignment = alignment;
        drawn->Draw(nullptr);
        EXPECT_EQ(drawn->Width, expected);
        EXPECT_EQ(drawn->Left, alignment == taRight ? 400 - expected : 100);
    }
    TrpMemoView* unseen = Printed(Print());
    unseen->ZoomX = unseen->ZoomY = 0;   // a page drawn into no room at all
    EXPECT_NO_THROW(unseen->Draw(nullptr));
}

}  // namespace
