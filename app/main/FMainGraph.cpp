// The main window's chart page: the chosen suspension's history, the chart's settings, the
// cursor read-out and the chart's print preview.
#include "app/main/FMain.h"

#include "app/main/ModalRunner.h"
#include "app/graph/SiloGraph.h"
#include "core/Parameters.h"

#include <QAction>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>

void TfmMain::ConnectGraph()
{
    Chart->OnMouseMove = [this](QPointF pos) { ChartMouseMove(pos); };
    aList.SetWork(acPrintGraph, [this] { acPrintGraphExecute(); });
}

void TfmMain::ShowSiloGraph(TSilos* silos)
{
    Chart->ShowSilo(silos);
}

void TfmMain::ApplyGraphSettings()
{
    Chart->ApplySettings(Settings);
}

void TfmMain::ChartMouseMove(QPointF pos)
{
    const TSiloGraph::TCursorValue value = Chart->ValueAt(pos);
    CursorLabel->setText(GraphCursorText(value.Time, value.Value, Settings.Precision));
}

void TfmMain::acPrintGraphExecute()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("GraphPreview"));
    preview.setWindowTitle(acPrintGraph->text());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { Chart->Print(*target); });
    ExecModal(preview);
}
