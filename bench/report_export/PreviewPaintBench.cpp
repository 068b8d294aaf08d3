// The preview painting one A4 protocol page at 100 % and at the page width (the time is that of
// one paint of the page box), beside a bare baseline that draws the same framed texts with QPainter directly at the same
// place and scale.
#include <memory>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "ProtocolPages.h"
#include "report/objects/ReportFont.h"
#include "report/ui/PBox.h"
#include "report/ui/PreviewForm.h"

namespace {

// Room for the whole page at 100 %.
const QSize kWindow(1000, 1240);

struct Preview {
    Preview()
    {
        form.TakePages(protocol.report);
        form.setWindowState(Qt::WindowNoState);
        form.resize(kWindow);
        form.show();
        form.ResetView(true);
    }

    void Zoom(int tag)
    {
        for (QAction* item : form.ProcMenu->actions())
            if (item->data().toInt() == tag)
                form.N3Click(item);
    }

    Protocol protocol{1};
    TrpPreviewForm form{protocol.context};
};

// The preview lives for one benchmark, inside the application's life: a widget must be gone
// before the application is.
class PreviewBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override { preview = std::make_unique<Preview>(); }
    void TearDown(benchmark::State&) override { preview.reset(); }

protected:
    std::unique_ptr<Preview> preview;
};

void ShowScale(benchmark::State& state, const Preview& p)
{
    state.counters["scale %"] = p.form.Scale * 100;
}

void PreviewPaint(benchmark::State& state, Preview& p, int zoomTag)
{
    p.Zoom(zoomTag);
    QImage image(p.form.PBox->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        p.form.PBox->PaintPages(painter, QRegion(image.rect()));
    }
    ShowScale(state, p);
}

// The same page drawn by hand: the grey box, the white sheet, each cell's frame and text.
void BarePaint(benchmark::State& state, Preview& p, int zoomTag)
{
    p.Zoom(zoomTag);
    const double scale = p.form.Scale;
    const QRect sheet = p.form.PageRects().front().translated(p.form.ScrollOffsetX, p.form.ScrollOffsetY);
    const std::vector<ProtocolCell> cells = ProtocolCells(0, 1);
    TrpFont font;
    font.Size = 9;
    const QFont qfont = ReportQFont(font, FontPixelHeight(font.Size, scale));
    QImage image(p.form.PBox->size(), QImage::Format_RGB32);
    const auto scaled = [&](const QRect& box) {
        return QRect(sheet.left() + qRound(box.left() * scale), sheet.top() + qRound(box.top() * scale),
                     qRound(box.width() * scale), qRound(box.height() * scale));
    };
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), QColor(0x80, 0x80, 0x80));
        painter.setBrush(Qt::white);
        painter.drawRect(sheet);
        painter.setFont(qfont);
        for (const ProtocolCell& cell : cells) {
            const QRect box = scaled(cell.Box);
            if (cell.Frames)
                painter.drawRect(box);
            const int align = cell.Alignment == taCenter ? Qt::AlignHCenter
                            : cell.Alignment == taRight  ? Qt::AlignRight
                                                         : Qt::AlignLeft;
            painter.drawText(box.adjusted(2, 1, -2, -1), align | Qt::AlignTop, cell.Text);
        }
    }
    ShowScale(state, p);
}

constexpr int kHundredPercent = 100;

BENCHMARK_DEFINE_F(PreviewBench, PreviewPaint100)(benchmark::State& state)
{
    PreviewPaint(state, *preview, kHundredPercent);
}

BENCHMARK_DEFINE_F(PreviewBench, BarePaint100)(benchmark::State& state)
{
    BarePaint(state, *preview, kHundredPercent);
}

BENCHMARK_DEFINE_F(PreviewBench, PreviewPaintPageWidth)(benchmark::State& state)
{
    PreviewPaint(state, *preview, smPageWidth);
}

BENCHMARK_DEFINE_F(PreviewBench, BarePaintPageWidth)(benchmark::State& state)
{
    BarePaint(state, *preview, smPageWidth);
}

} // namespace

BENCHMARK_REGISTER_F(PreviewBench, PreviewPaint100)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(PreviewBench, BarePaint100)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(PreviewBench, PreviewPaintPageWidth)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(PreviewBench, BarePaintPageWidth)->Unit(benchmark::kMillisecond);
