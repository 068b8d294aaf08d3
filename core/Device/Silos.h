#pragma once
// A thermometric suspension: its sensors, the record card of the silo it hangs in, and the
// selection flag of the board.
#include "base/DateTime.h"
#include "core/Device/TIT.h"

#include <QString>

#include <memory>
#include <mutex>
#include <vector>

class QXmlStreamReader;
class QXmlStreamWriter;
class TMB;
class TReadingsQuery;
class TReadingsTable;

class TSilos {
public:
    TSilos(TMB* owner, int no, int titCount);
    TSilos(const TSilos&) = delete;
    TSilos& operator=(const TSilos&) = delete;

    TMB* Owner() const { return owner_; }
    // Suspension number in its block, from 0.
    int No() const { return no_; }
    int GetMBAddr() const;

    int TITCount() const { return static_cast<int>(tits_.size()); }
    // The sensor by index, nullptr outside 0 .. count − 1.
    TTIT* GetTIT(int index) const;

    // The name as entered; "0" means the suspension is never polled. The poll thread reads it
    // while the suspension dialog may write it, hence the accessors.
    QString SilosName() const;
    void SetSilosName(const QString& name);
    // The name, or block and suspension counted from 1 ("1-3") when it is empty. Every log
    // line, message, report row and database row names the suspension so.
    QString GetName() const;
    // The live poll skips a suspension whose display name is exactly "0".
    bool IsNeverPolled() const { return GetName() == QStringLiteral("0"); }

    // The data file: a "device" element holding a "tit" per sensor with points (nothing when no
    // sensor has any); reading one, the reader standing on its start, hands each "tit" to the
    // sensor of its "No" and skips those naming none.
    void SavePoints(QXmlStreamWriter& xml) const;
    void LoadPoints(QXmlStreamReader& xml, int averagePeriod = 0);
    // The readings table, sensor by sensor in index order.
    void SaveToTable(TReadingsTable& table) const;
    void LoadFromQuery(const TReadingsQuery& query, int averagePeriod = 0);

    // The record card, written by the suspension dialog and the layout file on the main thread.
    QString ClassCorn;        // crop class
    TDateTime LoadData = 0;   // date of loading
    QString OperName;         // operator
    QString TypeCorn;         // crop
    double Weight = 0;        // the grain's moisture in percent (the card's moisture row)
    double Wet = 0;           // the load's weight in tonnes (the card's weight row)
    // Chosen on the board for an exchange of selected suspensions.
    bool Selected = false;

private:
    TMB* const owner_;
    const int no_;
    mutable std::mutex nameLock_;
    QString silosName_;
    std::vector<std::unique_ptr<TTIT>> tits_;
};
