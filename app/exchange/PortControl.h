#pragma once
// The program's serial port as the main window shows it: its start values, its hand-over
// between running instances (an instance that opens a port first asks the others to let it go,
// and lets its own port go when another asks for the device it has open), the port and speed
// panels, the RS-485 and echo switches, the port parameters, and the lists of ports to choose
// from (the submenu "Порт обмена", filled at the first showing, and the pop-up menu of the port
// panel, filled each time it opens). Choosing a port checks it, takes its number (which closes
// the port that was open) and opens it.
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TCommPort;
class TInstanceChannel;
class TVStatusBarPro;
class TVStatusPanelPro;

// The parts of the main window the port works with.
struct TPortWindow {
    QWidget* Window = nullptr;              // the pop-up menu's place, the dialogs' parent
    TVStatusBarPro* StatusBar = nullptr;    // sBar
    TVStatusPanelPro* PortPanel = nullptr;  // "Port": number and state; double-click: the port list
    TVStatusPanelPro* SpeedPanel = nullptr; // "Speed"; double-click: the parameters
    QAction* Rs485 = nullptr;               // ac485
    QAction* Echo = nullptr;                // acEcho
    QAction* Parameters = nullptr;          // acParamCom
    QMenu* PortMenu = nullptr;              // "Порт обмена"
    QMenu* PortPopup = nullptr;             // pmPort
    std::function<bool()> PassRunning;      // the port list is not offered during a pass
    std::function<void(QAction*)> Execute;  // runs an action through its enabling rule
};

class TPortControl : public QObject {
public:
    // Gives the port its start values and listens for other instances; owned by the window.
    TPortControl(TCommPort& port, const TPortWindow& window);

    // Opens or closes the port (nothing when it is so already); opening first asks every other
    // instance to let it go. The panels show the outcome.
    void SetPortEnabled(bool on);
    // The port panel follows what happened to the port meanwhile (its device failed, vanished or
    // was opened again by the port's own recovery, on whichever thread).
    void RefreshPortStatus();
    // The submenu of ports and the panels' double-clicks, at the first showing.
    void BuildPortMenu();

    void ac485Execute();
    void acEchoExecute();
    void acParamComExecute();

private:
    QString PortStatusText() const;
    void ShowPortStatus();
    void OnInstanceMessage(const QByteArray& message, const QString& senderId);
    void FillPortMenu(QMenu& menu);
    void SelectPortClick(QAction& item);

    TCommPort& Port;
    const TPortWindow window_;
    TInstanceChannel* FPortChannel = nullptr;
};
