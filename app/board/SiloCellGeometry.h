#pragma once
// Where the parts of a silo cell are drawn: the sensors' bands, the selection marker and the
// name. Kept apart from the painting so that the arithmetic can be checked on its own.
#include <QRect>
#include <QString>

// Height of a table row: every sensor's band plus two pixels, grown by the sensor count until
// the name has room (at least 18 pixels).
int SiloRowHeight(int sensorCount, int bandHeight);

// The part of a cell the bands fill: the cell less a small left margin (where the selection
// marker sits) and the grid lines on its right and bottom edges.
QRect CellContentRect(const QRect& cell);

// Band k from the top (k = 0 .. count − 1) of a suspension with count sensors: with
// b = content height div count, rows top + 1 + k·b .. top + (k + 1)·b − 1 across the whole
// width, so one unpainted row lies between neighbours. Band k shows sensor count − 1 − k.
QRect SensorBandRect(const QRect& content, int sensorCount, int k);

// The yellow marker of a selected suspension at the cell's left edge.
QRect SelectionMarkerRect(const QRect& cell, const QRect& content);

// A name too long for a narrow column: its first three characters and ".." when it has more
// than four; a name of up to four characters stays whole.
QString ShortSiloName(const QString& name);

// Names of at most this many characters are drawn at the table's own font size.
inline constexpr int kFullSizeNameLength = 3;
