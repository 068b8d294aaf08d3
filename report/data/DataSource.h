#pragma once
// A link between controls (or report data sources) and a table: the table can be switched
// behind it without touching what uses it.
#include <QObject>
#include <QPointer>

#include "report/data/DataAccess.h"

class TDataSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Cleared when the table is destroyed.
    QPointer<TDataSet> DataSet;
};
