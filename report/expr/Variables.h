#pragma once
// An ordered list of names with values. Names are unique and compare without regard to case;
// switched to sorted order, the list keeps its names sorted the same way.
#include <vector>

#include <QString>
#include <QVariant>

class TrpVariables {
public:
    // Replaces the value of the name, or adds it (at the end, or at its sorted place).
    void SetValueByName(const QString& name, const QVariant& value);
    // The value, or null when the name is absent.
    QVariant GetValueByName(const QString& name) const;
    // Out of range: the integer 0 / nothing / "".
    QVariant ValueAt(int index) const;
    void SetValueAt(int index, const QVariant& value);
    // Renames an entry; nothing out of range or when another entry already has the name.
    void SetNameAt(int index, const QString& name);
    QString NameAt(int index) const;
    int IndexOf(const QString& name) const;
    int Count() const { return int(entries_.size()); }
    void Delete(int index);
    void Clear() { entries_.clear(); }

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

private:
    struct Entry {
        QString name;
        QVariant value;
    };
    // The sorted place of a name: its index when present, else where it belongs.
    int LowerBound(const QString& name) const;
    void Sort();

    std::vector<Entry> entries_;
    bool sorted_ = false;
};
