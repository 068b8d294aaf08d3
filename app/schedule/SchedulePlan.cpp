#include "app/schedule/SchedulePlan.h"

#include "base/DateTime.h"
#include "base/FormatDateTime.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// The remainder that is never negative, so that times before 1970 (every-day entries are
// stored on 1899-12-30) still give their time of day.
int64_t FloorMod(int64_t value, int64_t divisor)
{
    const int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

QString FormatSeconds(const char* format, int64_t seconds)
{
    return QString::fromStdString(FormatDateTime(format, UnixToDateTime(seconds)));
}

QString DueText(const TPlanItem& item, int64_t occurrence)
{
    return PlanItemText(item) + QStringLiteral(" - ") + FormatSeconds("dd.mm hh:nn:ss", occurrence);
}

} // namespace

QString PlanItemText(const TPlanItem& item)
{
    switch (item.Kind) {
    case pkEveryDay:
        return FormatSeconds("Каждый день в hh:nn:ss", FloorMod(item.Value, kSecondsPerDay));
    case pkPeriod:
        return QStringLiteral("С периодом в %1 мин.").arg(item.Value / 60);
    case pkOnce:
        break;
    }
    return FormatSeconds("Один раз dd.mm.yy hh:nn:ss", item.Value);
}

TPlanWalk WalkPlan(std::vector<TPlanItem>& items, int64_t from, int64_t now)
{
    TPlanWalk walk;
    // Only a strictly sooner entry replaces the best, so ties keep the earlier one.
    int64_t best = std::numeric_limits<int32_t>::max();
    const auto offer = [&](int64_t toGo, const QString& text) {
        if (toGo < best) {
            best = toGo;
            walk.Next = text;
        }
    };
    for (size_t i = 0; i < items.size() && walk.Due.isEmpty(); ++i) {
        const TPlanItem& item = items[i];
        switch (item.Kind) {
        case pkEveryDay: {
            const int64_t today = now - FloorMod(now, kSecondsPerDay);
            int64_t latest = today + FloorMod(item.Value, kSecondsPerDay);
            if (latest > now)
                latest -= kSecondsPerDay;
            if (latest >= from)
                walk.Due = DueText(item, latest);
            else
                offer(latest + kSecondsPerDay - now, PlanItemText(item));
            break;
        }
        case pkPeriod: {
            // A period of zero or less never falls due (and must not be divided by).
            if (item.Value <= 0)
                break;
            // Occurrences fall on whole multiples of the period since 1970-01-01 00:00.
            const int64_t latest = now - FloorMod(now, item.Value);
            if (latest >= from)
                walk.Due = DueText(item, latest);
            else
                offer(latest + item.Value - now, FormatSeconds("Периодический dd.mm в hh:nn:ss", latest + item.Value));
            break;
        }
        case pkOnce:
            if (item.Value > now) {
                offer(item.Value - now, PlanItemText(item));
                break;
            }
            // Its time has come (due in this check) or passed (missed long ago): it leaves
            // the plan either way, and this walk ends here.
            if (item.Value >= from)
                walk.Due = PlanItemText(item);
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
            return walk;
        }
    }
    return walk;
}

std::vector<TPlanItem> TSchedulePlan::Items() const
{
    std::lock_guard guard(FLock);
    return FItems;
}

size_t TSchedulePlan::Count() const
{
    std::lock_guard guard(FLock);
    return FItems.size();
}

std::optional<TPlanItem> TSchedulePlan::At(size_t index) const
{
    std::lock_guard guard(FLock);
    if (index >= FItems.size())
        return std::nullopt;
    return FItems[index];
}

bool TSchedulePlan::Contains(const TPlanItem& item) const
{
    std::lock_guard guard(FLock);
    return std::find(FItems.begin(), FItems.end(), item) != FItems.end();
}

void TSchedulePlan::Assign(std::vector<TPlanItem> items)
{
    std::lock_guard guard(FLock);
    FItems = std::move(items);
}

bool TSchedulePlan::Add(const TPlanItem& item)
{
    std::lock_guard guard(FLock);
    if (std::find(FItems.begin(), FItems.end(), item) != FItems.end())
        return false;
    FItems.push_back(item);
    return true;
}

bool TSchedulePlan::Delete(size_t index)
{
    std::lock_guard guard(FLock);
    if (index >= FItems.size())
        return false;
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

TPlanWalk TSchedulePlan::Walk(int64_t from, int64_t now)
{
    std::function<void()> onRemoved;
    TPlanWalk walk;
    {
        std::lock_guard guard(FLock);
        const size_t before = FItems.size();
        walk = WalkPlan(FItems, from, now);
        if (FItems.size() != before)
            onRemoved = FOnRemoved;
    }
    if (onRemoved)
        onRemoved();
    return walk;
}

void TSchedulePlan::SetOnRemoved(std::function<void()> onRemoved)
{
    std::lock_guard guard(FLock);
    FOnRemoved = std::move(onRemoved);
}
