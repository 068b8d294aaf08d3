#include "app/board/SiloBinLayout.h"

#include "app/board/FrameSiloBin.h"
#include "base/Exception.h"
#include "platform/posix/AtomicFile.h"

#include <QDomDocument>
#include <QXmlStreamWriter>

namespace {

void GiveDefaultGrid(const std::vector<TfrSiLoBin*>& frames, size_t from)
{
    for (size_t i = from; i < frames.size(); ++i)
        frames[i]->SetGridSize(kDefaultGridRows, kDefaultGridCols);
}

} // namespace

TLayoutLoadResult LoadSiloBinLayout(const std::vector<TfrSiLoBin*>& frames, const QString& path)
{
    TLayoutLoadResult result;
    std::string octets, error;
    switch (ReadWholeFile(path.toStdString(), octets, &error)) {
    case ReadResult::Missing:
        GiveDefaultGrid(frames, 0);
        return result;
    case ReadResult::Failed:
        GiveDefaultGrid(frames, 0);
        result.State = TLayoutLoadResult::Failed;
        result.Error = QString::fromStdString(error);
        return result;
    case ReadResult::Ok:
        break;
    }

    QDomDocument document;
    QString parseError;
    int line = 0, column = 0;
    if (!document.setContent(QByteArray::fromStdString(octets), &parseError, &line, &column)) {
        GiveDefaultGrid(frames, 0);
        result.State = TLayoutLoadResult::Failed;
        result.Error = QStringLiteral("строка %1, позиция %2: %3").arg(line).arg(column).arg(parseError);
        return result;
    }

    size_t given = 0;
    QDomElement element = document.documentElement().firstChildElement();
    try {
        for (; given < frames.size() && !element.isNull(); element = element.nextSiblingElement())
            frames[given++]->LoadFromXML(element);
    } catch (const std::exception& failure) {
        result.State = TLayoutLoadResult::Failed;
        result.Error = QString::fromUtf8(failure.what());
        GiveDefaultGrid(frames, given);
        return result;
    }
    GiveDefaultGrid(frames, given);
    result.State = TLayoutLoadResult::Loaded;
    return result;
}

QByteArray SiloBinLayoutText(const std::vector<TfrSiLoBin*>& frames)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.setAutoFormatting(false);
    xml.writeStartElement(QStringLiteral("silobins"));
    for (const TfrSiLoBin* frame : frames)
        frame->SaveToXML(xml);
    xml.writeEndElement();
    // The declaration names no encoding; the text is UTF-8.
    return QByteArray("<?xml version=\"1.0\"?>\r\n") + body + QByteArray("\r\n");
}

void SaveSiloBinLayout(const std::vector<TfrSiLoBin*>& frames, const QString& path)
{
    const QByteArray text = SiloBinLayoutText(frames);
    std::string error;
    if (!WriteFileAtomically(path.toStdString(), std::string_view(text.constData(), static_cast<size_t>(text.size())), &error))
        throw Exception(QStringLiteral("Не удалось записать файл конфигурации силкорпусов \"%1\": %2")
                            .arg(path, QString::fromStdString(error))
                            .toStdString());
}
