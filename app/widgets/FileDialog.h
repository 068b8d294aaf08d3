#pragma once
// The program's file dialog, run through the modal runner (so that tests answer it): opening an
// existing file or saving under any name, with its name filters in order and the suffix a name
// without one gets. The path chosen, or "" when the dialog was cancelled.
#include <QFileDialog>
#include <QString>
#include <QStringList>

QString AskFileName(QWidget* parent, const QString& objectName, QFileDialog::AcceptMode mode,
                    const QStringList& nameFilters, const QString& defaultSuffix);
