#include "app/graph/GraphPage.h"

#include "app/graph/SiloGraph.h"
#include "app/main/ModalRunner.h"
#include "core/Parameters.h"

#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>

void ConnectCursorReadOut(TSiloGraph& chart, QLabel& label, const Parameters& settings)
{
    chart.OnMouseMove = [&chart, &label, &settings](QPointF pos) {
        const TSiloGraph::TCursorValue value = chart.ValueAt(pos);
        label.setText(GraphCursorText(value.Time, value.Value, settings.Precision));
    };
    chart.OnSiloShown = [&label] { label.setText(QStringLiteral("(вне графика)")); };
    chart.OnSiloShown();
}

void PreviewGraphPrint(TSiloGraph& chart, const QString& title, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("GraphPreview"));
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &chart,
                     [&chart](QPrinter* target) { chart.Print(*target); });
    ExecModal(preview);
}
