#pragma once
// Small text routines that several units of the report engine share.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QStringList>

class TrpRunContext;

// The engine's resource string of that number, through the context's locale ("" when the
// string table lacks it).
QString LoadFrResString(const TrpRunContext& context, int id);

// A number written with either decimal separator: every "," and "." counts as the separator,
// blanks around it are ignored. A text that is no number raises EConvertError.
double StrToFloatAnySep(QStringView text);
bool TryStrToFloatAnySep(QStringView text, double& value);

// A text of at least three characters enclosed in double quotes loses them; any other text is
// returned as it is (two double quotes alone stay).
QString StripDoubleQuotes(const QString& text);

// The characters from position (0-based) up to the next ";" or the end; the position moves
// past the ";" when there is one, else to the end.
QString ExtractListItem(const QString& text, int& position);
// Every item of a ";" list: two separators in a row give an empty item, a trailing ";" none.
void SplitSemicolonList(const QString& text, QStringList& items);

// A text as lines: a break is a carriage return and line feed, or either alone; a break at the
// end closes the last line without starting another, so "" gives no lines and "a\r\n" one.
QStringList TextToLines(const QString& text);
// The lines, each followed by a carriage return and line feed (the whole text of a list).
QString LinesToText(const QStringList& lines);

// Line feed, carriage return, double quote, "<", ">" and "&" as decimal character references.
QString XmlEscape(const QString& text);

// Every octet as two upper-case hexadecimal digits.
QString StreamToHex(const QByteArray& octets);

// Every character code decreased by 10 (how a stored template password is kept).
QString ShiftTextDown10(const QString& text);
