// Writes a small seed corpus for the fuzz targets with the program's own writers, one folder
// per target under FOLDER:
//     fuzz_seeds FOLDER
// rpp: the sample report built and saved; template: the sample report's template and the state
// reports'; rtf: the sample's rich text and its RTF export; datafile, settings, layout: a small
// tree's readings, the settings of a default record, a board of two frames.
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTextDocument>

#include "app/board/BinPanel.h"
#include "app/board/FrameSiloBin.h"
#include "app/board/SiloBinLayout.h"
#include "app/settings/SettingsSections.h"
#include "app/users/User.h"
#include "app/users/UserStorage.h"
#include "base/DateTime.h"
#include "core/DataFile/DataFile.h"
#include "core/Device/Device.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
#include "core/Monitor.h"
#include "platform/posix/IniFile.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/export/RtfAdvExport.h"
#include "report/file/RtfWriter.h"
#include "report/runtime/RunContext.h"
#include "tools/fuzz/FuzzSupport.h"
#include "tools/fuzz/SampleReport.h"
#include "tools/report_templates/StateReportTemplates.h"

namespace {

QDir TargetFolder(const QString& root, const char* target)
{
    QDir folder(root);
    folder.mkpath(QString::fromLatin1(target));
    folder.cd(QString::fromLatin1(target));
    return folder;
}

void Write(const QDir& folder, const QString& name, const QByteArray& octets)
{
    WriteScratchFile(folder.filePath(name), octets);
    std::printf("%s\n", qPrintable(folder.filePath(name)));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteReportSeeds(const QString& root)
{
    TSampleData data;
    TrpRunContext context;
    std::unique_ptr<TrpReport> report = MakeSampleReport(context, data);
    report->ShowProgress = false;

    QBuffer templateStream;
    templateStream.open(QIODevice::WriteOnly);
    report->SaveToStream(templateStream);
    const QDir templates = TargetFolder(root, "template");
    Write(templates, QStringLiteral("sample.template"), templateStream.data());
    for (const TStateReportTemplate which : kStateReportTemplates)
        Write(templates, StateReportFileName(which), WriteStateReportTemplate(which));

    if (!report->BuildReportPages()) {
        std::fprintf(stderr, "the sample report does not build\n");
        std::exit(1);
    }
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    report->EMFPages->SaveToStream(&pages);
    Write(TargetFolder(root, "rpp"), QStringLiteral("sample.rpp"), pages.data());

    const QDir rtf = TargetFolder(root, "rtf");
    TrpRtfAdvExport exporter(context);
    const QString exported = ScratchPath(QStringLiteral("sample.rtf"));
    report->RunExport(exporter, exported);
    Write(rtf, QStringLiteral("export.rtf"), ReadFile(exported));
    QTextDocument document;
    document.setHtml(QStringLiteral("<p align=center><b>Протокол</b> <i>температур</i> <u>силосов</u></p>"
                                    "<p style='margin-left:20px'><font color=red size=5>+31,5</font>\t°C</p>"
                                    "<table><tr><td>1-1</td><td>12,5</td></tr></table>"));
    Write(rtf, QStringLiteral("document.rtf"), WriteRtf(document));
}

void WriteDataFileSeed(const QString& root)
{
    THardConfig tree(2, 6, 6);
    const TDateTime start = EncodeDateTime(2024, 5, 1, 9, 5, 3, 250);
    for (int sensor = 0; sensor < 3; ++sensor) {
        std::vector<TTITPoint> points;
        for (int i = 0; i < 3; ++i) {
            TTITPoint point;
            point.SetTime(start + i / 24.0);
            point.Value = 10.5 + sensor - 0.25 * i;
            points.push_back(point);
        }
        tree.GetMB(sensor % 2)->GetSilos(sensor)->GetTIT(sensor)->AssignPoints(points);
    }
    const QString path = ScratchPath(QStringLiteral("data.dxml"));
    SaveDataFile(tree, path);
    Write(TargetFolder(root, "datafile"), QStringLiteral("data.dxml"), ReadFile(path));
}

void WriteSettingsSeed(const QString& root)
{
    const QString path = ScratchPath(QStringLiteral("Tavik_zuzid.INI"));
    IniFile ini(path.toStdString());
    Parameters settings;
    TWindowSettings window;
    TUserList users;
    AddFallbackAdministrator(users);
    ini.BeginUpdate();
    ini.WriteInteger("TfmMain", "Left", 10);
    ini.WriteInteger("TfmMain", "Top", 20);
    ini.WriteInteger("TfmMain", "Width", 800);
    ini.WriteInteger("TfmMain", "Height", 600);
    WriteGeneralSection(ini, settings, window);
    WriteSiteSection(ini, settings);
    WriteConfigurationKeys(ini, settings, window);
    WriteUsers(ini, users);
    WritePrintingKeys(ini, settings, window);
    WriteAlarmSection(ini, settings);
    ini.EndUpdate();
    Write(TargetFolder(root, "settings"), QStringLiteral("Tavik_zuzid.INI"), ReadFile(path));
}

void WriteLayoutSeed(const QString& root)
{
    TMonitor monitor;
    monitor.HardConfig = std::make_unique<THardConfig>(2, 6, 6);
    TBinPanel panel;
    TfrSiLoBin first(monitor, 1, nullptr, &panel);
    first.SetCaption(QStringLiteral("Корпус «Север»"));
    first.SetGridSize(2, 4);
    first.move(120, 40);
    first.SetSilo(0, 0, monitor.HardConfig->GetMB(0)->GetSilos(0));
    first.SetSilo(1, 3, monitor.HardConfig->GetMB(1)->GetSilos(4));
    TfrSiLoBin second(monitor, 2, nullptr, &panel);
    second.SetGridSize(1, 3);
    second.SetSilo(0, 2, monitor.HardConfig->GetMB(1)->GetSilos(5));
    TSilos& card = *monitor.HardConfig->GetMB(0)->GetSilos(0);
    card.SetSilosName(QStringLiteral("Силос 1"));
    card.TypeCorn = QStringLiteral("Пшеница");
    card.LoadData = EncodeDateTime(2024, 9, 15, 8, 30, 0, 0);
    card.Weight = 13.75;
    card.GetTIT(2)->SetOff(kR0Ohm53);
    card.GetTIT(2)->SetMult(kMultOhm53);
    card.GetTIT(2)->SetTk(-0.25);
    Write(TargetFolder(root, "layout"), QStringLiteral("SiloBins.xml"), SiloBinLayoutText({&first, &second}));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    StartFuzzApplication(true);
    WriteReportSeeds(root);
    WriteDataFileSeed(root);
    WriteSettingsSeed(root);
    WriteLayoutSeed(root);
    return 0;
}
