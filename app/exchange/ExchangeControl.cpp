#include "app/exchange/ExchangeControl.h"

#include "app/main/FMain.h"
#include "app/main/UnhandledException.h"
#include "core/Exchange/BaseSendTH.h"
#include "core/Exchange/OverlayLog.h"
#include "core/Monitor.h"
#include "platform/qt/TaskbarList.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace {

constexpr uint8_t kNoOverlay = 3;

} // namespace

QString UnknownControllerKindText(int kind)
{
    return QStringLiteral("Неизвестный тип контроллера (%1) в настройках: опрос не выполняется").arg(kind);
}

TExchangeControl::TExchangeControl(TfmMain& window) : QObject(&window), window_(window)
{
    ConnectRunner();
    connect(window_.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        RunGuarded([&] { PageChanged(index); });
    });
    connect(window_.btn1, &QPushButton::clicked, this, [this] { RunGuarded([this] { btn1Click(); }); });
    // The stop button is the exchange page's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.tsExchg);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { RunGuarded([this] { btn1Click(); }); });
}

// A pass still running when the window goes is stopped and waited for: its readings are not
// taken in any more.
TExchangeControl::~TExchangeControl()
{
    window_.Monitor.Passes.disconnect(this);
    window_.Monitor.Passes.Release();
}

// Every signal reaches this thread queued, in the order the pass made them.
void TExchangeControl::ConnectRunner()
{
    TPassRunner& runner = window_.Monitor.Passes;
    connect(&runner, &TPassRunner::Started, this, [] {
        SetOverlayState(kNoOverlay);
        TaskbarProgressBusy();
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Title, this, [this](const QString& text) { window_.lblTitle->setText(text); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Progress, this, [this](int position, int maximum) {
        window_.pbExchg->setMaximum(std::max(maximum, 1));
        window_.pbExchg->setValue(std::min(position, window_.pbExchg->maximum()));
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::StepDone, this, [](int position, int maximum) {
        TaskbarProgressValue(position, maximum);
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::PollingEnded, this, [] { TaskbarProgressOff(); }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::AlarmNote, this, [](const QString& text) { WriteOverlayLog(text); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::AlarmLevel, this, [](int level) { SetOverlayState(static_cast<uint8_t>(level)); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Finished, this, [this] { RunGuarded([this] { WMExchangeDone(); }); },
            Qt::QueuedConnection);
}

bool TExchangeControl::Ready() const
{
    return !window_.SendTH() && (window_.Settings.NoCom || window_.Port->Enable());
}

bool TExchangeControl::StartPass(const std::vector<TSilos*>& silos)
{
    const Parameters& settings = window_.Settings;
    if (!window_.Monitor.Passes.Create(settings, silos)) {
        window_.Monitor.Log.Post(UnknownControllerKindText(settings.ControllerKind), kLogError);
        return false;
    }
    // No overlay while a pass runs, from its making on.
    SetOverlayState(kNoOverlay);
    window_.pbExchg->setValue(0);
    window_.pcMain->setCurrentWidget(window_.tsExchg);
    return true;
}

void TExchangeControl::PageChanged(int index)
{
    const bool exchange = window_.pcMain->widget(index) == window_.tsExchg;
    if (exchange && !exchangePageShown_) {
        exchangePageShown_ = true;
        tsExchgShow();
    } else if (!exchange && exchangePageShown_) {
        exchangePageShown_ = false;
        tsExchgHide();
    }
}

void TExchangeControl::tsExchgShow()
{
    window_.EnableMainMenu(false);
    TBaseSendTH* pass = window_.SendTH();
    if (!pass) {
        window_.pcMain->setCurrentWidget(window_.tsMain);
        return;
    }
    pass->Start();
}

void TExchangeControl::tsExchgHide()
{
    window_.EnableMainMenu(true);
}

void TExchangeControl::btn1Click()
{
    TBaseSendTH* pass = window_.SendTH();
    if (!pass)
        return;
    window_.Monitor.Log.Post(QStringLiteral("Выполняется принудительная остановка процесса опроса"), kLogError);
    QCoreApplication::processEvents();
    pass->Terminate();
    // The pass's signals reach this thread queued, so waiting here cannot hold the pass up.
    pass->WaitFor();
    window_.Monitor.Log.Post(QStringLiteral("Принудительная остановка процесса опроса выполнена"), kLogError);
    QCoreApplication::processEvents();
}

void TExchangeControl::WMExchangeDone()
{
    if (!window_.SendTH())
        return;
    window_.Monitor.Passes.Release();
    if (ExchangeFinished)
        ExchangeFinished();
}
