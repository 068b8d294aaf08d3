#pragma once
// How report objects write their XML element text: code page 1251 octets, each attribute
// preceded by a blank, its value in double quotes as given (callers escape free texts).
#include <cstdint>

#include <QIODevice>
#include <QString>

void WriteXmlText(QIODevice& stream, const QString& text);
void WriteXmlAttribute(QIODevice& stream, const char* name, const QString& value);
void WriteXmlAttribute(QIODevice& stream, const char* name, int64_t value);
