// Old Windows metafiles in pictures, as a picture object reads them from a template, a prepared
// report or a database field: checked, turned into SVG by libwmf and drawn. The reader may refuse
// a picture with its picture error; a crash, undefined behaviour, a hang or memory without bound
// is a fault. The placeable header's checksum is made good first, so that changed frames and
// records reach the checks behind it instead of all ending at the checksum.
#include <QImage>
#include <QPainter>

#include "report/graphic/Graphic.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr int kChecksumAt = 20;
    QByteArray wmf = FuzzInput(data, size);
    if (wmf.size() >= kChecksumAt + 2) {
        uint8_t low = 0, high = 0;
        for (int at = 0; at < kChecksumAt; at += 2)
            low ^= uint8_t(wmf[at]), high ^= uint8_t(wmf[at + 1]);
        wmf[kChecksumAt] = char(low);
        wmf[kChecksumAt + 1] = char(high);
    }
    const TrpGraphic graphic(gkMetafile, wmf);
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter painter(&image);
    graphic.Draw(painter, image.rect());
    return 0;
}
