#pragma once
// Enhanced metafiles (the Windows vector picture format) in pictures and in prepared reports of
// the oldest layout. They are drawn through a maintained converter to SVG; this checks the
// record framing first so that the converter never sees records running past the data.
#include <cstdint>

#include <QByteArray>
#include <QSize>
#include <QString>

// What the header of an enhanced metafile tells, or why the data is none.
struct TrpMetafileInfo {
    bool Valid = false;
    QString Error;
    // The picture's own size in pixels at 96 DPI, from its frame in hundredths of a millimetre.
    QSize Size;
};

// A metafile refused for the reason given.
TrpMetafileInfo RefusedMetafile(const QString& why);

// A metafile of the given size in pixels at 96 DPI, refused when a side is empty or larger than
// a picture may be.
TrpMetafileInfo MetafileOfSize(int64_t width, int64_t height);

// Checks the header and walks every record: each lies inside the data, is a whole number of
// 32-bit words, and the last one ends the file.
TrpMetafileInfo InspectMetafile(const QByteArray& data);

// The metafile as an SVG document; empty when the converter refuses it. Check it with
// InspectMetafile first.
QByteArray MetafileToSvg(const QByteArray& data);
