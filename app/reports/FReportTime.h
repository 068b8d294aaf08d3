#pragma once
// "Протокол температур на": the time the operator gives the protocol instead of the poll's, a
// date and a time of day, starting at the poll's.
#include "base/DateTime.h"

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTimeEdit;

class TfmReportTime : public QDialog {
public:
    explicit TfmReportTime(TDateTime pollTime, QWidget* parent = nullptr);

    // The date's whole day plus the time field's time of day.
    TDateTime ReportTime() const;

    QDateEdit* edDate = nullptr;
    QTimeEdit* edTime = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

// The time the protocol is headed with: with the manual time on, the dialog's time (the poll's
// time when it is cancelled); else the poll's time.
TDateTime AskReportTime(TDateTime pollTime, bool manual, QWidget* parent);
