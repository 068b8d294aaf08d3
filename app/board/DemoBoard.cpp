#include "app/board/DemoBoard.h"

#include "base/Format.h"
#include "base/HexText.h"
#include "core/LogFile.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/IniFile.h"
#include "platform/posix/ProgramFolder.h"

#include <QFile>
#include <QString>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kBlocks = 2;
constexpr int kSilosPerBlock = 6;
constexpr int kTITPerSilos = 6;
// The reference resistor of the built-in calculation procedure.
constexpr double kRi = 51.0;

const char* const kCrops[] = {"Пшеница", "Ячмень", "Кукуруза", "Подсолнечник"};

std::string LayoutText()
{
    std::string xml = "<?xml version=\"1.0\"?>\r\n<silobins>";
    for (int block = 0; block < kBlocks; ++block) {
        xml += Format("<silobin No=\"%d\" binname=\"Силкорпус %d\" Row=\"2\" Col=\"3\" Left=\"%d\" Top=\"10\" "
                      "HeighTD=\"8\" BinColW=\"50\">",
            block + 1, block + 1, 10 + block * 200);
        for (int silos = 0; silos < kSilosPerBlock; ++silos) {
            const int number = block * kSilosPerBlock + silos + 1;
            xml += Format("<silos Row=\"%d\" Col=\"%d\" Addr=\"%d\" No=\"%d\" SilosName=\"%d\" "
                          "LoadData=\"01.09.2024 08:00:00\" TypeCorn=\"%s\" ClassCorn=\"%d\" Weight=\"13.5\" "
                          "Wet=\"%d\" OperName=\"Оператор\">",
                silos / 3, silos % 3, block, silos, number, kCrops[number % 4], 1 + number % 3, 500 + number * 25);
            for (int tit = 0; tit < kTITPerSilos; ++tit)
                xml += Format("<tit No=\"%d\" Tk=\"0\" Mult=\"4.6729\" Off=\"50\"/>", tit);
            xml += "</silos>";
        }
        xml += "</silobin>";
    }
    return xml + "</silobins>\r\n";
}

// A local block's data reply for a channel, as a debug log shows it: the leader octets, function
// 0x94, one channel, format 2, then the four raw words U1 = 1000, U2 = U3 = 0 and U4 giving the
// sensor's resistance at that temperature.
std::string ReplyLine(uint16_t channel, double celsius)
{
    const double ohms = 50.0 + celsius / 4.6729;
    const auto u4 = static_cast<uint16_t>(std::lround(ohms * 1000.0 / kRi));
    const std::vector<uint8_t> reply = {0x88, 0xFA, 0x01, 0x00, 0x00, 0x94, 0x10, static_cast<uint8_t>(channel & 0xFF),
        static_cast<uint8_t>(channel >> 8), 0x02, 0xE8, 0x03, 0x00, 0x00, 0x00, 0x00,
        static_cast<uint8_t>(u4 & 0xFF), static_cast<uint8_t>(u4 >> 8)};
    return LogLinePrefix(0).toStdString() + "->: " + BytesToHex(reply) + "\r\n";
}

std::string SilentLine(uint16_t channel)
{
    return LogLinePrefix(0).toStdString() + Format("нет ответа на запрос 94 10 %.2X %.2X\r\n", channel & 0xFF, channel >> 8);
}

std::string NoComText()
{
    std::string text;
    for (int block = 0; block < kBlocks; ++block)
        for (int silos = 0; silos < kSilosPerBlock; ++silos)
            for (int tit = 0; tit < kTITPerSilos; ++tit) {
                const double celsius = DemoTemperature(block, silos, tit);
                const auto channel = static_cast<uint16_t>(silos * 6 + tit);
                // The silent sensor's line names its channel but holds no reply, so the search
                // for the next channel goes on from there.
                text += std::isnan(celsius) ? SilentLine(channel) : ReplyLine(channel, celsius);
            }
    return text;
}

void WriteIfMissing(const std::string& path, const std::string& text)
{
    if (!QFile::exists(QString::fromStdString(path)))
        WriteFileAtomically(path, text);
}

} // namespace

double DemoTemperature(int block, int silos, int tit)
{
    if (block == 1 && silos == 4 && tit == 3)
        return std::numeric_limits<double>::quiet_NaN();   // never answers
    if (block == 0 && silos == 2 && tit >= 4)
        return 33.5 + tit;                                 // above the maximum set-point (30)
    if (block == 1 && silos == 1 && tit == 5)
        return 95;                                         // open line
    if (block == 1 && silos == 5 && tit == 0)
        return -45;                                        // short circuit
    return 11.0 + block * 1.5 + silos * 0.7 + tit * 1.1;
}

void CreateDemoBoardFiles(IniFile& ini)
{
    // The layout file's default place: the settings need not name it.
    WriteIfMissing(ProgramFile("SiloBins.xml"), LayoutText());
    WriteIfMissing(ProgramFile("nocom.log"), NoComText());
    // Quick passes: the no-port replies need no waiting for a line.
    ini.WriteInteger("Конфигурация", "Пауза включения модуля", 20);
    ini.WriteInteger("Конфигурация", "Пауза отключения модуля", 20);
    ini.WriteInteger("Конфигурация", "Пауза между командами запроса", 20);
}
