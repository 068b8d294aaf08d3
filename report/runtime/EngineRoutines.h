#pragma once
// Routines several report object classes share: the engine's error message for a failed
// calculation, the data source a band names, the resolution of script names made of an object
// name, a dot and a property name, and the hexadecimal form of the template password.
#include <memory>

#include <QString>

class TDataSet;
class TrpDataset;
class TrpObject;
class TrpRunContext;

// Records a failure while an object was calculated during a build: the context's ErrorFlag,
// and ErrorText telling the report, the object (its name and text) and the message; the root
// report is terminated so that the build stops.
void SetCalculationError(TrpRunContext& context, const QString& message);
void SetCalculationError(TrpRunContext& context, const std::exception& error);

// The data source a band's source text names. A text beginning with a digit 1 to 9 makes a
// counting source of that many records, which the caller owns (Owned is set); any other text
// names a data source component of the current report's owner ("Missing " + name when a window
// part is missing; EInvalidCast when the component is no data source). A source found is
// prepared for a walk (Init) at once.
struct TFoundDataSet {
    TrpDataset* DataSet = nullptr;
    std::unique_ptr<TrpDataset> Owned;
    bool IsVirtual() const { return bool(Owned); }
};
TFoundDataSet FindDataSetByName(const TrpRunContext& context, const QString& name);

// The table behind the data source of the band being built, for field names without a data-set
// part: the report's own source, or, while a band of a report page prints, the source of the
// data band of the band's level (master for titles, page and master bands and groups, detail,
// sub-detail, cross). None when that source is no table source.
TDataSet* CurrentBandDataSet(const TrpRunContext& context);

// The object and property a script name addresses: "Prop" the current object's property,
// "Obj.Prop" a report object's, "PAGE2.Prop" the second design page's; a first part that names
// no object but a property of the current object ("Font.Size") stays with the current object
// and the whole name. The object found has its properties declared; it may be none.
void ResolveObjectProperty(const TrpRunContext& context, const QString& fullName, TrpObject*& object,
                           QString& propertyName);

// Every octet of the text (code page 1251) as two upper-case hexadecimal digits, and back: each
// pair of characters gives one octet, high digit first; an odd last character is ignored.
QString TextToHex(const QString& text);
QString HexToText(const QString& hex);
