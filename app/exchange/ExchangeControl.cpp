#include "app/exchange/ExchangeControl.h"

#include "app/main/FMain.h"
#include "app/main/UnhandledException.h"
#include "core/ExchangeLog.h"
#include "core/Exchange/SendTH.h"
#include "core/Exchange/SendTHArc.h"
#include "core/Parameters.h"
#include "core/WindowMessages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace {

std::unique_ptr<TBaseSendTH> MakePass(int kind, IOwnerEchgTH& owner)
{
    switch (kind) {
    case 0: return std::make_unique<TSendTH>(owner);
    case 1: return std::make_unique<TSendTHArc>(owner);
    default: return nullptr;
    }
}

} // namespace

QString UnknownControllerKindText(int kind)
{
    return QStringLiteral("Неизвестный тип контроллера (%1) в настройках: опрос не выполняется").arg(kind);
}

TExchangeControl::TExchangeControl(TfmMain& window) : QObject(&window), window_(window)
{
    window_.installEventFilter(this);
    connect(window_.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        RunGuarded([&] { PageChanged(index); });
    });
    connect(window_.btn1, &QPushButton::clicked, this, [this] { RunGuarded([this] { btn1Click(); }); });
    // The stop button is the exchange page's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.tsExchg);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { RunGuarded([this] { btn1Click(); }); });
}

// A pass still running when the window goes is stopped and waited for by its destructor.
TExchangeControl::~TExchangeControl()
{
    window_.SendTH = nullptr;
}

bool TExchangeControl::Ready() const
{
    return window_.SendTH == nullptr && (Settings.NoCom || (window_.Port && window_.Port->Enable()));
}

bool TExchangeControl::StartPass(const std::vector<TSilos*>& silos)
{
    std::unique_ptr<TBaseSendTH> pass = MakePass(Settings.ControllerKind, *this);
    if (!pass) {
        PostExchangeLog(UnknownControllerKindText(Settings.ControllerKind), kLogError);
        return false;
    }
    for (TSilos* s : silos)
        pass->AddSilos(s);
    pass_ = std::move(pass);
    window_.SendTH = pass_.get();
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
    if (!pass_) {
        window_.pcMain->setCurrentWidget(window_.tsMain);
        return;
    }
    pass_->Start();
}

void TExchangeControl::tsExchgHide()
{
    window_.EnableMainMenu(true);
}

void TExchangeControl::btn1Click()
{
    if (!pass_)
        return;
    PostExchangeLog(QStringLiteral("Выполняется принудительная остановка процесса опроса"), kLogError);
    QCoreApplication::processEvents();
    pass_->Terminate();
    // The pass's progress and title calls reach this thread queued, so waiting here cannot
    // hold the pass up.
    pass_->WaitFor();
    PostExchangeLog(QStringLiteral("Принудительная остановка процесса опроса выполнена"), kLogError);
    QCoreApplication::processEvents();
}

void TExchangeControl::WMExchangeDone()
{
    if (!pass_)
        return;
    pass_->WaitFor();
    window_.SendTH = nullptr;
    pass_.reset();
    if (ExchangeFinished)
        ExchangeFinished();
}

QObject* TExchangeControl::GetHandle()
{
    return &window_;
}

TProgressBarCallback TExchangeControl::GetProgressBar()
{
    QProgressBar* bar = window_.pbExchg;
    return [bar](int position, int maximum) {
        bar->setMaximum(std::max(maximum, 1));
        bar->setValue(std::min(position, bar->maximum()));
    };
}

TTitleLabelCallback TExchangeControl::GetTitleLabel()
{
    QLabel* label = window_.lblTitle;
    return [label](const QString& text) { label->setText(text); };
}

bool TExchangeControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == WM_EXCHANGE_DONE) {
        RunGuarded([this] { WMExchangeDone(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}
