#include "report/graphic/Metafile.h"

#include <cstdlib>
#include <cstring>

#include <emf2svg.h>

#include "report/runtime/LayoutDpi.h"

namespace {

constexpr uint32_t kHeaderRecord = 1;
constexpr uint32_t kEndOfFileRecord = 14;
constexpr uint32_t kLastRecordType = 122;
constexpr uint32_t kSignature = 0x464D4520;   // " EMF"
constexpr int kHeaderSize = 88;
constexpr int kMinRecordSize = 8;
constexpr int kHundredthsMmPerInch = 2540;

uint32_t U32(const QByteArray& data, qsizetype offset)
{
    uint32_t value = 0;
    std::memcpy(&value, data.constData() + offset, 4);
    return value;
}

int32_t I32(const QByteArray& data, qsizetype offset)
{
    return int32_t(U32(data, offset));
}

// The records after the header, up to and including the end-of-file record.
QString CheckRecords(const QByteArray& data, qsizetype end, qsizetype offset)
{
    while (offset < end) {
        if (end - offset < kMinRecordSize)
            return QStringLiteral("запись метафайла обрезана на смещении %1").arg(offset);
        const uint32_t type = U32(data, offset);
        const uint32_t size = U32(data, offset + 4);
        if (type == 0 || type > kLastRecordType || size < kMinRecordSize || size % 4 != 0 || size > end - offset)
            return QStringLiteral("неверная запись метафайла на смещении %1").arg(offset);
        offset += size;
        if (type == kEndOfFileRecord)
            return offset == end ? QString() : QStringLiteral("данные после конца метафайла");
    }
    return QStringLiteral("метафайл без записи конца");
}

}  // namespace

TrpMetafileInfo RefusedMetafile(const QString& why)
{
    TrpMetafileInfo info;
    info.Error = why;
    return info;
}

TrpMetafileInfo MetafileOfSize(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return RefusedMetafile(QStringLiteral("неверная рамка метафайла"));
    TrpMetafileInfo info;
    info.Valid = true;
    info.Size = QSize(int(width), int(height));
    return info;
}

TrpMetafileInfo InspectMetafile(const QByteArray& data)
{
    if (data.size() < kHeaderSize || U32(data, 0) != kHeaderRecord || U32(data, 40) != kSignature)
        return RefusedMetafile(QStringLiteral("не расширенный метафайл"));
    const uint32_t headerSize = U32(data, 4);
    const uint32_t fileSize = U32(data, 48);
    if (headerSize < kHeaderSize || headerSize % 4 != 0 || fileSize > uint32_t(data.size()) || headerSize > fileSize)
        return RefusedMetafile(QStringLiteral("заголовок метафайла не сходится с его длиной"));
    if (const QString error = CheckRecords(data, fileSize, headerSize); !error.isEmpty())
        return RefusedMetafile(error);
    // The frame (hundredths of a millimetre) gives the size the picture was made for.
    const int64_t frameWidth = int64_t(I32(data, 32)) - I32(data, 24);
    const int64_t frameHeight = int64_t(I32(data, 36)) - I32(data, 28);
    const auto pixels = [](int64_t hundredthsMm) {
        return (hundredthsMm * kLayoutDpi + kHundredthsMmPerInch / 2) / kHundredthsMmPerInch;
    };
    return MetafileOfSize(pixels(frameWidth), pixels(frameHeight));
}

QByteArray MetafileToSvg(const QByteArray& data)
{
    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.emfplus = true;
    options.svgDelimiter = true;
    QByteArray input = data;   // the converter takes a mutable buffer
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(input.data(), size_t(input.size()), &out, &length, &options);
    QByteArray svg;
    if (ok && out)
        svg = QByteArray(out, qsizetype(length));
    std::free(out);
    return svg;
}
