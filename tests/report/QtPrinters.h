#pragma once
// Readable test failure messages for Qt strings.
#include <ostream>

#include <QString>
#include <QVariant>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
