#include "report/ui/ProgressForm.h"

#include <utility>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "report/engine/Report.h"
#include "report/runtime/TextRoutines.h"

namespace {

// Posted to the window by ShowProgress: the work starts once the modal loop delivers it.
const QEvent::Type kStartWorkEvent = static_cast<QEvent::Type>(QEvent::User + 1);

QLabel* CentredLine(QWidget* parent, const char* name, int top)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(20, top, 237, 16);
    return label;
}

} // namespace

TrpProgressForm::TrpProgressForm(TrpRunContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowStaysOnTopHint),
      TrpProgressWindow(context)
{
    setObjectName(QStringLiteral("rpProgressForm"));
    setFixedSize(278, 106);
    Label1 = CentredLine(this, "Label1", 26);
    Label2 = CentredLine(this, "Label2", 42);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(100, 68, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

int TrpProgressForm::ShowProgress(TrpReport& report)
{
    Button1->setText(LoadFrResString(Context(), 55001));   // "Cancel"
    report_ = &report;
    Label2->clear();
    pendingResult_ = mrNone;
    QCoreApplication::postEvent(this, new QEvent(kStartWorkEvent));
    const int result = exec();
    report_ = nullptr;
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    return result;
}

void TrpProgressForm::SetModalResult(int result)
{
    if (working_)
        pendingResult_ = result;
    else
        done(result);
}

void TrpProgressForm::SetCaption(const QString& text)
{
    setWindowTitle(text);
}

void TrpProgressForm::SetFirstLine(const QString& text)
{
    Label1->setText(text);
}

void TrpProgressForm::SetSecondLine(const QString& text)
{
    Label2->setText(text);
}

void TrpProgressForm::ProcessEvents()
{
    QCoreApplication::processEvents();
}

bool TrpProgressForm::event(QEvent* event)
{
    if (event->type() == kStartWorkEvent) {
        RunWork();
        return true;
    }
    return QDialog::event(event);
}

void TrpProgressForm::reject()
{
    Button1Click();
}

void TrpProgressForm::Button1Click()
{
    if (report_)
        report_->Terminated = true;
    SetModalResult(mrCancel);
}

void TrpProgressForm::RunWork()
{
    if (!OnWork || working_)
        return;
    working_ = true;
    try {
        OnWork();
    } catch (...) {
        // An error may not cross the event loop: it ends the window and reaches the caller.
        failure_ = std::current_exception();
        pendingResult_ = mrCancel;
    }
    working_ = false;
    if (pendingResult_ != mrNone)
        done(pendingResult_);
}
