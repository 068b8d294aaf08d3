#include "app/main/MainPages.h"

#include "app/graph/SiloGraph.h"
#include "app/widgets/VSBPro.h"
#include "report/ui/Preview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

template <class Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption)
{
    auto* page = Named(new QWidget, name);
    pages->addTab(page, QString::fromUtf8(caption));
    return page;
}

TVStatusPanelPro* AddPanel(TVStatusBarPro* bar, int width, TAlignment alignment, const char* text = "")
{
    TVStatusPanelPro* panel = bar->Panels().Add();
    panel->SetWidth(width);
    panel->SetAlignment(alignment);
    panel->SetText(QString::fromUtf8(text));
    return panel;
}

QListWidget* LogList(const char* name)
{
    auto* list = Named(new QListWidget, name);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    list->setFont(font);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

void TMainPages::BuildPages(QMainWindow& window, TrpRunContext& reportContext)
{
    auto* central = Named(new QWidget, "paClient");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    pcMain = Named(new QTabWidget, "pcMain");
    pcMain->tabBar()->hide();
    pcMain->setDocumentMode(true);
    column->addWidget(pcMain, 1);

    tsMain = AddPage(pcMain, "tsMain", "Основное");
    Splitter1 = Named(new QSplitter(Qt::Horizontal), "Splitter1");
    paMain = Named(new QWidget, "paMain");
    auto* board = new QVBoxLayout(paMain);
    board->setContentsMargins(0, 0, 0, 0);
    spGrid = Named(new QScrollArea, "spGrid");
    spGrid->setWidgetResizable(true);
    board->addWidget(spGrid, 1);
    sbAirTemp = Named(new TVStatusBarPro, "sbAirTemp");
    sbAirTemp->SetSizeGrip(false);
    sbAirTempPanels[0] = AddPanel(sbAirTemp, 150, taRightJustify, "Температура воздуха");
    sbAirTempPanels[1] = AddPanel(sbAirTemp, 50, taLeftJustify);
    sbAirTempPanels[2] = AddPanel(sbAirTemp, 180, taRightJustify, "Максимальная температура");
    sbAirTempPanels[3] = AddPanel(sbAirTemp, 50, taLeftJustify);
    sbAirTempPanels[4] = AddPanel(sbAirTemp, 50, taLeftJustify);
    board->addWidget(sbAirTemp);
    gbDetal = Named(new QGroupBox(QStringLiteral("Детализация")), "gbDetal");
    auto* detail = new QVBoxLayout(gbDetal);
    vtDetal = Named(new QTreeView, "vtDetal");
    vtHistory = Named(new QTreeView, "vtHistory");
    vtDetal->setContextMenuPolicy(Qt::CustomContextMenu);
    vtHistory->setContextMenuPolicy(Qt::CustomContextMenu);
    detail->addWidget(vtDetal, 1);
    detail->addWidget(vtHistory, 1);
    Splitter1->addWidget(paMain);
    Splitter1->addWidget(gbDetal);
    Splitter1->setStretchFactor(0, 1);
    (new QVBoxLayout(tsMain))->addWidget(Splitter1);

    tsGraph = AddPage(pcMain, "tsGraph", "График");
    auto* graph = new QVBoxLayout(tsGraph);
    Chart = Named(new TSiloGraph, "Chart");
    graph->addWidget(Chart, 1);
    // The cursor read-out below the chart.
    auto* cursor = new QHBoxLayout;
    auto* cursorCaption = new QLabel(QStringLiteral("Курсор:"));
    CursorLabel = Named(new QLabel, "CursorLabel");   // its text: the chart's read-out
    QFont cursorFont = CursorLabel->font();
    cursorFont.setPixelSize(19);
    for (QLabel* label : {cursorCaption, CursorLabel}) {
        label->setFont(cursorFont);
        cursor->addWidget(label);
    }
    cursor->addStretch(1);
    graph->addLayout(cursor);

    tsPreView = AddPage(pcMain, "tsPreView", "Предпросмотр");
    rpPreview1 = Named(new TrpPreview(reportContext), "rpPreview1");
    rpPreview1->SetShowToolbar(true);   // the reports add their own buttons to it
    (new QVBoxLayout(tsPreView))->addWidget(rpPreview1);

    tsDebug = AddPage(pcMain, "tsDebug", "Отладка");
    lbMsg = LogList("lbMsg");
    (new QVBoxLayout(tsDebug))->addWidget(lbMsg);

    tsExchg = AddPage(pcMain, "tsExchg", "");
    auto* exchange = new QVBoxLayout(tsExchg);
    lblTitle = Named(new QLabel, "lblTitle");
    pbExchg = Named(new QProgressBar, "pbExchg");
    btn1 = Named(new QPushButton(QStringLiteral("Прекратить опрос датчиков")), "btn1");
    exchange->addStretch(1);
    exchange->addWidget(lblTitle, 0, Qt::AlignHCenter);
    exchange->addWidget(pbExchg);
    exchange->addWidget(btn1, 0, Qt::AlignHCenter);
    exchange->addStretch(1);

    lbErr = LogList("lbErr");
    lbErr->setMaximumHeight(120);
    lbErr->setVisible(false);
    column->addWidget(lbErr);
    window.setCentralWidget(central);

    sBar = Named(new TVStatusBarPro, "sBar");
    window.setStatusBar(sBar);
    // Images 5 and 6 of the window's image list mark the port and the speed.
    sBarPanels[0] = AddPanel(sBar, 150, taLeftJustify, "Port");
    sBarPanels[0]->SetImageIndex(5);
    sBarPanels[1] = AddPanel(sBar, 120, taLeftJustify, "Speed");
    sBarPanels[1]->SetImageIndex(6);
    sBarPanels[2] = AddPanel(sBar, 80, taCenter, "Файл данных");
    sBarPanels[3] = AddPanel(sBar, 50, taLeftJustify);
}
