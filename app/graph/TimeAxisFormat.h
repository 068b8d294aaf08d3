#pragma once
// The label format of the chart's time axis, chosen from the range it shows: the shortest that
// still tells every tick apart, with the date when the range leaves one day.
#include <QDateTime>
#include <QString>

QString TimeAxisFormat(const QDateTime& min, const QDateTime& max, int tickCount);
