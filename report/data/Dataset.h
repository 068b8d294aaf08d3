#pragma once
// The data source a band walks: one print of the band per record.
#include <functional>

#include <QObject>

enum TRangeBegin { rbFirst, rbCurrent };
enum TRangeEnd { reLast, reCurrent, reCount };

using TNotifyEvent = std::function<void(QObject* sender)>;
using TCheckEOFEvent = std::function<void(QObject* sender, bool& eof)>;

// The band engine calls Init once, then for each walk First, and while Eof is false prints the
// band and calls Next; Prior steps back where groups need it; Exit ends the walk.
class TrpDataset : public QObject {
    Q_OBJECT
public:
    explicit TrpDataset(QObject* owner = nullptr);

    TRangeBegin RangeBegin = rbFirst;
    TRangeEnd RangeEnd = reLast;
    int RangeEndCount = 0;   // the records of a walk when RangeEnd is reCount

    TNotifyEvent OnFirst;
    TNotifyEvent OnNext;
    TNotifyEvent OnPrior;
    TCheckEOFEvent OnCheckEOF;

    int RecNo() const { return recNo_; }

    virtual void Init() {}
    virtual void Exit() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    // True when RangeEnd is reCount and the walk has taken RangeEndCount records; OnCheckEOF
    // may change the answer. A source that can tell its end in no way (neither reCount, nor
    // OnCheckEOF, nor an end of its own) has no records: a walk over it would never end.
    virtual bool Eof();

protected:
    // True for sources whose walk ends by itself (a table's end of data).
    virtual bool HasOwnEnd() const { return false; }

private:
    int recNo_ = 0;
};

// A data source driven entirely by its events and range settings. The engine also makes one
// for a band whose source is a number N: RangeEnd reCount with RangeEndCount N.
class TrpUserDataset : public TrpDataset {
    Q_OBJECT
public:
    using TrpDataset::TrpDataset;
};
