#include "app/dialogs/FMBDrive.h"

#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "core/Exchange/CommutatorCommands.h"
#include "core/Monitor.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

const std::array<QString, 2> TfmMBDrive::kResultPrefixes{
    QStringLiteral("МБ отключить - "),
    QStringLiteral("МБ включить - "),
};

namespace {

constexpr int kMinFormWidth = 330;
constexpr int kResultMargin = 15;       // left and right of the result line
constexpr int kRowTop = 10;
constexpr int kRowHeight = 30;
constexpr int kRowGap = 6;
constexpr int kResultTop = 48;
constexpr int kHeightBesideResult = 70;

// The message as the result line shows it: the line breaks that end exchange messages would
// only make the line taller.
QString ResultMessage(const std::string& message)
{
    QString text = QString::fromStdString(message);
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

TfmMBDrive::TfmMBDrive(TMonitor& monitor, QWidget* owner) : QDialog(owner), FMonitor(monitor)
{
    setObjectName(QStringLiteral("TfmMBDrive"));
    setWindowTitle(QStringLiteral("Управление местным блоком"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    // One row along the top: the caption, the block number and the two buttons.
    auto* caption = new QLabel(QStringLiteral("Местный блок"), this);
    edMB = new QSpinBox(this);
    edMB->setObjectName(QStringLiteral("edMB"));
    edMB->setRange(1, 1);
    caption->setBuddy(edMB);
    btOn = new QPushButton(QStringLiteral("Включить"), this);
    btOn->setObjectName(QStringLiteral("btOn"));
    btOff = new QPushButton(QStringLiteral("Отключить"), this);
    btOff->setObjectName(QStringLiteral("btOff"));
    int x = kResultMargin;
    for (QWidget* control : std::initializer_list<QWidget*>{caption, edMB, btOn, btOff}) {
        const QSize size = control->sizeHint();
        control->setGeometry(x, kRowTop + (kRowHeight - size.height()) / 2, size.width(), size.height());
        x += size.width() + kRowGap;
    }
    FFormWidth = std::max(kMinFormWidth, x - kRowGap + kResultMargin);
    for (QPushButton* button : {btOn, btOff})
        button->setAutoDefault(false);
    connect(btOn, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SwitchLocalBlock(1); }); });
    connect(btOff, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SwitchLocalBlock(0); }); });

    lbResult = new QLabel(this);
    lbResult->setObjectName(QStringLiteral("lbResult"));
    lbResult->setWordWrap(true);
    lbResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFixedWidth(FFormWidth);
    FitHeight();
}

void TfmMBDrive::FormShow()
{
    // Before the settings are loaded there is no tree; the first block is the only one known.
    edMB->setRange(1, FMonitor.HardConfig ? FMonitor.HardConfig->MBCount() : 1);
    SetResult(QString());
}

int TfmMBDrive::ShowModal()
{
    FormShow();
    return ExecModal(*this);
}

void TfmMBDrive::FitHeight()
{
    const int labelWidth = FFormWidth - 2 * kResultMargin;
    const int labelHeight = std::max(lbResult->heightForWidth(labelWidth), lbResult->fontMetrics().height());
    lbResult->setGeometry(kResultMargin, kResultTop, labelWidth, labelHeight);
    setFixedHeight(labelHeight + kHeightBesideResult);
}

void TfmMBDrive::SetResult(const QString& text)
{
    lbResult->setText(text);
    FitHeight();
}

void TfmMBDrive::SwitchLocalBlock(int state)
{
    const QString prefix = kResultPrefixes[state == 1 ? 1 : 0];
    SetResult(prefix);
    // The main thread waits for the command, so only the outcome of the last attempt is seen.
    try {
        SwitchMBCmd(FMonitor.SharedCommPort, FMonitor.Settings, FMonitor.Log.Sink(),
                    static_cast<uint8_t>(edMB->value() - 1), state == 1);
        SetResult(prefix + QStringLiteral("успешно"));
    } catch (...) {
        SetResult(prefix + ResultMessage(ExceptionMessage(std::current_exception())));
    }
}
