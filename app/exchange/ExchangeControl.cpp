#include "app/exchange/ExchangeControl.h"

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

TExchangeControl::TExchangeControl(TMonitor& monitor, const TExchangePage& page, TTaskbarList& taskbar,
                                   std::function<void(bool on)> enableMainMenu, QObject* parent)
    : QObject(parent), monitor_(monitor), page_(page), taskbar_(taskbar), enableMainMenu_(std::move(enableMainMenu))
{
    ConnectRunner();
    connect(page_.Pages, &QTabWidget::currentChanged, this, [this](int index) {
        RunGuarded(this, [&] { PageChanged(index); });
    });
    connect(page_.Stop, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { btn1Click(); }); });
    // The stop button is the exchange page's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), page_.ExchangePage);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { RunGuarded(this, [this] { btn1Click(); }); });
}

// A pass still running when the window goes is stopped and waited for: its readings are not
// taken in any more.
TExchangeControl::~TExchangeControl()
{
    monitor_.Passes.disconnect(this);
    monitor_.Passes.Release();
}

// Every signal reaches this thread queued, in the order the pass made them.
void TExchangeControl::ConnectRunner()
{
    TPassRunner& runner = monitor_.Passes;
    connect(&runner, &TPassRunner::Started, this, [this] {
        taskbar_.SetOverlayState(kNoOverlay);
        taskbar_.TaskbarProgressBusy();
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Title, this, [this](const QString& text) { page_.Title->setText(text); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Progress, this, [this](int position, int maximum) {
        page_.Progress->setMaximum(std::max(maximum, 1));
        page_.Progress->setValue(std::min(position, page_.Progress->maximum()));
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::StepDone, this, [this](int position, int maximum) {
        taskbar_.TaskbarProgressValue(position, maximum);
    }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::PollingEnded, this, [this] { taskbar_.TaskbarProgressOff(); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::AlarmNote, this, [](const QString& text) { WriteOverlayLog(text); },
            Qt::QueuedConnection);
    connect(&runner, &TPassRunner::AlarmLevel, this,
            [this](int level) { taskbar_.SetOverlayState(static_cast<uint8_t>(level)); }, Qt::QueuedConnection);
    connect(&runner, &TPassRunner::Finished, this, [this] { RunGuarded(this, [this] { WMExchangeDone(); }); },
            Qt::QueuedConnection);
}

bool TExchangeControl::Ready() const
{
    return !monitor_.Passes.SendTH() && (monitor_.Settings.NoCom || monitor_.SharedCommPort.Port.Enable());
}

bool TExchangeControl::StartPass(const std::vector<TSilos*>& silos)
{
    const Parameters& settings = monitor_.Settings;
    if (!monitor_.Passes.Create(settings, silos)) {
        monitor_.Log.Post(UnknownControllerKindText(settings.ControllerKind), kLogError);
        return false;
    }
    // No overlay while a pass runs, from its making on.
    taskbar_.SetOverlayState(kNoOverlay);
    page_.Progress->setValue(0);
    page_.Pages->setCurrentWidget(page_.ExchangePage);
    return true;
}

void TExchangeControl::PageChanged(int index)
{
    const bool exchange = page_.Pages->widget(index) == page_.ExchangePage;
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
    enableMainMenu_(false);
    TBaseSendTH* pass = monitor_.Passes.SendTH();
    if (!pass) {
        page_.Pages->setCurrentWidget(page_.FirstPage);
        return;
    }
    pass->Start();
}

void TExchangeControl::tsExchgHide()
{
    enableMainMenu_(true);
}

void TExchangeControl::btn1Click()
{
    if (!monitor_.Passes.SendTH())
        return;
    monitor_.Log.Post(QStringLiteral("Выполняется принудительная остановка процесса опроса"), kLogError);
    QCoreApplication::processEvents();
    // The pass may have ended and been freed while the events were handled.
    TBaseSendTH* pass = monitor_.Passes.SendTH();
    if (!pass)
        return;
    pass->Terminate();
    // The pass's signals reach this thread queued, so waiting here cannot hold the pass up.
    pass->WaitFor();
    monitor_.Log.Post(QStringLiteral("Принудительная остановка процесса опроса выполнена"), kLogError);
    QCoreApplication::processEvents();
}

void TExchangeControl::WMExchangeDone()
{
    if (!monitor_.Passes.SendTH())
        return;
    monitor_.Passes.Release();
    if (ExchangeFinished)
        ExchangeFinished();
}
