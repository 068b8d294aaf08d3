#include "app/dialogs/FProgress.h"

#include "app/dialogs/ProgressThread.h"
#include "app/main/ModalRunner.h"
#include "core/ExchangeLog.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <limits>

namespace {

// The bar counts in ints; a larger count is shown in proportion.
int BarValue(qint64 rows, qint64 maximum)
{
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    if (maximum <= kMax)
        return int(std::min(rows, kMax));
    return int(double(rows) / double(maximum) * double(kMax));
}

} // namespace

TfmProgress::TfmProgress(TProgressThread& worker, const QString& caption, qint64 maximum, QWidget* parent)
    : QDialog(parent), worker_(worker)
{
    setObjectName(QStringLiteral("fmProgress"));
    setWindowTitle(caption);
    pbProcess = new QProgressBar;
    pbProcess->setObjectName(QStringLiteral("pbProcess"));
    pbProcess->setTextVisible(false);
    btCancel = new QPushButton(QStringLiteral("Прервать операцию"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pbProcess);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btCancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    // The worker's signals come from its own thread: they are queued to this dialog, and die
    // with it.
    connect(&worker_, &TProgressThread::MaximumChanged, this, [this](qint64 m) { SetMaximum(m); }, Qt::QueuedConnection);
    connect(&worker_, &TProgressThread::RowsDoneChanged, this, [this](qint64 rows) { SetRowsDone(rows); },
            Qt::QueuedConnection);
    connect(&worker_, &QThread::finished, this, &QDialog::reject, Qt::QueuedConnection);
    worker_.SetMaximum(maximum);
    SetMaximum(maximum);
    pbProcess->setValue(0);
}

void TfmProgress::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// The worker starts with the first showing only.
void TfmProgress::FormShow()
{
    if (!worker_.isRunning() && !worker_.isFinished())
        worker_.start();
}

void TfmProgress::done(int result)
{
    if (worker_.isRunning())
        worker_.Cancel();
    QDialog::done(result);
}

void TfmProgress::SetMaximum(qint64 maximum)
{
    maximum_ = maximum;
    pbProcess->setRange(0, BarValue(maximum, maximum));
}

void TfmProgress::SetRowsDone(qint64 rows)
{
    pbProcess->setValue(BarValue(std::min(rows, maximum_), maximum_));
}

bool RunUnderProgress(QWidget* parent, const QString& caption, qint64 maximum,
                      const std::function<void(TProgressThread&)>& work, TExchangeLog& log,
                      TProgressOutcome* outcome)
{
    TProgressThread worker(work, log.Sink());
    {
        TfmProgress dialog(worker, caption, maximum, parent);
        ExecModal(dialog);
    }
    worker.wait();
    if (outcome)
        *outcome = {worker.Completed(), worker.RowsDone(), worker.Error()};
    return worker.Completed();
}
