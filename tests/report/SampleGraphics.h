#pragma once
// Small pictures of every kind a picture object holds, made in the test: raster images through
// QImage, and an enhanced metafile written record by record.
#include <cstdint>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

// A width x height image of one colour in the file format Qt names ("PNG", "JPEG", "BMP", "ICO").
inline QByteArray SampleImageFile(const char* format, QColor colour, int width = 16, int height = 8)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return data;
}

// An enhanced metafile width x height pixels large (at 96 DPI) that fills itself with one colour:
// header, a solid brush, its selection, a rectangle over the whole picture, end of file.
inline QByteArray SampleMetafile(QRgb colour, int width = 100, int height = 50)
{
    QByteArray d;
    const auto u32 = [&d](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d.append(char(v >> (8 * i)));
    };
    const auto frame = [](int pixels) { return uint32_t(pixels * 2540 / 96); };
    u32(1), u32(88);                                          // header record, its size
    u32(0), u32(0), u32(width - 1), u32(height - 1);          // bounds, device pixels
    u32(0), u32(0), u32(frame(width)), u32(frame(height));    // frame, 0.01 mm
    u32(0x464D4520), u32(0x10000);                            // signature, version
    u32(0), u32(5);                                           // file size (patched), records
    u32(1), u32(0), u32(0), u32(0);                           // handles, reserved, description
    u32(1024), u32(768), u32(270), u32(203);                  // reference device
    const uint32_t bgr = uint32_t(qRed(colour)) | uint32_t(qGreen(colour)) << 8 | uint32_t(qBlue(colour)) << 16;
    u32(39), u32(24), u32(1), u32(0), u32(bgr), u32(0);       // solid brush as object 1
    u32(37), u32(12), u32(1);                                 // select it
    u32(43), u32(24), u32(0), u32(0), u32(width - 1), u32(height - 1);   // rectangle
    u32(14), u32(20), u32(0), u32(16), u32(20);               // end of file
    const uint32_t size = uint32_t(d.size());
    for (int i = 0; i < 4; ++i)
        d[48 + i] = char(size >> (8 * i));
    return d;
}
