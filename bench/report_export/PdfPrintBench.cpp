// Printing 200 protocol pages through the virtual printer into a PDF file, side by side in every
// iteration with a bare QPdfWriter and QPainter drawing the same framed texts on the same paper
// at the same resolution. The time shown is the printing's; "pages/s" is its rate, "bare
// pages/s" the bare writer's, "ratio" the printing's rate over the bare writer's.
#include <chrono>
#include <memory>

#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include "ProtocolPages.h"
#include "report/objects/ReportFont.h"
#include "report/paper/PaperGeometry.h"
#include "report/print/QtPrinter.h"

namespace {

constexpr int kPdfPages = 200;
// Qt's high resolution for PDF, as the virtual printer's file has it.
constexpr int kDotsPerInch = 1200;

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The same pages drawn by hand: A4 with 5 mm unprinted, the page laid on the whole sheet as the
// engine lays it (the sheet's size in page units), the pen and the font set once, each cell's
// frame as one rectangle and its text on one baseline, placed as the engine places it.
void BarePdf(const QString& fileName, QSize pageUnits)
{
    QPdfWriter pdf(fileName);
    pdf.setResolution(kDotsPerInch);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                  QPageLayout::Millimeter));
    const QRect sheet = pdf.pageLayout().fullRectPixels(kDotsPerInch);
    const QRect printable = pdf.pageLayout().paintRectPixels(kDotsPerInch);
    const double kx = double(sheet.width()) / pageUnits.width();
    const double ky = double(sheet.height()) / pageUnits.height();
    TrpFont font;
    font.Size = 9;
    const QFont qfont = ReportQFont(font, qRound(font.Size * kDotsPerInch / 72.0));
    QPainter painter(&pdf);
    painter.setFont(qfont);
    painter.translate(-printable.topLeft());
    painter.setPen(QPen(Qt::black, qRound(kx)));
    const QFontMetrics metrics(qfont, &pdf);
    const auto scaled = [kx, ky](const QRect& box) {
        return QRect(QPoint(qRound(box.left() * kx), qRound(box.top() * ky)),
                     QPoint(qRound((box.left() + box.width()) * kx), qRound((box.top() + box.height()) * ky)));
    };
    const int gapX = qRound(2 * kx);
    const int gapY = qRound(ky);
    for (int page = 0; page < kPdfPages; ++page) {
        if (page > 0)
            pdf.newPage();
        for (const ProtocolCell& cell : ProtocolCells(page, kPdfPages)) {
            const QRect box = scaled(cell.Box);
            if (cell.Frames)
                painter.drawRect(box);
            const int w = metrics.horizontalAdvance(cell.Text);
            const int x = cell.Alignment == taCenter ? box.left() + (box.width() - w) / 2
                        : cell.Alignment == taRight  ? box.right() - gapX - w
                                                     : box.left() + gapX;
            painter.drawText(QPoint(x, box.top() + gapY + metrics.ascent()), cell.Text);
        }
    }
}

// The pages and the virtual printer live for one benchmark, inside the application's life.
class PdfBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override
    {
        protocol = std::make_unique<Protocol>(kPdfPages);
        TrpRunContext& c = protocol->context;
        c.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
        StartReportPrinter(c);
        c.PdfFileDialog = [this](const QString&) { return protocol->Path("protocol.pdf"); };
    }
    void TearDown(benchmark::State&) override { protocol.reset(); }

protected:
    std::unique_ptr<Protocol> protocol;
};

BENCHMARK_DEFINE_F(PdfBench, VirtualPrinterPdf)(benchmark::State& state)
{
    double printSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!protocol->report.PrintReportPages(QString(), 1, true, ppAll))
            state.SkipWithError("the virtual printer did not print");
        const double seconds = Seconds(start);
        printSeconds += seconds;
        state.SetIterationTime(seconds);

        start = std::chrono::steady_clock::now();
        const TPaperGeometry& g = protocol->report.EMFPages->Page(0).PaperGeometry;
        BarePdf(protocol->Path("bare.pdf"), QSize(g.PageWidth, g.PageHeight));
        bareSeconds += Seconds(start);
    }
    const double pages = double(kPdfPages) * double(state.iterations());
    state.counters["pages/s"] = pages / printSeconds;
    state.counters["bare pages/s"] = pages / bareSeconds;
    state.counters["ratio"] = bareSeconds / printSeconds;
    state.counters["octets"] = double(QFile(protocol->Path("protocol.pdf")).size());
    state.counters["bare octets"] = double(QFile(protocol->Path("bare.pdf")).size());
}

} // namespace

BENCHMARK_REGISTER_F(PdfBench, VirtualPrinterPdf)->Unit(benchmark::kMillisecond)->UseManualTime();
