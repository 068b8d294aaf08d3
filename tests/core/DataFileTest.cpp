#include "base/Exception.h"
#include "core/DataFile/DataFile.h"
#include "core/Parameters.h"
#include "ReadingsTestSupport.h"
#include "SensorTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

class DataFile : public SensorTest {
protected:
    QString Path(const char* name = "data.dxml") const { return dir_.filePath(QString::fromLatin1(name)); }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // The red lines posted so far.
    std::vector<std::string> RedLines()
    {
        std::vector<std::string> lines;
        for (const auto& [text, colour] : Log())
            if (colour == kLogError)
                lines.push_back(text);
        return lines;
    }

private:
    QTemporaryDir dir_;
};

const char* const kDeclaration = "<?xml version=\"1.0\"?>\n";

QByteArray Document(const QByteArray& devices)
{
    return QByteArray(kDeclaration) + "<devices>" + devices + "</devices>\n";
}

} // namespace

TEST_F(DataFile, WritesDevicesSensorsAndPointsInTheirFormAndOrder)
{
    THardConfig tree(1, 2, 4);
    const TDateTime time = EncodeDateTime(2024, 5, 1, 9, 5, 3, 250);
    tree.GetMB(0)->GetSilos(0)->GetTIT(3)->AssignPoints({MakePoint(time, 12.5), MakePoint(time + 1, -0.1)});
    SaveDataFile(tree, Path());

    const QByteArray expected =
        Document("<device Addr=\"0\" No=\"0\" SilosName=\"1-1\"><tit No=\"3\">"
                 "<point time=\"2024-05-01T09:05:03.250\" value=\"12.5\" unixtime=\"" +
                 QByteArray::number(DateTimeToUnix(time)) +
                 "\"/>"
                 "<point time=\"2024-05-02T09:05:03.250\" value=\"-0.1\" unixtime=\"" +
                 QByteArray::number(DateTimeToUnix(time + 1)) + "\"/></tit></device>");
    EXPECT_EQ(Read(Path()), expected);
}

TEST_F(DataFile, ATreeWithoutPointsWritesAnEmptyDocument)
{
    THardConfig tree(2, 2, 2);
    SaveDataFile(tree, Path());
    EXPECT_EQ(Read(Path()), QByteArray(kDeclaration) + "<devices/>\n");

    THardConfig loaded(2, 2, 2);
    EXPECT_EQ(LoadDataFile(loaded, Path(), Settings.AveragePeriod, LogSink()).result, TDataFileLoad::Result::Complete);
}

TEST_F(DataFile, ReadsBackEveryHistoryExactly)
{
    const SampleTree sample;
    SaveDataFile(sample.tree, Path());
    const QByteArray bytes = Read(Path());
    EXPECT_TRUE(bytes.contains("SilosName=\"Силос &quot;А&quot; 'б' &lt;&amp;&gt;\""));
    EXPECT_FALSE(bytes.contains("No=\"2\" SilosName=\"1-3\"")) << "a suspension without points writes nothing";

    THardConfig loaded(2, 3, 3);
    const TDataFileLoad result = LoadDataFile(loaded, Path(), Settings.AveragePeriod, LogSink());
    EXPECT_EQ(result.result, TDataFileLoad::Result::Complete);
    EXPECT_TRUE(result.error.isEmpty());
    ExpectSameHistories(loaded, sample.tree);
    EXPECT_TRUE(RedLines().empty());
}

TEST_F(DataFile, LoadingReplacesTheNamedSensorsAndRebuildsTheirAverages)
{
    Settings.AveragePeriod = 120;
    const SampleTree sample;
    SaveDataFile(sample.tree, Path());

    // Another tree whose names differ: suspensions are found by "Addr" and "No" alone.
    THardConfig tree(2, 3, 3);
    tree.GetMB(0)->GetSilos(0)->SetSilosName(QStringLiteral("другое имя"));
    TTIT& named = *tree.GetMB(0)->GetSilos(1)->GetTIT(2);   // in the file: replaced
    TTIT& unnamed = *tree.GetMB(0)->GetSilos(1)->GetTIT(0); // not in the file: kept
    named.AssignPoints(HourlyPoints(20, 99.0));
    unnamed.AssignPoints(HourlyPoints(21, 98.0));
    named.ClearAverages();

    EXPECT_EQ(LoadDataFile(tree, Path(), Settings.AveragePeriod, LogSink()).result, TDataFileLoad::Result::Complete);
    ExpectSamePoints(named.Points(), sample.Tit(0, 1, 2).Points(), "named");
    ExpectSamePoints(unnamed.Points(), HourlyPoints(21, 98.0), "unnamed");
    ExpectSamePoints(tree.GetMB(0)->GetSilos(0)->GetTIT(1)->Points(), sample.Tit(0, 0, 1).Points(), "renamed");
    // Five hourly points from 08:15 in windows of two hours: three averaged points.
    EXPECT_EQ(named.AverageCount(), 3);
}

TEST_F(DataFile, SkipsElementsNamingNoBlockSuspensionOrSensor)
{
    const QByteArray point = "<point time=\"2024-05-01T10:00:00.000\" value=\"7\" unixtime=\"0\"/>";
    Write(Path(), Document("<device Addr=\"5\" No=\"0\"><tit No=\"0\">" + point + "</tit></device>"
                           "<device Addr=\"99999999999\" No=\"x\"/>"
                           "<device Addr=\"0\" No=\"7\"><tit No=\"0\">" + point + "</tit></device>"
                           "<device Addr=\"0\" No=\"1\"><tit No=\"4\">" + point + "</tit>"
                           "<tit No=\"-1\">" + point + "</tit><tit No=\"1\">" + point + "</tit></device>"
                           "<anything Addr=\"1\" No=\"0\"><other No=\"0\">" + point + point + "</other></anything>"));
    THardConfig tree(2, 2, 2);
    EXPECT_EQ(LoadDataFile(tree, Path(), Settings.AveragePeriod, LogSink()).result, TDataFileLoad::Result::Complete);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(1)->GetTIT(1)->PointCount(), 1);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(1)->GetTIT(0)->PointCount(), 0);
    EXPECT_EQ(tree.GetMB(1)->GetSilos(0)->GetTIT(0)->PointCount(), 2);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(0)->GetTIT(0)->PointCount(), 0);
    EXPECT_TRUE(RedLines().empty());
}

TEST_F(DataFile, ReadsTheTextsOfOlderFiles)
{
    const TDateTime nine = EncodeDateTime(2024, 5, 1, 9, 5, 3, 0);
    const QByteArray unixNine = QByteArray::number(DateTimeToUnix(nine));
    const struct {
        QByteArray attributes;
        TDateTime time;
        double value;
    } cases[] = {
        {"time=\"01.05.2024 9:05:03\" value=\"12,5\" unixtime=\"" + unixNine + "\"", nine, 12.5},
        {"time=\"1.5.2024 09:05\" value=\"-0,25\"", EncodeDateTime(2024, 5, 1, 9, 5, 0, 0), -0.25},
        {"time=\"01.05.2024\" value=\"3\" unixtime=\"1\"", EncodeDate(2024, 5, 1), 3},
        {"time=\"2024-05-01T09:05:03\" value=\"1,5E-3\"", nine, 1.5e-3},
        // A form no reader here knows: the Unix time stands in.
        {"time=\"5/1/2024 9:05:03 AM\" value=\"  7.75 \" unixtime=\"" + unixNine + "\"", nine, 7.75},
        {"time=\"2024.05.01 09:05:03\" value=\"0\" unixtime=\"" + unixNine + "\"", nine, 0},
    };
    for (const auto& c : cases) {
        Write(Path(), Document("<device Addr=\"0\" No=\"0\"><tit No=\"0\"><point " + c.attributes + "/></tit></device>"));
        THardConfig tree(1, 1, 1);
        ASSERT_EQ(LoadDataFile(tree, Path(), Settings.AveragePeriod, LogSink()).result, TDataFileLoad::Result::Complete) << c.attributes.constData();
        ExpectSamePoints(tree.GetMB(0)->GetSilos(0)->GetTIT(0)->Points(), {MakePoint(c.time, c.value)},
                         c.attributes.constData());
    }
    EXPECT_TRUE(RedLines().empty());
}

TEST_F(DataFile, AFailureStopsTheReadingKeepsWhatWasReadAndIsReported)
{
    const QByteArray good = "<device Addr=\"0\" No=\"0\"><tit No=\"0\">"
                            "<point time=\"2024-05-01T10:00:00.000\" value=\"7\" unixtime=\"0\"/></tit></device>";
    const QByteArray firstPoint = "<device Addr=\"0\" No=\"1\"><tit No=\"0\">"
                                  "<point time=\"2024-05-02T10:00:00.000\" value=\"8\"/>";
    const QByteArray after = "</tit></device><device Addr=\"1\" No=\"0\"><tit No=\"0\">"
                             "<point time=\"2024-05-03T10:00:00.000\" value=\"9\"/></tit></device>";
    const struct {
        const char* what;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"a point without time", Document(good + firstPoint + "<point value=\"1\"/>" + after), "нет атрибута \"time\""},
        {"a value that is no number", Document(good + firstPoint + "<point time=\"2024-05-02T11:00:00.000\" value=\"abc\"/>" + after),
         "\"abc\" не является числом"},
        {"an unreadable time without Unix time", Document(good + firstPoint + "<point time=\"5/2/2024\" value=\"1\"/>" + after),
         "\"5/2/2024\" не является датой и временем"},
        {"a missing block address", Document(good + firstPoint + "</tit></device><device No=\"0\"/>" + after),
         "нет атрибута \"Addr\""},
        {"a sensor number that is no number", Document(good + firstPoint + "</tit><tit No=\"1a\"></tit>" + after),
         "\"1a\" не является целым числом (атрибут \"No\")"},
        {"a file cut short", QByteArray(kDeclaration) + "<devices>" + good + firstPoint + "<point time=\"2024-05-0",
         "файл обрывается"},
        {"broken markup", Document(good + firstPoint + "<point time=\"2024-05-02T11:00:00\" value=1/>" + after), "ошибка XML в строке"},
    };
    for (const auto& c : cases) {
        Write(Path(), c.bytes);
        THardConfig tree(2, 2, 1);
        TTIT& notReached = *tree.GetMB(1)->GetSilos(0)->GetTIT(0);
        notReached.AssignPoints(HourlyPoints(15, 1.0));
        const auto linesBefore = RedLines().size();

        const TDataFileLoad result = LoadDataFile(tree, Path(), Settings.AveragePeriod, LogSink());
        EXPECT_TRUE(result.IsPartial()) << c.what;
        EXPECT_TRUE(result.error.startsWith(QString::fromUtf8(c.reason))) << c.what << ": " << result.error.toStdString();
        const auto lines = RedLines();
        ASSERT_EQ(lines.size(), linesBefore + 1) << c.what;
        EXPECT_EQ(lines.back(), "При чтении файла \"" + Path().toStdString() + "\" ошибка: " + result.error.toStdString())
            << c.what;
        // What came before the failure is loaded, the sensor being read keeps its first point,
        // and what the reading did not reach keeps its own points.
        EXPECT_EQ(tree.GetMB(0)->GetSilos(0)->GetTIT(0)->PointCount(), 1) << c.what;
        EXPECT_EQ(tree.GetMB(0)->GetSilos(1)->GetTIT(0)->PointCount(), 1) << c.what;
        ExpectSamePoints(notReached.Points(), HourlyPoints(15, 1.0), c.what);
        EXPECT_EQ(Read(Path()), c.bytes) << c.what << ": the file is not touched";
    }
}

TEST_F(DataFile, NoFileReadsNothing)
{
    THardConfig tree(1, 1, 1);
    tree.GetMB(0)->GetSilos(0)->GetTIT(0)->AssignPoints(HourlyPoints(1, 2.0));
    EXPECT_EQ(LoadDataFile(tree, Path("none.dxml")).result, TDataFileLoad::Result::Missing);
    EXPECT_EQ(LoadDataFile(tree, QString()).result, TDataFileLoad::Result::Missing);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(0)->GetTIT(0)->PointCount(), 5);
    EXPECT_TRUE(Log().empty());
}

TEST_F(DataFile, AnUnreadableFileIsReported)
{
    QDir().mkdir(Path("folder.dxml"));
    THardConfig tree(1, 1, 1);
    EXPECT_TRUE(LoadDataFile(tree, Path("folder.dxml"), 0, LogSink()).IsPartial());
    EXPECT_EQ(RedLines().size(), 1u);
}

TEST_F(DataFile, AFailedSaveLeavesTheFormerFileWhole)
{
    const SampleTree sample;
    SaveDataFile(sample.tree, Path());
    const QByteArray former = Read(Path());

    // A tree whose document is far larger than the files the process may write now: the write
    // fails part-way, as on a full disk.
    THardConfig big(4, 12, 6);
    for (int b = 0; b < 4; ++b)
        for (int s = 0; s < 12; ++s)
            big.GetMB(b)->GetSilos(s)->GetTIT(0)->AssignPoints(HourlyPoints(1, b + s, 15));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool failed = false;
    try {
        SaveDataFile(big, Path());
    } catch (const Exception& e) {
        failed = true;
        EXPECT_NE(std::string(e.what()).find("не удаётся записать файл"), std::string::npos) << e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(failed);
    EXPECT_EQ(Read(Path()), former);
    EXPECT_EQ(QDir(QFileInfo(Path()).path()).entryList(QDir::Files), QStringList{QStringLiteral("data.dxml")})
        << "no half-written file is left beside it";
}

TEST_F(DataFile, SavingIntoAMissingFolderRaises)
{
    const SampleTree sample;
    EXPECT_THROW(SaveDataFile(sample.tree, Path("no such folder/data.dxml")), Exception);
}
