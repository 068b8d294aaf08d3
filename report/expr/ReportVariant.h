#pragma once
// Values of report expressions: QVariants of a few kinds. An invalid QVariant is "unassigned"
// (no value yet), a QVariant holding nullptr is null (a field without a value); the two are
// kept apart. Date-times are TVarDate (days since 1899-12-30), so they print as dates but
// count as numbers.
#include <cstdint>

#include <QLocale>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include "base/DateTime.h"

struct TVarDate {
    TDateTime value = 0;
    bool operator==(const TVarDate&) const = default;
};
Q_DECLARE_METATYPE(TVarDate)

enum class TVarKind { Empty, Null, Boolean, Integer, Real, DateTime, String, Other };

TVarKind VarKind(const QVariant& value);
inline bool VarIsEmpty(const QVariant& value) { return !value.isValid(); }
bool VarIsNull(const QVariant& value);
bool VarIsNumeric(const QVariant& value);   // integer, real or date-time
bool VarIsString(const QVariant& value);

QVariant VarNull();
QVariant VarFromDateTime(TDateTime value);
// An integer: int when it fits, else a 64-bit integer.
QVariant VarFromInt(int64_t value);

// Conversions; a value that cannot be converted raises EVariantError. Booleans count as 1 and
// 0, unassigned as 0 or "", strings are read as numbers with either decimal separator.
double VarToReal(const QVariant& value);
int64_t VarToInt(const QVariant& value);   // reals are rounded, halves to even
bool VarToBool(const QVariant& value);
TDateTime VarToDateTime(const QVariant& value);

// The text form: "" for unassigned and null, True/False, integers in decimal, reals in general
// form with up to 15 significant digits and the locale's decimal separator, date-times in the
// locale's short date form followed by the time when there is one.
QString VarToStr(const QVariant& value);

// The decimal separator of the engine's texts: that of the default locale.
QChar ReportDecimalSeparator();
// The same, asked of the locale again only when the default locale has changed: the system
// locale answers slowly, and a build writes tens of thousands of numbers.
class TrpDecimalSeparator {
public:
    QChar Get() const;

private:
    mutable QLocale locale_;
    mutable QChar separator_;
    mutable bool known_ = false;
};
// The thousands separator of the engine's number layouts: that of the default locale, else a
// blank.
QChar ReportThousandSeparator();
QString FloatToStrGeneral(double value, QChar decimalSeparator);
QString DateTimeToStr(TDateTime value);
// A date (or a time) written in the locale's short date order (hours, minutes, seconds);
// false when the text is none.
bool TryStrToDate(const QString& text, TDateTime& value);
bool TryStrToTime(const QString& text, TDateTime& value);
