#include "report/expr/Variables.h"

#include <algorithm>

#include "report/expr/ReportVariant.h"

namespace {

int CompareNames(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

}  // namespace

int TrpVariables::LowerBound(const QString& name) const
{
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                                     [](const Entry& e, const QString& n) { return CompareNames(e.name, n) < 0; });
    return int(it - entries_.begin());
}

int TrpVariables::IndexOf(const QString& name) const
{
    if (sorted_) {
        const int i = LowerBound(name);
        return i < Count() && CompareNames(entries_[size_t(i)].name, name) == 0 ? i : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareNames(entries_[size_t(i)].name, name) == 0)
            return i;
    return -1;
}

void TrpVariables::SetValueByName(const QString& name, const QVariant& value)
{
    const int i = IndexOf(name);
    if (i >= 0) {
        entries_[size_t(i)].value = value;
        return;
    }
    const int at = sorted_ ? LowerBound(name) : Count();
    entries_.insert(entries_.begin() + at, Entry{name, value});
}

QVariant TrpVariables::GetValueByName(const QString& name) const
{
    const int i = IndexOf(name);
    return i >= 0 ? entries_[size_t(i)].value : VarNull();
}

QVariant TrpVariables::ValueAt(int index) const
{
    return index >= 0 && index < Count() ? entries_[size_t(index)].value : QVariant(0);
}

void TrpVariables::SetValueAt(int index, const QVariant& value)
{
    if (index >= 0 && index < Count())
        entries_[size_t(index)].value = value;
}

void TrpVariables::SetNameAt(int index, const QString& name)
{
    if (index < 0 || index >= Count())
        return;
    const int other = IndexOf(name);
    if (other >= 0 && other != index)
        return;
    entries_[size_t(index)].name = name;
    if (sorted_)
        Sort();
}

QString TrpVariables::NameAt(int index) const
{
    return index >= 0 && index < Count() ? entries_[size_t(index)].name : QString();
}

void TrpVariables::Delete(int index)
{
    if (index >= 0 && index < Count())
        entries_.erase(entries_.begin() + index);
}

void TrpVariables::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TrpVariables::Sort()
{
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return CompareNames(a.name, b.name) < 0; });
}
