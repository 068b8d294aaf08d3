// The text export: memos' lines placed on the character grid of their page, frames drawn and
// joined, empty lines and page breaks, the file's code pages, and the scale fields.
#include "ExportFixture.h"

#include "base/CodePage.h"
#include "report/export/TextExport.h"
#include "report/objects/ObjectRegistry.h"

namespace {

// A memo on grid line `line` (14 units a line) whose first character falls in column `column`
// (6.5 units a character; the text starts 2 units right of the memo's left edge).
TMemoPlacement At(int column, int line, const QString& text)
{
    TMemoPlacement placement;
    placement.Left = int(column * 6.5) - 1;
    placement.Top = line * 14;
    placement.Lines = {text};
    return placement;
}

// A memo framed on every side whose frame rectangle runs from left to right.
TMemoPlacement Framed(int left, int right, int line, const QString& text)
{
    TMemoPlacement placement;
    placement.Left = left;
    placement.Width = right - left - 1;
    placement.Top = line * 14;
    placement.Lines = {text};
    placement.Frames = frAllSides;
    return placement;
}

TMemoPlacement Aligned(TMemoPlacement placement, int32_t alignment)
{
    placement.Alignment = alignment;
    return placement;
}

QByteArray Lines(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

class TextExport : public ExportFixture {
protected:
    TrpTextExport filter{context};
};

TEST_F(TextExport, LaysPagesOutOnTheCharacterGrid)
{
    QStringList below200(250, QString());
    below200.append(QStringLiteral("низ"));
    const struct {
        const char* name;
        std::vector<std::vector<TMemoPlacement>> pages;
        std::function<void(TrpTextExport&)> options;
        QStringList expected;
        int paperHeight = 0;   // tenths of a millimetre; none: A4
    } cases[] = {
        {"columns", {{At(5, 0, "AB"), At(20, 0, "CD")}}, {}, {"     AB             CD", "\f"}},
        {"overlap", {{At(0, 0, "ABCDEF"), At(3, 0, "XY")}}, {}, {"ABCDEFXY", "\f"}},
        // Right edge at 65 units: column 10, less the text.
        {"right", {{Aligned({20, 0, 44, 20, {"12"}}, taRight)}}, {}, {"        12", "\f"}},
        {"centre", {{Aligned({0, 0, 129, 20, {"ABCD"}}, taCenter)}}, {}, {"        ABCD", "\f"}},
        {"frame", {{Framed(13, 52, 0, "AB")}}, [](TrpTextExport& f) { f.ExportFrames = true; },
         {" +-----+ ", " |AB   | ", " +-----+ ", "\f"}},
        {"frames off", {{Framed(13, 52, 0, "AB")}}, {}, {"  AB", "\f"}},
        // Right-aligned text ends before the right frame instead of under it.
        {"right in a frame", {{Aligned(Framed(13, 52, 0, "12"), taRight)}},
         [](TrpTextExport& f) { f.ExportFrames = true; }, {" +-----+ ", " |   12| ", " +-----+ ", "\f"}},
        {"tees and crosses",
         {{Framed(13, 52, 0, "AB"), Framed(52, 91, 0, "CD"), Framed(13, 52, 1, "EF"), Framed(52, 91, 1, "GH")}},
         [](TrpTextExport& f) { f.ExportFrames = f.UsePseudographic = true; },
         {" ┌─────┬─────┐ ", " │AB   │CD   │ ", " ├─────┼─────┤ ", " │EF   │GH   │ ", " └─────┴─────┘ ", "\f"}},
        {"kill empty lines", {{At(0, 2, "X")}}, {}, {"X", "\f"}},
        // Text of blanks or an empty memo line is no text either.
        {"kill lines of blanks", {{At(0, 0, "A"), At(4, 1, "  "), At(6, 2, ""), At(0, 3, "B")}}, {},
         {"A", "B", "\f"}},
        {"keep lines of blanks", {{At(0, 0, "A"), At(4, 1, "  "), At(0, 2, "B")}},
         [](TrpTextExport& f) { f.KillEmptyLines = false; }, {"A", "      ", "B", "\f"}},
        {"keep empty lines", {{At(0, 2, "X")}}, [](TrpTextExport& f) { f.KillEmptyLines = false; },
         {"", "", "X", "\f"}},
        // On a page a metre tall.
        {"text far below line 200", {{At(0, 250, "низ")}}, [](TrpTextExport& f) { f.KillEmptyLines = false; },
         below200 + QStringList{"\f"}, 10000},
        // A4: 758 x 1071 units, 117 columns (758 / 6.5); what lies off the page is left out.
        {"off the page", {{At(0, 0, "A"), At(200, 0, "right"), At(0, 100, "below"), At(0, -5, "above")}},
         [](TrpTextExport& f) { f.KillEmptyLines = false; }, {"A", "\f"}},
        // Columns 2 to far beyond the page: the frame stops one cell past the last column.
        {"frame reaching far right", {{Framed(13, 1000000, 0, "AB")}},
         [](TrpTextExport& f) { f.ExportFrames = true; },
         {" +" + QString(116, '-') + " ", " |AB", " +" + QString(116, '-') + " ", "\f"}},
        {"form feed after every page", {{At(0, 0, "A")}, {At(0, 0, "B")}}, {}, {"A", "\f", "B", "\f"}},
        {"no page breaks", {{At(0, 0, "A")}, {At(0, 0, "B")}}, [](TrpTextExport& f) { f.PageBreaks = false; },
         {"A", "B"}},
        {"half scale", {{At(20, 2, "X")}}, [](TrpTextExport& f) { f.ScaleX = f.ScaleY = 0.5; },
         {"          X", "\f"}},
        // A tab in the text is text, whatever frame piece has the same number.
        {"control characters stay text", {{Framed(13, 91, 0, "A\tB")}},
         [](TrpTextExport& f) { f.ExportFrames = true; }, {" +-----------+ ", " |A\tB        | ", " +-----------+ ", "\f"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrpTextExport filter(context);
        filter.ShowDialog = false;
        if (c.options)
            c.options(filter);
        report.EMFPages->Clear();
        design->Objects.clear();
        if (c.paperHeight)
            design->ApplyPaper(kCustomPaper, 2100, c.paperHeight, -1, poPortrait);
        else
            design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
        for (const auto& memos : c.pages) {
            const int page = AddPage();
            for (const TMemoPlacement& memo : memos)
                Print(page, memo);
        }
        ASSERT_TRUE(Export(filter, Path()));
        EXPECT_EQ(QString::fromUtf8(Contents(Path())), QString::fromUtf8(Lines(c.expected)));
    }
}

TEST_F(TextExport, WritesTheChosenCodePage)
{
    const TMemoPlacement memo = Framed(13, 91, 0, QStringLiteral("Зерно"));
    const QStringList box = {" ┌───────────┐ ", " │Зерно      │ ", " └───────────┘ ", "\f"};
    const QStringList plain = {" +-----------+ ", " |Зерно      | ", " +-----------+ ", "\f"};
    const auto encoded = [](const QStringList& lines, CodePage page) {
        return QByteArray::fromStdString(Utf8ToCodePage(Lines(lines).toStdString(), page));
    };
    const struct {
        const char* name;
        bool oem;
        TTextCodePage page;
        QByteArray expected;
    } cases[] = {
        {"UTF-8", false, tcUtf8, Lines(box)},
        // The DOS page has the box-drawing characters, at their usual octets.
        {"866", true, tcUtf8, encoded(box, CodePage::Cp866)},
        // Page 1251 has none: its octets there are letters, so frames take the plain set.
        {"1251", false, tcCp1251, encoded(plain, CodePage::Cp1251)},
    };
    AddPage();
    Print(0, memo);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        filter.ShowDialog = false;
        filter.ExportFrames = filter.UsePseudographic = true;
        filter.ConvertToOEM = c.oem;
        filter.CodePage = c.page;
        ASSERT_TRUE(Export(filter, Path()));
        EXPECT_EQ(Contents(Path()), c.expected);
    }
    EXPECT_EQ(uint8_t(encoded(box, CodePage::Cp866).at(1)), 0xDA);
}

TEST_F(TextExport, ScaleFieldsTakeEitherSeparator)
{
    const struct {
        const char* text;
        double scale;
    } cases[] = {{"1,5", 1.5}, {"1.5", 1.5}, {" 2 ", 2.0}, {"abc", 1.0}, {"", 1.0}, {"0", 1.0}, {"-2", 1.0},
                 {"1e9", 1.0}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadTextExportScale(QString::fromUtf8(c.text)), c.scale) << c.text;
}

TEST_F(TextExport, RegistersOnlyUnderItsOwnClass)
{
    struct Subclass : TrpTextExport {
        explicit Subclass(TrpRunContext& c) : TrpTextExport(c, nullptr, TUnregistered{}) {}
    };
    const auto entries = [] {
        QStringList descriptions;
        for (const TrpExportFilterInfo& info : ExportFilterTable())
            descriptions << info.Description + QLatin1Char('|') + info.FileMask;
        return descriptions;
    };
    EXPECT_TRUE(entries().contains(QStringLiteral("ASCII Text file (*.txt)|*.txt")));
    {
        TrpTextExport second(context);
        Subclass subclass(context);
        EXPECT_EQ(entries().count(QStringLiteral("ASCII Text file (*.txt)|*.txt")), 1);
    }
    // Destroying any instance of the class removes its entry.
    EXPECT_FALSE(entries().contains(QStringLiteral("ASCII Text file (*.txt)|*.txt")));
}

} // namespace
