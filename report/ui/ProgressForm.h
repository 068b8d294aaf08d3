#pragma once
// The engine's progress window: a small stay-on-top dialog with two centred lines and Cancel,
// under which a report's long work runs (see TrpProgressWindow). The work starts from an event
// posted to the window, so it begins only once the window shows, and it runs inside the
// window's modal loop on the GUI thread. A result set while the work runs (Cancel, or the work
// itself) ends the loop when the work returns, so the window never vanishes under running work;
// an exception out of the work ends the window and is thrown again by ShowProgress.
#include <exception>

#include <QDialog>

#include "report/engine/ProgressWindow.h"

class QLabel;
class QPushButton;

class TrpProgressForm : public QDialog, public TrpProgressWindow {
public:
    explicit TrpProgressForm(TrpRunContext& context, QWidget* parent = nullptr);

    int ShowProgress(TrpReport& report) override;
    void SetModalResult(int result) override;
    void SetCaption(const QString& text) override;
    void SetFirstLine(const QString& text) override;
    void SetSecondLine(const QString& text) override;
    void ProcessEvents() override;

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button1;

protected:
    bool event(QEvent* event) override;
    // Escape and the window manager's close act as Cancel.
    void reject() override;

private:
    void Button1Click();
    void RunWork();

    TrpReport* report_ = nullptr;
    bool working_ = false;
    int pendingResult_ = mrNone;
    std::exception_ptr failure_;
};
