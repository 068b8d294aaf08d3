#pragma once
// The main window's pages and the controls on them, named as the rest of the program knows
// them. No page shows a tab: the actions switch the pages.
class QGroupBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTreeView;
class QWidget;
class TSiloGraph;
class TVStatusBarPro;
class TVStatusPanelPro;
class TrpPreview;
class TrpRunContext;

struct TMainPages {
    QTabWidget* pcMain = nullptr;

    QWidget* tsMain = nullptr;        // "Основное"
    QWidget* paMain = nullptr;        // the board side of the main page
    QScrollArea* spGrid = nullptr;    // holds the board panel
    TVStatusBarPro* sbAirTemp = nullptr;  // air temperature, maximum set-point, next scheduled poll
    TVStatusPanelPro* sbAirTempPanels[5] = {};
    QSplitter* Splitter1 = nullptr;
    QGroupBox* gbDetal = nullptr;     // "Детализация"
    QTreeView* vtDetal = nullptr;     // sensor detail
    QTreeView* vtHistory = nullptr;   // poll history

    QWidget* tsGraph = nullptr;       // "График"
    TSiloGraph* Chart = nullptr;
    QLabel* CursorLabel = nullptr;

    QWidget* tsPreView = nullptr;     // "Предпросмотр"
    TrpPreview* rpPreview1 = nullptr; // the report preview panel, with its tool bar

    QWidget* tsDebug = nullptr;       // "Отладка"
    QListWidget* lbMsg = nullptr;

    QWidget* tsExchg = nullptr;       // the page shown while a poll pass runs
    QLabel* lblTitle = nullptr;
    QProgressBar* pbExchg = nullptr;
    QPushButton* btn1 = nullptr;      // "Прекратить опрос датчиков"

    QListWidget* lbErr = nullptr;     // the error list below the pages
    TVStatusBarPro* sBar = nullptr;   // the bottom status bar: port, speed, data file
    TVStatusPanelPro* sBarPanels[4] = {};

    void BuildPages(QMainWindow& window, TrpRunContext& reportContext);
};
