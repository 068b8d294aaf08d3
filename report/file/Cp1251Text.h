#pragma once
// Texts inside the engine are QStrings; inside its streams they are code page 1251 octets.
#include <QByteArray>
#include <QString>

// Characters that code page 1251 lacks become '?'.
QByteArray ToCp1251(const QString& text);
QString FromCp1251(const QByteArray& octets);
