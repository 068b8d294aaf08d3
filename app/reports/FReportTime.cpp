#include "app/reports/FReportTime.h"

#include "app/main/ModalRunner.h"
#include "app/widgets/DialogButtons.h"
#include "app/widgets/QtDateTime.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLocale>
#include <QTimeEdit>
#include <QVBoxLayout>

TfmReportTime::TfmReportTime(TDateTime pollTime, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmReportTime"));
    setWindowTitle(QStringLiteral("Протокол температур на"));
    const QDateTime shown = ToQDateTime(pollTime);
    edDate = new QDateEdit(shown.date());
    edDate->setObjectName(QStringLiteral("edDate"));
    edDate->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    edDate->setCalendarPopup(true);
    edTime = new QTimeEdit(shown.time());
    edTime->setObjectName(QStringLiteral("edTime"));
    edTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Дата"), edDate);
    form->addRow(QStringLiteral("Время"), edTime);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
}

TDateTime TfmReportTime::ReportTime() const
{
    return FromQDateTime(edDate->date(), edTime->time());
}

TDateTime AskReportTime(TDateTime pollTime, bool manual, QWidget* parent)
{
    if (!manual)
        return pollTime;
    TfmReportTime dialog(pollTime, parent);
    return ExecModal(dialog) == QDialog::Accepted ? dialog.ReportTime() : pollTime;
}
