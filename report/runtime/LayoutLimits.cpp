#include "report/runtime/LayoutLimits.h"

#include <QString>

#include "report/runtime/ReportErrors.h"

namespace {

[[noreturn]] void OutOfRange(const QString& value, const QString& low, const QString& high, const char* what)
{
    throw EOutOfRange(QStringLiteral("%1 = %2: вне пределов от %3 до %4, в которых отчёт можно разместить")
                          .arg(QLatin1String(what), value, low, high));
}

}  // namespace

int InLayoutRange(int64_t value, int low, int high, const char* what)
{
    if (value < low || value > high)
        OutOfRange(QString::number(value), QString::number(low), QString::number(high), what);
    return int(value);
}

double InLayoutRange(double value, double low, double high, const char* what)
{
    if (!(value >= low && value <= high))
        OutOfRange(QString::number(value), QString::number(low), QString::number(high), what);
    return value;
}
