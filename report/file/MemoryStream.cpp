#include "report/file/MemoryStream.h"

#include <algorithm>
#include <cstring>

TrpMemoryStream::TrpMemoryStream(const QByteArray& octets) : octets_(octets)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

const char* TrpMemoryStream::Take(qint64 count)
{
    const qint64 at = QIODevice::pos();
    if (count < 0 || count > octets_.size() - at)
        return nullptr;
    QIODevice::seek(at + count);
    return octets_.constData() + at;
}

qint64 TrpMemoryStream::readData(char* data, qint64 maxSize)
{
    const qint64 at = QIODevice::pos();
    const qint64 count = std::clamp<qint64>(octets_.size() - at, 0, maxSize);
    if (count > 0)
        std::memcpy(data, octets_.constData() + at, size_t(count));
    return count;
}
