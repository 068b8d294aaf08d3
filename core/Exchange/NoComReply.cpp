#include "core/Exchange/NoComReply.h"

#include "base/Exception.h"
#include "base/Format.h"
#include "base/HexText.h"
#include "platform/posix/ProgramFolder.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>

#include <atomic>

namespace {

constexpr size_t kReplySize = 18;
// The reply marker of a log line and the blank BytesToHex puts before the first octet.
const QByteArray kReplyMarker = QByteArrayLiteral("->:  ");

std::atomic<int> cursor{0};

QByteArrayList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().split('\n');
}

DynByteArray ParseReply(const QByteArray& line, qsizetype from, int lineNumber)
{
    const QByteArray octets = line.mid(from).trimmed();
    DynByteArray reply(kReplySize, 0);
    for (qsizetype at = 0, i = 0; at + 2 <= octets.size() && i < static_cast<qsizetype>(kReplySize); at += 3, ++i) {
        const int high = HexDigitValue(octets[at]);
        const int low = HexDigitValue(octets[at + 1]);
        if (high < 0 || low < 0)
            throw Exception(Format("Неверный ответ в строке %d файла nocom.log", lineNumber + 1));
        reply[static_cast<size_t>(i)] = static_cast<uint8_t>(high << 4 | low);
    }
    return reply;
}

} // namespace

DynByteArray ReadNoComReply(const QString& path, uint16_t channel)
{
    const QByteArrayList lines = ReadLines(path);
    const QByteArray pattern = QByteArray::fromStdString(Format("94 10 %.2X %.2X", channel & 0xFF, channel >> 8));
    for (int i = std::max(cursor.load(), 0); i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (!line.contains(pattern))
            continue;
        cursor = i;
        const qsizetype marker = line.indexOf(kReplyMarker);
        if (marker < 0)
            return {};
        return ParseReply(line, marker + kReplyMarker.size(), i);
    }
    cursor = 0;
    return {};
}

DynByteArray ReadNoComReply(uint16_t channel)
{
    return ReadNoComReply(QString::fromStdString(ProgramFile("nocom.log")), channel);
}

int NoComCursor()
{
    return cursor;
}

void SetNoComCursor(int line)
{
    cursor = line;
}
