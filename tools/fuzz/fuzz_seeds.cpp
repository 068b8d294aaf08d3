// Writes a small seed corpus for the fuzz targets with the program's own writers, one folder
// per target under FOLDER:
//     fuzz_seeds FOLDER
// rpp: the sample report built and saved; template: the sample report's template and the state
// reports'; rtf: the sample's rich text and its RTF export; wmf: small old Windows metafiles, each
// with a record carrying a bitmap, one of every kind of record and of bitmap; datafile, settings,
// layout: a small tree's readings, the settings of a default record, a board of two frames.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
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

// ---- Old Windows metafiles, written record by record.

QByteArray Words(std::initializer_list<uint16_t> words)
{
    QByteArray out;
    for (const uint16_t word : words)
        out.append(char(word & 0xFF)).append(char(word >> 8));
    return out;
}

QByteArray DoubleWords(std::initializer_list<uint32_t> values)
{
    QByteArray out;
    for (const uint32_t value : values)
        out += Words({uint16_t(value & 0xFFFF), uint16_t(value >> 16)});
    return out;
}

QByteArray Record(uint16_t function, const QByteArray& params)
{
    return DoubleWords({uint32_t(3 + (params.size() + 1) / 2)}) + Words({function}) + params +
           QByteArray(params.size() % 2, '\0');
}

// A picture of a frame 1000 units square, 1000 units to the inch, holding the records and a
// rectangle under them.
QByteArray WindowsMetafile(const QList<QByteArray>& records)
{
    QByteArray placeable = DoubleWords({0x9AC6CDD7}) + Words({0, 0, 0, 1000, 1000, 1000}) + DoubleWords({0});
    uint16_t checksum = 0;
    for (qsizetype at = 0; at < placeable.size(); at += 2)
        checksum ^= uint16_t(uint8_t(placeable[at]) | uint8_t(placeable[at + 1]) << 8);
    QByteArray body = Record(0x041B, Words({900, 900, 100, 100}));
    for (const QByteArray& record : records)
        body += record;
    body += Record(0x0000, {});
    uint32_t largest = 0;
    for (qsizetype at = 0; at < body.size();) {
        const uint32_t words = uint32_t(uint8_t(body[at]) | uint8_t(body[at + 1]) << 8);
        largest = std::max(largest, words);
        at += 2 * words;
    }
    const auto total = uint32_t((18 + body.size()) / 2);
    return placeable + Words({checksum, 1, 9, 0x0300}) + DoubleWords({total}) + Words({4}) +
           DoubleWords({largest}) + Words({0}) + body;
}

// A device-independent bitmap of 6 x 4 pixels: its header of 40 octets (12 with `core`), its
// colour table (counted in the header: libwmf reads no table of an uncounted one) and pixels, or
// the run-length data given.
QByteArray Bitmap(uint16_t bits, uint32_t compression = 0, const QByteArray& runs = {}, bool core = false)
{
    constexpr int kWidth = 6, kHeight = 4;
    const int colours = bits <= 8 ? 1 << bits : 0;
    QByteArray out = core ? DoubleWords({12}) + Words({kWidth, kHeight, 1, bits})
                          : DoubleWords({40, kWidth, kHeight}) + Words({1, bits}) +
                                DoubleWords({compression, uint32_t(runs.size()), 0, 0, uint32_t(colours), 0});
    for (int i = 0; i < colours; ++i)
        out += core ? QByteArray("\x20\x80\xE0", 3) : DoubleWords({0x0020C0E0u + uint32_t(i)});
    if (compression == 3)
        out += DoubleWords({0xF800, 0x07E0, 0x001F});
    return out + (runs.isEmpty() ? QByteArray((kWidth * bits + 31) / 32 * 4 * kHeight, '\x5A') : runs);
}

void WriteMetafileSeeds(const QString& root)
{
    // Each line of the run-length bitmaps a run of six pixels, the lines apart by their ends,
    // then the end of the bitmap.
    QByteArray rle8("\x06\x01", 2), rle4("\x06\x12", 2);
    for (int line = 1; line < 4; ++line)
        rle8 += QByteArray("\x00\x00\x06\x01", 4), rle4 += QByteArray("\x00\x00\x06\x12", 4);
    rle8 += QByteArray("\x00\x01", 2), rle4 += QByteArray("\x00\x01", 2);
    const QByteArray copy = DoubleWords({0x00CC0020});
    // Source y, x, height, width and destination y, x (the stretching forms: heights and widths).
    const QByteArray blt = Words({0, 0, 4, 6, 200, 100});
    const QByteArray stretch = Words({4, 6, 0, 0, 400, 600, 200, 100});
    // The old forms' bitmap: type, width, height, octets a line, planes and bits, pixels.
    const QByteArray device = Words({0, 6, 4, 2, 0x0101}) + QByteArray(8, '\x5A');
    const QDir folder = TargetFolder(root, "wmf");
    const struct {
        const char* name;
        QByteArray record;
    } seeds[] = {
        {"dibbitblt-24.wmf", Record(0x0940, copy + blt + Bitmap(24))},
        {"dibbitblt-without-bitmap.wmf", Record(0x0940, copy + Words({0, 0, 0, 4, 6, 200, 100}))},
        {"dibstretchblt-8.wmf", Record(0x0B41, copy + stretch + Bitmap(8))},
        {"stretchdib-rle8.wmf", Record(0x0F43, copy + Words({0}) + stretch + Bitmap(8, 1, rle8))},
        {"stretchdib-core-4.wmf", Record(0x0F43, copy + Words({0}) + stretch + Bitmap(4, 0, {}, true))},
        {"stretchdib-bitfields-16.wmf", Record(0x0F43, copy + Words({0}) + stretch + Bitmap(16, 3))},
        {"setdibtodev-rle4.wmf", Record(0x0D33, Words({0, 4, 0, 0, 0, 4, 6, 200, 100}) + Bitmap(4, 2, rle4))},
        {"setdibtodev-32.wmf", Record(0x0D33, Words({0, 4, 0, 0, 0, 4, 6, 200, 100}) + Bitmap(32))},
        {"pattern-brush-1.wmf", Record(0x0142, Words({5, 0}) + Bitmap(1)) + Record(0x012D, Words({0})) +
                                    Record(0x041B, Words({800, 800, 300, 300}))},
        {"bitblt.wmf", Record(0x0922, copy + blt + device)},
        {"stretchblt.wmf", Record(0x0B23, copy + stretch + device)},
    };
    for (const auto& seed : seeds)
        Write(folder, QString::fromLatin1(seed.name), WindowsMetafile({seed.record}));
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
    WriteMetafileSeeds(root);
    WriteDataFileSeed(root);
    WriteSettingsSeed(root);
    WriteLayoutSeed(root);
    return 0;
}
