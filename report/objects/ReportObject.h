#pragma once
// The common base of everything a report script can address (report objects and design pages):
// a list of declared properties and four operations through which scripts and the engine read
// and write properties and call methods by name. Each reaches the run context through the
// report that holds it.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>

struct TrpFont;
class TrpReport;
class TrpRunContext;

// What kind of value a declared property takes (bits of TrpPropRec::Kinds). Only a designer
// would use them; the engine reads the names alone.
enum TrpPropKind : uint16_t {
    pkText = 1,
    pkInteger = 2,
    pkFloat = 4,
    pkBoolean = 8,
    pkColor = 16,
    pkEnum = 32,
    pkHasEditor = 64,
    pkPageUnits = 128,   // Left, Top, Width, Height, frame width, column width and gap
    pkNameText = 256,    // "Name", "Memo" and "Tag"
};

// An editor a designer offers for a property.
using TrpPropEditor = std::function<void()>;

struct TrpPropRec {
    static constexpr int kMaxNameLength = 32;

    QString PropertyName;
    uint16_t Kinds = 0;
    std::optional<QStringList> EnumNames;   // the value names of an enumeration
    QVariant EnumValues;                    // a QVariantList, or null; unassigned for others
    TrpPropEditor Editor;
};

class TrpObject {
public:
    TrpObject() = default;
    virtual ~TrpObject() = default;
    TrpObject(const TrpObject&) = delete;
    TrpObject& operator=(const TrpObject&) = delete;

    // Subclasses handle their own names after their base; a name nobody handles leaves the
    // value as it is (set) or gives null (get, call). Property names are compared without
    // regard to case, method names exactly in upper case.
    virtual void SetPropertyValue(const QString& name, const QVariant& value);
    virtual QVariant GetPropertyValue(const QString& name);
    virtual void CallMethod(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                            QVariant& result);
    // Fills Properties; overrides start by clearing the list so that a second declaration
    // never duplicates entries.
    virtual void DeclareProperties();

    void ClearProperties() { Properties.clear(); }
    void AddProperty(const QString& name, uint16_t kinds, TrpPropEditor editor = {});
    // The value names as one ";"-separated text; values holds the value of each name.
    void AddEnumProperty(const QString& name, const QString& valueNames, const QVariantList& values);
    // The first declared property of that name (compared without regard to case), or none.
    TrpPropRec* FindProperty(const QString& name);

    // "FONT.NAME", "FONT.SIZE", "FONT.STYLE" (the stored style bits) and "FONT.COLOR"; the name
    // arrives in upper case. Other names: nothing, and null for the getter.
    static void SetFontProperty(TrpFont& font, const QString& upperName, const QVariant& value);
    static void GetFontProperty(const TrpFont& font, const QString& upperName, QVariant& value);

    // The script methods of a string-list property ("MEMO" for every object, "LINES" for
    // memos): SETINDEXPROPERTY and GETINDEXPROPERTY (when P1 is the list name), and the list
    // name followed by .ADD, .CLEAR, .DELETE, .INDEXOF (P1 evaluated as an expression by the
    // context's parser). A line number out of range raises EListError.
    void CallListMethod(QStringList& list, const QString& method, const QString& listName, const QVariant& p1,
                        const QVariant& p2, const QVariant& p3, QVariant& result) const;

    // The run context of the report that holds the object; std::logic_error when it is held
    // by none.
    TrpRunContext& Context() const;
    // The report that holds the object; std::logic_error when there is none.
    TrpReport& OwnerReport() const;

    std::vector<TrpPropRec> Properties;
    // The report that holds the object: a design page's report, or the report of the page an
    // object is placed on (TrpReport::AddPage, TrpPage::AddObject).
    TrpReport* Report = nullptr;
};

// Runs the object's DeclareProperties when its list is still empty; none is allowed.
void EnsurePropertiesDeclared(TrpObject* object);
