#include "report/file/MemoryStream.h"

#include <algorithm>
#include <cstring>

TrpMemoryStream::TrpMemoryStream(const QByteArray& octets) : octets_(octets)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool TrpMemoryStream::seek(qint64 pos)
{
    if (pos < 0 || pos > octets_.size())
        return false;
    at_ = pos;
    return QIODevice::seek(pos);
}

qint64 TrpMemoryStream::readData(char* data, qint64 maxSize)
{
    const qint64 count = std::clamp<qint64>(octets_.size() - at_, 0, maxSize);
    if (count > 0)
        std::memcpy(data, octets_.constData() + at_, size_t(count));
    at_ += count;
    return count;
}
