// The RTF export as a word processor reads it: protocol pages of framed cells, exported to RTF
// and opened by LibreOffice Writer (converted to PDF), show every cell's text where the engine's
// own PDF of the same pages (the virtual printer) has it. The RTF page holds the printed page at
// 15.05 twips a page unit: 0.7525 pt a unit against the printer's 72 / 91.6256 pt, 95.8 %.
//
// Skipped, saying why, where LibreOffice Writer (soffice) or pdftotext is not installed.
#include "ExportFixture.h"

#include <map>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "report/export/RtfAdvExport.h"
#include "report/paper/ReportPrinter.h"
#include "report/print/QtPrinter.h"

namespace {

constexpr double kRtfPointsPerUnit = 15.05 / 20;
constexpr double kRtfScale = kRtfPointsPerUnit / (72 / 91.6256157635468);
// How far a word's centre may stand from where the engine prints it, scaled, in points (3 pt
// are four page units, a sixth of a row): the cell's inner gap differs (the engine's 2 units,
// 1.5 pt, against the row's \trgaph5, 0.25 pt), texts keep their point size while the page
// shrinks to 95.8 % (a word of a centred line moves by 4.2 % of its distance from the line's
// centre, 2.4 pt for the first word of the 140-pt title), and the reader's line layout sets the
// first line's top a point or so apart (1.4 pt at most, measured).
constexpr double kTolerance = 3.0;

struct TWord {
    QString Text;
    QRectF Box;   // points, from the page's top left
};
using TPdfPages = std::vector<std::vector<TWord>>;

// What pdftotext finds on each page, with the boxes of the words.
TPdfPages ReadWords(const QString& pdf, QString& error)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        error = QStringLiteral("pdftotext ") + pdf + QStringLiteral(": ") + QString::fromUtf8(tool.readAllStandardError());
        return {};
    }
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    TPdfPages pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            pages.emplace_back();
        } else if (!pages.empty()) {
            const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
            const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
            pages.back().push_back({m.captured(5), QRectF(topLeft, bottomRight)});
        }
    }
    return pages;
}

// One cell of a protocol page: box in page units, lines, alignment.
struct TCell {
    QRect Box;
    QStringList Lines;
    int32_t Alignment;
    int Frames;
};

// A protocol page as the state report lays it out: a title, a header of two-line captions,
// rows of a name and seven readings, and a page footer. Every word is unique on its page.
std::vector<TCell> ProtocolPage(int page)
{
    std::vector<TCell> cells;
    cells.push_back({{36, 18, 680, 24}, {QStringLiteral("Протокол температур 12.03.2024")}, taCenter, 0});
    cells.push_back({{36, 44, 120, 30}, {QStringLiteral("Силос"), QStringLiteral("подвеска")}, taLeft, frAllSides});
    for (int c = 1; c < 8; ++c)
        cells.push_back({{156 + (c - 1) * 80, 44, 80, 30},
                         {QStringLiteral("Датчик_%1").arg(c), QStringLiteral("T%1").arg(c)}, taCenter, frAllSides});
    for (int r = 0; r < 30; ++r) {
        const int top = 74 + r * 18;
        cells.push_back({{36, top, 120, 18}, {QStringLiteral("С%1-%2").arg(page + 1).arg(r + 1)}, taLeft, frAllSides});
        for (int c = 1; c < 8; ++c)
            cells.push_back({{156 + (c - 1) * 80, top, 80, 18},
                             {QStringLiteral("%1,%2").arg(page * 100 + r).arg(c)}, taRight, frAllSides});
    }
    cells.push_back({{36, 1000, 680, 18}, {QStringLiteral("Страница_%1").arg(page + 1)}, taRight, 0});
    return cells;
}

class RtfInWordProcessor : public ExportFixture {
protected:
    void SetUp() override
    {
        for (const char* tool : {"soffice", "pdftotext"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed: the RTF export is not checked in a word processor "
                             << "(scripts/run-tests.sh installs libreoffice-writer-nogui and poppler-utils)";
        context.CurrentReport = context.RootReport = &report;
        context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
        StartReportPrinter(context);
        context.PdfFileDialog = [this](const QString&) { return Path(QStringLiteral("engine.pdf")); };
        for (int page = 0; page < 2; ++page) {
            AddPage();
            for (const TCell& cell : ProtocolPage(page))
                Print(page, {cell.Box.x(), cell.Box.y(), cell.Box.width(), cell.Box.height(), cell.Lines,
                             cell.Frames, cell.Alignment},
                      [](TrpMemoView& memo) { memo.Font.Size = 9; });
        }
    }

    // The RTF file converted by LibreOffice Writer, with a profile of its own.
    QString WriterPdf(const QString& rtf, QString& error)
    {
        QProcess writer;
        writer.setWorkingDirectory(folder.path());
        writer.start(QStringLiteral("soffice"),
                     {QStringLiteral("-env:UserInstallation=file://") + Path(QStringLiteral("profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                      QStringLiteral("--outdir"), Path(QStringLiteral("writer")), rtf});
        if (!writer.waitForFinished(240000) || writer.exitCode() != 0) {
            error = QStringLiteral("soffice: ") + QString::fromUtf8(writer.readAllStandardError());
            return {};
        }
        return Path(QStringLiteral("writer/protocol.pdf"));
    }
};

TEST_F(RtfInWordProcessor, CellsStandWhereTheEnginePrintsThem)
{
    ASSERT_TRUE(report.PrintReportPages(QString(), 1, true, ppAll));
    TrpRtfAdvExport filter(context);
    filter.ShowDialog = false;
    ASSERT_TRUE(Export(filter, Path(QStringLiteral("protocol.rtf"))));

    QString error;
    const QString writerPdf = WriterPdf(Path(QStringLiteral("protocol.rtf")), error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const TPdfPages engine = ReadWords(Path(QStringLiteral("engine.pdf")), error);
    const TPdfPages writer = ReadWords(writerPdf, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(engine.size(), 2u);
    ASSERT_EQ(writer.size(), 2u) << "the reader lays the cells out on pages of their own";

    for (size_t page = 0; page < 2; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page + 1);
        const std::vector<TCell> cells = ProtocolPage(int(page));
        int words = 0;
        for (const TCell& cell : cells)
            for (const QString& line : cell.Lines)
                words += int(line.split(QLatin1Char(' ')).size());
        ASSERT_EQ(int(engine[page].size()), words);
        ASSERT_EQ(int(writer[page].size()), words) << "every word, once";
        std::map<QString, QRectF> written;
        for (const TWord& word : writer[page])
            written.emplace(word.Text, word.Box);
        for (const TWord& word : engine[page]) {
            SCOPED_TRACE(word.Text.toStdString());
            const auto found = written.find(word.Text);
            ASSERT_NE(found, written.end());
            const QRectF& box = found->second;
            // The same place, the engine's page shrunk to the RTF page.
            const QRectF expected(word.Box.topLeft() * kRtfScale, word.Box.bottomRight() * kRtfScale);
            EXPECT_NEAR(box.center().x(), expected.center().x(), kTolerance);
            EXPECT_NEAR(box.top(), expected.top(), kTolerance);
            // And inside the cell the engine printed it in, at the RTF page's 0.7525 pt a unit.
            const QPointF unitsOnPrint = word.Box.center() / (72 / 91.6256157635468);
            const auto cell = std::find_if(cells.begin(), cells.end(),
                                           [&](const TCell& c) { return QRectF(c.Box).contains(unitsOnPrint); });
            ASSERT_NE(cell, cells.end());
            const QRectF cellOnRtf(QPointF(cell->Box.topLeft()) * kRtfPointsPerUnit,
                                   QSizeF(cell->Box.size()) * kRtfPointsPerUnit);
            EXPECT_TRUE(cellOnRtf.contains(box.center()))
                << "cell " << cellOnRtf.left() << "," << cellOnRtf.top() << " " << cellOnRtf.width() << "x"
                << cellOnRtf.height() << ", word at " << box.center().x() << "," << box.center().y();
        }
    }
}

} // namespace
