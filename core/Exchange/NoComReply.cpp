#include "core/Exchange/NoComReply.h"

#include "base/Exception.h"
#include "base/Format.h"
#include "base/HexText.h"
#include "platform/posix/ProgramFolder.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>

namespace {

constexpr size_t kReplySize = 18;
// The reply marker of a log line and the blank BytesToHex puts before the first octet.
const QByteArray kReplyMarker = QByteArrayLiteral("->:  ");

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

DynByteArray TNoComReplies::ReadNoComReply(const QString& path, uint16_t channel)
{
    const QByteArrayList lines = ReadLines(path);
    const QByteArray pattern = QByteArray::fromStdString(Format("94 10 %.2X %.2X", channel & 0xFF, channel >> 8));
    for (int i = std::max(cursor_.load(), 0); i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (!line.contains(pattern))
            continue;
        cursor_ = i;
        const qsizetype marker = line.indexOf(kReplyMarker);
        if (marker < 0)
            return {};
        return ParseReply(line, marker + kReplyMarker.size(), i);
    }
    cursor_ = 0;
    return {};
}

DynByteArray TNoComReplies::ReadNoComReply(uint16_t channel)
{
    return ReadNoComReply(QString::fromStdString(ProgramFile("nocom.log")), channel);
}
