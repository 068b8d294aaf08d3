#pragma once
// Numbers as the report's display formats write them, with the layouts of the platform's
// number format strings: "0" a digit always written, "#" a digit written when needed, the first
// "." the decimal point, "," anywhere asks for thousands separators, "E+00"/"E-00" scientific,
// quoted text copied, up to three sections "positive;negative;zero". Digits are rounded half
// away from zero on the value's 15 significant decimal digits. The separators are passed in:
// nothing here reads or changes a program-wide setting, so other threads may format at the
// same time.
#include <QChar>
#include <QString>

// An empty layout gives the general form (up to 15 significant digits).
QString FormatFloat(const QString& format, double value, QChar decimalSeparator, QChar thousandSeparator);
// Fixed-point with that many decimals (the general form for values of 1e15 and above).
QString FloatToStrFixed(double value, int decimals, QChar decimalSeparator);
// Like FloatToStrFixed, with thousands separators.
QString FloatToStrNumber(double value, int decimals, QChar decimalSeparator, QChar thousandSeparator);
