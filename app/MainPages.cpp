#include "app/MainPages.h"

#include <QChartView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
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

QLabel* AddPanel(QStatusBar* bar, const char* name, int width, Qt::Alignment alignment, const char* text = "")
{
    auto* panel = Named(new QLabel(QString::fromUtf8(text)), name);
    panel->setMinimumWidth(width);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panel);
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

void TMainPages::BuildPages(QMainWindow& window)
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
    sbAirTemp = Named(new QStatusBar, "sbAirTemp");
    sbAirTemp->setSizeGripEnabled(false);
    sbAirTempPanels[0] = AddPanel(sbAirTemp, "sbAirTempPanel0", 150, Qt::AlignRight, "Температура воздуха");
    sbAirTempPanels[1] = AddPanel(sbAirTemp, "sbAirTempPanel1", 50, Qt::AlignLeft);
    sbAirTempPanels[2] = AddPanel(sbAirTemp, "sbAirTempPanel2", 180, Qt::AlignRight, "Максимальная температура");
    sbAirTempPanels[3] = AddPanel(sbAirTemp, "sbAirTempPanel3", 50, Qt::AlignLeft);
    sbAirTempPanels[4] = AddPanel(sbAirTemp, "sbAirTempPanel4", 50, Qt::AlignLeft);
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
    Chart = Named(new QChartView, "Chart");
    CursorLabel = Named(new QLabel, "CursorLabel");
    graph->addWidget(Chart, 1);
    graph->addWidget(CursorLabel);

    tsPreView = AddPage(pcMain, "tsPreView", "Предпросмотр");
    rpPreview1 = Named(new QWidget, "rpPreview1");
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

    sBar = window.statusBar();
    sBar->setObjectName(QStringLiteral("sBar"));
    sBarPanels[0] = AddPanel(sBar, "sBarPanel0", 150, Qt::AlignLeft, "Port");
    sBarPanels[1] = AddPanel(sBar, "sBarPanel1", 120, Qt::AlignLeft, "Speed");
    sBarPanels[2] = AddPanel(sBar, "sBarPanel2", 80, Qt::AlignHCenter, "Файл данных");
    sBarPanels[3] = AddPanel(sBar, "sBarPanel3", 50, Qt::AlignLeft);
}
