#pragma once
// The schedule plan: the entries that start a full poll by themselves (every day at a time,
// periodically, once), their display texts, and the walk that finds what falls due. The plan
// is shared by the schedule window (main thread) and the schedule thread, which removes once
// entries whose time has come; every access goes through the plan's lock.
#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// The kinds keep their stored numbers.
enum TPlanKind : uint8_t { pkEveryDay = 0, pkPeriod = 1, pkOnce = 2 };

// All seconds here are "local Unix seconds": seconds since 1970-01-01 00:00 of the wall clock,
// without any time-zone conversion, so that a day is always 86400 of them.
struct TPlanItem {
    // pkEveryDay: the chosen time of day on 1899-12-30 (only the time of day matters);
    // pkPeriod: the period in seconds; pkOnce: the chosen date and time.
    int64_t Value = 0;
    TPlanKind Kind = pkOnce;
    bool operator==(const TPlanItem&) const = default;
};

// "Каждый день в 08:00:00", "С периодом в 15 мин.", "Один раз 09.12.24 08:00:00".
QString PlanItemText(const TPlanItem& item);

// What one walk over the plan found.
struct TPlanWalk {
    QString Due;    // the text of the entry that fell due, empty when none did
    QString Next;   // the next scheduled poll, empty when nothing is ahead
};

// One walk over the plan at `now`, counting as due whatever fell due in the seconds from
// `from` to `now` (both included; `from` is `now` unless checks were missed). The walk stops at
// the first entry that is due, and at the first once entry whose time has come or passed,
// which it removes from the plan.
TPlanWalk WalkPlan(std::vector<TPlanItem>& items, int64_t from, int64_t now);

class TSchedulePlan {
public:
    std::vector<TPlanItem> Items() const;
    size_t Count() const;
    std::optional<TPlanItem> At(size_t index) const;

    bool Contains(const TPlanItem& item) const;

    void Assign(std::vector<TPlanItem> items);
    // Appends the entry unless one of the same kind and value exists; returns whether it did.
    bool Add(const TPlanItem& item);
    // Removes the entry at the index; false when there is none.
    bool Delete(size_t index);

    // WalkPlan under the lock. When the walk removed an entry, OnRemoved runs afterwards (on
    // the walking thread, outside the lock).
    TPlanWalk Walk(int64_t from, int64_t now);
    void SetOnRemoved(std::function<void()> onRemoved);

private:
    mutable std::mutex FLock;
    std::vector<TPlanItem> FItems;
    std::function<void()> FOnRemoved;
};
