#include "app/schedule/SchedulePlanFile.h"

#include "base/DateTime.h"
#include "platform/posix/IniFile.h"

#include <QString>

#include <charconv>
#include <string>
#include <utility>

namespace {

// A decimal 64-bit integer, blanks around it allowed; -1 for anything else, as a missing
// value reads.
int64_t ReadValue(std::string text)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return -1;
    text = text.substr(first, last - first + 1);
    if (text.front() == '+')
        text.erase(0, 1);
    int64_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return -1;
    return value;
}

TPlanKind KindOfKey(const std::string& key)
{
    const size_t mark = key.find('_');
    const QString kind = mark == std::string::npos ? QString() : QString::fromStdString(key.substr(mark + 1));
    if (kind.compare(QLatin1String("everyday"), Qt::CaseInsensitive) == 0)
        return pkEveryDay;
    if (kind.compare(QLatin1String("period"), Qt::CaseInsensitive) == 0)
        return pkPeriod;
    return pkOnce;
}

const char* KindSuffix(TPlanKind kind)
{
    switch (kind) {
    case pkEveryDay:
        return "_everyday";
    case pkPeriod:
        return "_period";
    case pkOnce:
        break;
    }
    return "_once";
}

using TKeyValues = std::vector<std::pair<std::string, std::string>>;

TKeyValues StoredSection(const IniFile& ini)
{
    TKeyValues stored;
    for (const std::string& key : ini.ReadSection(kScheduleSection))
        stored.emplace_back(key, ini.ReadString(kScheduleSection, key, ""));
    return stored;
}

} // namespace

std::vector<TPlanItem> ReadPlanSection(const IniFile& ini)
{
    std::vector<TPlanItem> items;
    for (const std::string& key : ini.ReadSection(kScheduleSection)) {
        const int64_t value = ReadValue(ini.ReadString(kScheduleSection, key, "-1"));
        // Beyond the seconds of the years 1 to 9999 a value is no time the schedule can show
        // or count with; it is as unreadable as one that is no number.
        if (value == -1 || !IsDateTimeInRange(UnixToDateTime(value)))
            continue;
        items.push_back({value, KindOfKey(key)});
    }
    return items;
}

void WritePlanSection(IniFile& ini, const std::vector<TPlanItem>& items)
{
    TKeyValues wanted;
    for (size_t i = 0; i < items.size(); ++i)
        wanted.emplace_back(std::to_string(i) + KindSuffix(items[i].Kind), std::to_string(items[i].Value));
    if (wanted == StoredSection(ini) && (!wanted.empty() || !ini.SectionExists(kScheduleSection)))
        return;
    // One replacement of the file for the whole section.
    ini.BeginUpdate();
    ini.EraseSection(kScheduleSection);
    for (const auto& [key, value] : wanted)
        ini.WriteString(kScheduleSection, key, value);
    ini.EndUpdate();
}
