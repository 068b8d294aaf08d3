// Cost of expanding a memo's bracketed expression during a build: every cell of every prepared
// page expands its field reference (through the dictionary's cache) and formats the value, so
// one expansion must stay far below a microsecond or two.
#include <benchmark/benchmark.h>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/expr/ValueFormat.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kRows = 1000;

// The protocol table and its report, as the main window holds them.
class ProtocolReport {
public:
    // With more fields than the protocol's six temperatures when asked.
    explicit ProtocolReport(int temperatures = 6)
    {
        window.setObjectName(QStringLiteral("fmMain"));
        table->setObjectName(QStringLiteral("dmReport"));
        table->AddField(QStringLiteral("SilName"), ftString, 10);
        for (int i = 1; i <= temperatures; ++i)
            table->AddField(QStringLiteral("TD%1").arg(i), ftFloat);
        table->Open();
        for (int row = 0; row < kRows; ++row) {
            table->Append();
            table->Field(QStringLiteral("SilName"))->SetValue(QStringLiteral("С-%1").arg(row));
            for (int i = 1; i <= 6; ++i)
                table->Field(QStringLiteral("TD%1").arg(i))->SetValue(row * 0.25 + i);
            table->Post();
        }
        table->First();
        source->SetDataSet(table);
        report->Dataset = source;
        TrpPage* page = report->AddPage();
        context.CurrentView = page->AddObject(std::make_unique<TrpView>());
        context.CurrentView->FormatCode = 0x22E;
        context.CurrentReport = context.RootReport = report;
        context.CurrentPage = page;
        report->BindParser();
    }
    ~ProtocolReport() { delete report; }

    void NextRow()
    {
        table->Next();
        if (table->Eof())
            table->First();
    }

    TrpRunContext context;
    QObject window;
    TMemoryTable* table = new TMemoryTable(&window);
    TrpDBDataSet* source = new TrpDBDataSet(&window);
    TrpReport* report = new TrpReport(context, &window);
};

void BM_ExpandFieldReference(benchmark::State& state)
{
    ProtocolReport protocol;
    const QString expression = QStringLiteral("dmReport.\"TD3\"");
    for (auto _ : state) {
        benchmark::DoNotOptimize(protocol.report->ExpandExpression(expression));
        protocol.NextRow();
    }
}
BENCHMARK(BM_ExpandFieldReference);

void BM_ExpandFieldWithFormat(benchmark::State& state)
{
    ProtocolReport protocol;
    const QString expression = QStringLiteral("dmReport.\"TD3\" #N0,1");
    for (auto _ : state) {
        benchmark::DoNotOptimize(protocol.report->ExpandExpression(expression));
        protocol.NextRow();
    }
}
BENCHMARK(BM_ExpandFieldWithFormat);

void BM_ExpandPageNumber(benchmark::State& state)
{
    ProtocolReport protocol;
    const QString expression = QStringLiteral("PAGE#");
    for (auto _ : state)
        benchmark::DoNotOptimize(protocol.report->ExpandExpression(expression));
}
BENCHMARK(BM_ExpandPageNumber);

void BM_FormatNumberLayout(benchmark::State& state)
{
    const TrpRunContext context;
    const QVariant value = 1234.5678;
    const QString layout = QStringLiteral("#,##0.00");
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatReportValue(context, value, MakeFormat(fcNumber, 4, 0, ','), layout));
}
BENCHMARK(BM_FormatNumberLayout);

// A script's loop resolves its own variables by name, and each name is first asked of the data
// set in reach: the look-up must cost the same with the protocol's 6 fields (the baseline) as
// with 200.
void BM_ResolveScriptVariable(benchmark::State& state)
{
    ProtocolReport protocol(int(state.range(0)));
    protocol.context.ScriptVariables.SetValueByName(QStringLiteral("I"), 1);
    QVariant value;
    for (auto _ : state) {
        protocol.report->ResolveVariable(QStringLiteral("I"), value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ResolveScriptVariable)->Arg(6)->Arg(200);

}  // namespace
