#pragma once
// The about box: the program's icon, name and version, a contact line and "ОК". Double-clicking
// the icon rolls the credit lines up the panel; double-clicking the panel stops them.
#include <QDialog>
#include <QFrame>
#include <QStringList>
#include <QTimer>

class QLabel;
class QPushButton;

// A panel that, while active, hides its controls and scrolls its lines upward in a loop.
class TCreditsPanel : public QFrame {
public:
    explicit TCreditsPanel(QWidget* parent = nullptr);

    QStringList Lines;
    void SetActive(bool on);
    bool Active() const { return FTimer.isActive(); }
    int Offset() const { return FOffset; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Step();

    QTimer FTimer;
    int FOffset = 0;   // how far the lines have risen, in pixels
};

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(QWidget* owner = nullptr);

    TCreditsPanel* SecretPanel1 = nullptr;
    QLabel* AppIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Contact = nullptr;
    QPushButton* OKButton = nullptr;

    void AppIconDblClick();
    void SecretPanel1DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
};

// Shows the about box modally.
void ShowAbout(QWidget* owner);
