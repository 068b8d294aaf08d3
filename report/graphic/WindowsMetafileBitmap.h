#pragma once
// The bitmaps that records of an old Windows metafile carry. libwmf's bitmap reader trusts the
// bitmap's own header: a header size it cannot read makes it skip without end, sizes that wrap
// 32 bits leave its pixel buffer short, and a bitmap whose pixels the record does not hold (no
// bit count, or run-length compressed) has it fill an image of gigabytes. Each bitmap is checked
// here, its sizes worked out in 64 bits, before the library sees the record.
#include <cstdint>

#include <QByteArray>
#include <QString>

// Why the bitmap that the record carries cannot be drawn; empty when it can, or when the record
// carries none. The record's parameters are the `length` octets of the data at `params`.
QString CheckRecordBitmap(uint16_t function, const QByteArray& data, qsizetype params, qsizetype length);
