// Cost of a memo's layout: measuring and wrapping a ten-line memo of Russian text, as every
// stretching memo of a build is measured, and drawing a page of 400 framed memos, as the
// preview and the printer draw prepared pages. Each beside Qt doing the same work bare: line
// breaking with QTextLayout, and painting frames and text straight onto the image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include "bench/common/QtBenchmarkMain.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

namespace {

const QString kRussianText = QStringLiteral(
    "Температура зерна в силосе номер двенадцать превышает уставку на четыре градуса, "
    "проверьте подвеску");

constexpr int kMemosOnPage = 400;
constexpr int kColumns = 8;

class Layout {
public:
    Layout()
    {
        page = report.AddPage();
        context.CurrentReport = context.RootReport = &report;
        context.CurrentPage = page;
        context.PrintModeFlag = true;
        report.BindParser();
    }

    TrpMemoView* AddMemo(int left, int top, int width, int height, const QString& text)
    {
        auto* memo = static_cast<TrpMemoView*>(page->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(left, top, width, height);
        memo->Memo = {text};
        return memo;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* page = nullptr;
};

void BM_MeasureAndWrapRussianMemo(benchmark::State& state)
{
    Layout layout;
    TrpMemoView* memo = layout.AddMemo(0, 0, 80, 20, kRussianText);
    memo->Flags |= mfWordBreak;
    int height = 0;
    for (auto _ : state) {
        height = memo->CalcHeight();
        memo->PassMode = pmNormal;
        benchmark::DoNotOptimize(height);
    }
    state.counters["lines"] = double(memo->WorkText.size());
}
BENCHMARK(BM_MeasureAndWrapRussianMemo);

// Bare: Qt breaks the same text into lines of the same width.
void BM_BareQtTextLayoutWrap(benchmark::State& state)
{
    Layout layout;
    TrpFont font;
    const QFont qfont = ReportQFont(font, FontPixelHeight(font.Size));
    int lines = 0;
    for (auto _ : state) {
        QTextLayout text(kRussianText, qfont, &layout.context.ScratchBitmap);
        text.beginLayout();
        lines = 0;
        for (QTextLine line = text.createLine(); line.isValid(); line = text.createLine(), ++lines)
            line.setLineWidth(76);
        text.endLayout();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_BareQtTextLayoutWrap);

QString CellText(int i)
{
    return QStringLiteral("Силос %1: %2 °C").arg(i).arg(12.5 + i % 7);
}

void ReportPerMemo(benchmark::State& state)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * kMemosOnPage);
    state.counters["per_memo"] = benchmark::Counter(double(state.iterations()) * kMemosOnPage,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawPageOfFramedMemos(benchmark::State& state)
{
    Layout layout;
    for (int i = 0; i < kMemosOnPage; ++i) {
        TrpMemoView* memo = layout.AddMemo((i % kColumns) * 94, (i / kColumns) * 21, 94, 21, CellText(i));
        memo->FrameTyp = frAllSides;
        memo->Font.Size = 8;
    }
    QImage image(758, 1071, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        for (const auto& object : layout.page->Objects)
            object->Draw(&painter);
    }
    ReportPerMemo(state);
}
BENCHMARK(BM_DrawPageOfFramedMemos);

// Bare: the same frames and texts painted straight onto the image.
void BM_BareQtPaintFramesAndTexts(benchmark::State& state)
{
    TrpFont font;
    font.Size = 8;
    const QFont qfont = ReportQFont(font, FontPixelHeight(font.Size));
    QImage image(758, 1071, QImage::Format_RGB32);
    QStringList texts;
    for (int i = 0; i < kMemosOnPage; ++i)
        texts.append(CellText(i));
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(qfont);
        for (int i = 0; i < kMemosOnPage; ++i) {
            const QRect cell((i % kColumns) * 94, (i / kColumns) * 21, 94, 21);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texts[i]);
        }
    }
    ReportPerMemo(state);
}
BENCHMARK(BM_BareQtPaintFramesAndTexts);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QGuiApplication>(argc, argv);
}
