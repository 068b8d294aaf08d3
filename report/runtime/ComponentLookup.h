#pragma once
// Names that a template holds, turned into live components and fields. A component is a
// QObject: its objectName is its name and its parent its owner; names compare without regard
// to case. Windows and data modules register themselves with the run context of their reports
// to be found by name.
#include <QObject>
#include <QString>
#include <QVariant>

class TDataSet;
class TField;
class TrpRunContext;

void RegisterGlobalComponent(TrpRunContext& context, QObject* form);
void UnregisterGlobalComponent(TrpRunContext& context, QObject* form);
// The registered window or data module of that name, or none.
QObject* FindGlobalComponent(const TrpRunContext& context, const QString& name);
// The component of that name among the owner's own components (its direct children), or none.
QObject* FindOwnedComponent(const QObject* owner, const QString& name);

// The component that owns the context's CurrentReport (its parent), or none.
QObject* ReportOwnerComponent(const TrpRunContext& context);
// The data set of field names without a data-set part: the current band's data set when the
// context's CurrentReport uses default data-set names (UseDefaultDataSetName), else none.
TDataSet* DefaultFieldDataSet(const TrpRunContext& context);

// "name": a component of the owner. "form.name": a component of that registered window.
// "form.frame.name": a component of a component of that window (none when the middle one is
// missing). A missing window raises EClassNotFound "Missing " + the whole name.
QObject* FindReportComponent(const TrpRunContext& context, QObject* owner, const QString& name);

// Splits a field reference ("field", "dataset.field", "form.dataset.field",
// "form.frame.dataset.field"; from the first double quote on the rest is the field, so a
// quoted field name may hold dots) into its data set and field name. Without a data-set part
// the data set given on entry is kept. The field name is returned without its double quotes,
// and only when the data set lists it; otherwise it is empty. Data sets named with one dot are
// looked up among the components of the report's owner (ReportOwnerComponent).
void ResolveFieldReference(const TrpRunContext& context, const QString& reference, TDataSet*& dataSet,
                           QString& fieldName);

// The value of the field's current record as an expression sees it: the display text when the
// field has a text handler, else its value; a null is "" for text fields, False for Boolean
// ones and the integer 0 for the others. A closed data set is opened first.
QVariant GetReportFieldValue(TField* field);

// FIELDISNULL: True when the reference names no data set; an unknown field raises
// EDatabaseError; else whether the field's value is null.
bool FieldIsNullByName(const TrpRunContext& context, const QString& reference);
