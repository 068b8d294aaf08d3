#include "app/exchange/MessageLog.h"

#include "platform/qt/QtColour.h"
#include "comm/ExchangeLog.h"
#include "core/LogFile.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QRegularExpression>

namespace {

// An address phrase followed by anything but another digit.
QString NameDevice(QString text, const QString& address, const QString& device)
{
    static const QString phrase = QStringLiteral("контроллера с адресом ");
    const QRegularExpression pattern(QRegularExpression::escape(phrase + address) + QStringLiteral("(?!\\d)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return text.replace(pattern, device);
}

} // namespace

QString RewriteLogLine(const QString& text)
{
    QString line = text;
    const qsizetype cut = line.indexOf(QStringLiteral("для контроллера с адресом"));
    if (cut >= 0)
        line.truncate(cut);
    line = NameDevice(line, QStringLiteral("0"), QStringLiteral("коммутатора КС-4"));
    return NameDevice(line, QStringLiteral("1"), QStringLiteral("местного блока Р5-22К"));
}

TMessageLog::TMessageLog(QListWidget& debugPage, QListWidget& errorList)
    : debugPage_(debugPage), errorList_(errorList)
{
    for (QListWidget* list : {&debugPage_, &errorList_})
        QObject::connect(list, &QListWidget::itemDoubleClicked, list, [list] { list->clear(); });
}

void TMessageLog::Add(const QString& text, TColor colour, bool debugShown, bool showErrors)
{
    const QString line = RewriteLogLine(text);
    WriteLogFile(QStringLiteral("debug"), line);
    if (debugShown)
        Insert(debugPage_, LogLinePrefix(Now()) + line, colour);
    if (colour == kLogError && showErrors)
        Insert(errorList_, LogLinePrefix(Now()) + line, kLogError);
    if (debugPage_.count() > kMaxDebugLines)
        while (debugPage_.count() > kDebugLinesKept)
            delete debugPage_.takeItem(debugPage_.count() - 1);
}

void TMessageLog::Insert(QListWidget& list, const QString& line, TColor colour)
{
    auto* item = new QListWidgetItem(line);
    item->setForeground(ToQColor(colour));
    list.insertItem(0, item);
    widest_ = std::max(widest_, QFontMetrics(list.font()).horizontalAdvance(line) + 2);
}
