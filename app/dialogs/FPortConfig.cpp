#include "app/dialogs/FPortConfig.h"

#include "app/main/ModalRunner.h"
#include "comm/CommPort.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace {

QComboBox* Choice(const char* name, const QStringList& items, const QList<int>& values, int current)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < items.size(); ++i)
        box->addItem(items[i], values[i]);
    box->setCurrentIndex(std::max(box->findData(current), 0));
    return box;
}

} // namespace

bool ShowPortConfigDialog(TCommPort& port, QWidget* parent)
{
    TPortParametrs param = port.Param();
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PortConfigDialog"));
    dialog.setWindowTitle(QStringLiteral("Параметры COM%1").arg(port.Number()));
    const QList<int> rates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    QStringList rateTexts;
    for (int rate : rates)
        rateTexts << QString::number(rate);
    auto* rate = Choice("cbBaudRate", rateTexts, rates, static_cast<int>(param.BaudRate));
    auto* bits = Choice("cbByteSize", {"5", "6", "7", "8"}, {5, 6, 7, 8}, param.ByteSize);
    auto* parity = Choice("cbParity", {"Нет", "Нечёт", "Чёт", "Маркер", "Пробел"}, {0, 1, 2, 3, 4}, param.Parity);
    auto* stop = Choice("cbStopBits", {"1", "1.5", "2"}, {0, 1, 2}, param.StopBits);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Скорость (бит/с)"), rate);
    form->addRow(QStringLiteral("Биты данных"), bits);
    form->addRow(QStringLiteral("Чётность"), parity);
    form->addRow(QStringLiteral("Стоповые биты"), stop);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    param.BaudRate = static_cast<uint32_t>(rate->currentData().toInt());
    param.ByteSize = static_cast<uint8_t>(bits->currentData().toInt());
    param.Parity = static_cast<uint8_t>(parity->currentData().toInt());
    param.StopBits = static_cast<uint8_t>(stop->currentData().toInt());
    port.SetParam(param);
    return true;
}
