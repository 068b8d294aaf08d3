#pragma once
// Arithmetic and comparison of expression values.
//  - A null operand makes the result null (comparisons excepted).
//  - "+" of two strings joins them; otherwise strings take part as numbers.
//  - Integers stay integers (a 64-bit overflow gives a real); any real makes a real; a
//    date-time plus or minus a number stays a date-time.
//  - Comparisons: null equals only null (and unassigned) and is below everything else; a
//    string against a number compares as numbers when the string is one, else as texts.
#include <QVariant>

QVariant VarAdd(const QVariant& a, const QVariant& b);
QVariant VarSub(const QVariant& a, const QVariant& b);
QVariant VarMul(const QVariant& a, const QVariant& b);
QVariant VarDiv(const QVariant& a, const QVariant& b);   // the real quotient
QVariant VarMod(const QVariant& a, const QVariant& b);   // integer remainder
QVariant VarAnd(const QVariant& a, const QVariant& b);   // logical on Booleans, else bitwise
QVariant VarOr(const QVariant& a, const QVariant& b);
QVariant VarNeg(const QVariant& a);

// Negative, 0 or positive.
int VarCompare(const QVariant& a, const QVariant& b);
bool VarEqualsZero(const QVariant& value);
