#pragma once
// The report data source that walks a table, reached directly or through a data source. Bands
// walk it record by record through the operations of TrpDataset; its ranges can start at the
// record that is current when the walk begins and end there.
#include <QPointer>

#include "report/data/DataAccess.h"
#include "report/data/DataSource.h"
#include "report/data/Dataset.h"
#include "report/runtime/ReportErrors.h"

// The only message: "Unable to open dataset " and the data source's component name.
class EDSError : public Exception {
public:
    using Exception::Exception;
    explicit EDSError(const QString& message) : Exception(message.toStdString()) {}
};

class TrpDBDataSet : public TrpDataset {
    Q_OBJECT
public:
    explicit TrpDBDataSet(QObject* owner = nullptr);

    TDataSet* DataSet() const { return dataSet_; }
    // The table walked directly; clears DataSource.
    void SetDataSet(TDataSet* dataSet);
    TDataSource* DataSource() const { return dataSource_; }
    // The table walked is the data source's; a data source clears DataSet.
    void SetDataSource(TDataSource* dataSource);

    bool OpenDataSource = true;    // Init opens the table
    bool CloseDataSource = false;  // Exit closes the table
    TNotifyEvent OnOpen;           // after Init opened the table
    TNotifyEvent OnClose;          // before Exit closes it

    // The data source's table when both are set, else DataSet; EDSError when neither is.
    TDataSet* ActiveDataSet() const;
    // The table behind the source, or none (never raises).
    TDataSet* TableOrNone() const;
    void OpenDataSet();
    void CloseDataSet();

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

protected:
    bool HasOwnEnd() const override { return true; }

private:
    bool AtBookmark() const;

    QPointer<TDataSet> dataSet_;
    QPointer<TDataSource> dataSource_;
    TBookmark bookmark_;   // the record current when the walk began (current-record ranges)
    bool hasBookmark_ = false;
    bool endFlag_ = false;
};
