#include "core/DataFile/DataFile.h"

#include "base/Exception.h"
#include "core/DataFile/PointXml.h"
#include "core/Device/HardConfig.h"
#include "core/ExchangeLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

void ReadDevices(const THardConfig& config, QFile& file, int averagePeriod)
{
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement()) {
        ThrowOnXmlError(xml);
        Fail(QStringLiteral("в файле нет данных"));
    }
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        TSilos* silos = nullptr;
        // The suspension's number is looked at only when its block exists.
        if (TMB* mb = config.GetMB(ReadIndexAttribute(attributes, QLatin1StringView("Addr"))))
            silos = mb->GetSilos(ReadIndexAttribute(attributes, QLatin1StringView("No")));
        if (silos)
            silos->LoadPoints(xml, averagePeriod);
        else
            xml.skipCurrentElement();
    }
    ThrowOnXmlError(xml);
}

} // namespace

void SaveDataFile(const THardConfig& config, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        Fail(QStringLiteral("не удаётся создать файл \"%1\": %2").arg(path, file.errorString()));
    // The declaration names no encoding: the document is UTF-8, the default of XML.
    file.write("<?xml version=\"1.0\"?>\n");
    QXmlStreamWriter xml(&file);
    xml.writeStartElement(QStringLiteral("devices"));
    for (int b = 0; b < config.MBCount(); ++b) {
        const TMB* mb = config.GetMB(b);
        for (int s = 0; s < config.SilosPerMB(); ++s) {
            if (const TSilos* silos = mb->GetSilos(s))
                silos->SavePoints(xml);
        }
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError() || !file.commit())
        Fail(QStringLiteral("не удаётся записать файл \"%1\": %2").arg(path, file.errorString()));
}

TDataFileLoad LoadDataFile(const THardConfig& config, const QString& path, int averagePeriod,
                           const ExchangeLogSink& log)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    QString error;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            Fail(file.errorString());
        ReadDevices(config, file, averagePeriod);
        return {TDataFileLoad::Result::Complete, {}};
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    PostExchangeLog(log, QStringLiteral("При чтении файла \"%1\" ошибка: %2").arg(path, error), kLogError);
    return {TDataFileLoad::Result::Partial, error};
}
