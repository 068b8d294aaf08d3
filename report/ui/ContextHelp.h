#pragma once
// Context help as the engine's windows give it: their help button turns the cursor into the
// help cursor, and the next mouse press ends the mode and, on a control of the window other than
// the button, shows that control's help: the hint of the control, or of the nearest container,
// that has a help number (its "Tag" property).
#include <QObject>
#include <QPoint>

class QWidget;

class TrpContextHelp : public QObject {
public:
    // Lives as long as the window.
    TrpContextHelp(QWidget& window, QWidget& button);
    ~TrpContextHelp() override;

    void Start();
    bool Active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ends the mode; a press on the window shows the help of the control at the point.
    void End(QWidget* pressed, QPoint globalPos);

    QWidget& window_;
    QWidget& button_;
    bool active_ = false;
};
