#include "app/dialogs/FAbout.h"

#include "app/main/AppIcon.h"
#include "app/main/ModalRunner.h"
#include "app/main/ProductInfo.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int kScrollIntervalMs = 40;

QFont PanelFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

} // namespace

TCreditsPanel::TCreditsPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    connect(&FTimer, &QTimer::timeout, this, [this] { Step(); });
}

void TCreditsPanel::SetActive(bool on)
{
    if (on == Active())
        return;
    FOffset = 0;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setVisible(!on);
    if (on)
        FTimer.start(kScrollIntervalMs);
    else
        FTimer.stop();
    update();
}

void TCreditsPanel::Step()
{
    const int lineHeight = fontMetrics().height();
    // Once the last line has left the top, the lines come in from the bottom again.
    if (++FOffset > height() + lineHeight * static_cast<int>(Lines.size()))
        FOffset = 0;
    update();
}

void TCreditsPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!Active())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().height();
    int y = height() - FOffset;
    for (const QString& line : Lines) {
        painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе"));
    // A fixed dialog border without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(240, 146);

    SecretPanel1 = new TCreditsPanel;
    SecretPanel1->setObjectName(QStringLiteral("SecretPanel1"));
    SecretPanel1->setFont(PanelFont());
    QPalette navy = SecretPanel1->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    SecretPanel1->setPalette(navy);
    SecretPanel1->installEventFilter(this);

    AppIcon = new QLabel;
    AppIcon->setToolTip(QStringLiteral("Щёлкните здесь дважды!"));
    AppIcon->setCursor(Qt::PointingHandCursor);
    AppIcon->installEventFilter(this);
    ProductName = new QLabel;
    ProductName->setAlignment(Qt::AlignCenter);
    Version = new QLabel;
    Version->setAlignment(Qt::AlignCenter);
    Contact = new QLabel;
    Contact->setAlignment(Qt::AlignCenter);
    Contact->setWordWrap(true);
    OKButton = new QPushButton(QStringLiteral("ОК"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(AppIcon);
    top->addWidget(ProductName, 1);
    auto* panelLayout = new QVBoxLayout(SecretPanel1);
    panelLayout->addLayout(top);
    panelLayout->addWidget(Version);
    panelLayout->addWidget(Contact);
    panelLayout->addWidget(OKButton, 0, Qt::AlignHCenter);
    // The layout's items are the panel's direct children; the nested row's widgets are too.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SecretPanel1);

    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutForm::FormCreate()
{
    AppIcon->setPixmap(LoadApplicationIcon().pixmap(32, 32));
    ProductName->setText(::ProductName());
    Version->setText(QStringLiteral("Версия %1").arg(ProductVersion()));
    Contact->setText(QStringLiteral("Контроль температуры зерна"));
    SecretPanel1->Lines = {::ProductName(), QStringLiteral("Версия %1").arg(ProductVersion()), QString(),
        QStringLiteral("Контроль температуры зерна"), QStringLiteral("в силосах элеватора"), QString(),
        QStringLiteral("Спасибо всем,"), QStringLiteral("кто помогал в работе!")};
}

void TAboutForm::AppIconDblClick()
{
    SecretPanel1->SetActive(true);
    SecretPanel1->setToolTip(QStringLiteral("Выход - двойное нажатие мышки"));
    if (isVisible())
        QToolTip::showText(SecretPanel1->mapToGlobal(QPoint(0, 0)), SecretPanel1->toolTip(), SecretPanel1);
}

void TAboutForm::SecretPanel1DblClick()
{
    SecretPanel1->SetActive(false);
    SecretPanel1->setToolTip(QString());
    QToolTip::hideText();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == AppIcon) {
            AppIconDblClick();
            return true;
        }
        if (watched == SecretPanel1) {
            SecretPanel1DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TAboutForm::FormClose()
{
    SecretPanel1->SetActive(false);
}

void ShowAbout(QWidget* owner)
{
    TAboutForm form(owner);
    ExecModal(form);
}
