#pragma once
// Windows metafiles of the old 16-bit format (WMF) in pictures: those with the placeable header
// that gives their frame, as picture files, records and blob fields carry them. They are drawn
// through libwmf, which turns them into SVG; the records are checked first, so that the library
// never reads past the data nor sizes a buffer by a header that lies.
#include <QByteArray>
#include <QSize>

#include "report/graphic/Metafile.h"

// The data starts with the placeable header's key.
bool IsWindowsMetafile(const QByteArray& data);

// Checks the placeable header and its checksum, the metafile header and every record up to the
// end-of-file record: each lies inside the data and within the largest record the header
// claims, the points and texts of the drawing records lie inside their record, and so does
// every bitmap a record carries (WindowsMetafileBitmap.h).
TrpMetafileInfo InspectWindowsMetafile(const QByteArray& data);

// The metafile as an SVG document of the given size, its frame filling it; empty when the
// library refuses it or it takes more memory or output than a picture may. Check it with
// InspectWindowsMetafile first.
QByteArray WindowsMetafileToSvg(const QByteArray& data, QSize size);
