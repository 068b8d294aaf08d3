// Reading and writing a rich text of about a megabyte, beside the document's own plain-text
// load and save of the same text: the RTF work should cost a small multiple of the bare
// document operations, which every rich-text object pays anyway.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include "bench/common/QtBenchmarkMain.h"
#include "report/file/RtfReader.h"
#include "report/file/RtfWriter.h"

namespace {

// Paragraphs of Cyrillic and Latin text with a few formatted runs each, as a protocol's notes
// would hold, until the RTF reaches about a megabyte.
struct Sample {
    QTextDocument document;
    QByteArray rtf;
    QString text;

    Sample()
    {
        QTextCursor cursor(&document);
        QTextCharFormat plain;
        plain.setFontFamilies({QStringLiteral("Arial")});
        plain.setFontPointSize(10);
        QTextCharFormat bold = plain;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat red = plain;
        red.setForeground(QColor(200, 0, 0));
        for (int n = 0; WriteRtf(document).size() < 1'000'000; n += 200) {
            for (int i = 0; i < 200; ++i) {
                if (n + i > 0)
                    cursor.insertBlock();
                cursor.insertText(QStringLiteral("Силос %1, подвеска %2: ").arg(n + i).arg(i % 6), plain);
                cursor.insertText(QStringLiteral("%1,5 °C").arg(10 + i % 30), i % 7 == 0 ? red : bold);
                cursor.insertText(QStringLiteral(" — температура зерна в норме, sensor OK."), plain);
            }
        }
        rtf = WriteRtf(document);
        text = document.toPlainText();
    }
};

const Sample& TheSample()
{
    static const Sample sample;
    return sample;
}

void BM_ReadRtf(benchmark::State& state)
{
    const Sample& sample = TheSample();
    for (auto _ : state) {
        QTextDocument document;
        ReadRtf(sample.rtf, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * sample.rtf.size());
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_SetPlainText(benchmark::State& state)
{
    const Sample& sample = TheSample();
    for (auto _ : state) {
        QTextDocument document;
        document.setPlainText(sample.text);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * sample.rtf.size());
}
BENCHMARK(BM_SetPlainText)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state)
{
    const Sample& sample = TheSample();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteRtf(sample.document));
    state.SetBytesProcessed(state.iterations() * sample.rtf.size());
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

void BM_ToPlainText(benchmark::State& state)
{
    const Sample& sample = TheSample();
    for (auto _ : state)
        benchmark::DoNotOptimize(sample.document.toPlainText());
    state.SetBytesProcessed(state.iterations() * sample.rtf.size());
}
BENCHMARK(BM_ToPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QGuiApplication>(argc, argv);
}
