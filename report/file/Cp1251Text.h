#pragma once
// Texts inside the engine are QStrings; inside its streams they are code page 1251 octets.
#include <QByteArray>
#include <QString>
#include <QStringView>

// Characters that code page 1251 lacks become '?'.
QByteArray ToCp1251(const QString& text);
// The same into room for text.size() octets; gives the number written (a pair of surrogates
// makes one octet).
qsizetype ToCp1251(QStringView text, char* octets);
QString FromCp1251(const QByteArray& octets);
