#pragma once
// The main window's main menu and pop-up menus, built over its actions. The menu titles carry
// their underlined letters (Alt with the letter opens the menu) and F10 opens the menu bar, so
// that every menu is reached from the keyboard.
class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
struct TMainActions;

struct TMainMenus {
    QMenuBar* MainMenu1 = nullptr;
    QMenu* mnFile = nullptr;       // "Файл"
    QMenu* mnExchange = nullptr;   // "Обмен"
    QMenu* mnSettings = nullptr;   // "Настройки"
    QMenu* mnView = nullptr;       // "Экран"
    QMenu* mnHelp = nullptr;       // "Справка"

    QMenu* mnExchangeOneBlock = nullptr;   // "Обмен для одного СК": one item per silo block
    QMenu* mnUsers = nullptr;              // "Управление пользователем"
    QAction* N55 = nullptr;                // "Изменить..."
    QAction* N56 = nullptr;                // "Добавить..."
    QAction* N57 = nullptr;                // "Удалить..."
    QMenu* mnReport = nullptr;             // "Отчет"
    QAction* miReportTimeManual = nullptr; // "Вводить время отчета вручную " (check item)
    QMenu* mnPort = nullptr;               // "Порт обмена": the serial ports present

    QMenu* pmPort = nullptr;       // the serial ports, from the status bar
    QMenu* pmArcTM = nullptr;      // the poll history tree
    QMenu* pmDetalTIT = nullptr;   // the sensor detail tree

    void BuildMenus(QMainWindow& window, const TMainActions& actions);
};
