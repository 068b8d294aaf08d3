// The silo-block layout file: written, read back, defaults for what it leaves out, bounds for
// what a hand-edited file holds, and a broken file kept and reported.
#include "AppTestEnvironment.h"
#include "BoardFixture.h"

#include "app/board/LayoutText.h"
#include "app/board/SiloBinLayout.h"
#include "base/Exception.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace {

class SiloBinLayoutTest : public ::testing::Test {
protected:
    std::vector<TfrSiLoBin*> Frames(int count)
    {
        std::vector<TfrSiLoBin*> frames;
        for (int i = 0; i < count; ++i) {
            auto* frame = new TfrSiLoBin(board.Monitor, static_cast<uint8_t>(i + 1), nullptr, &board.panel);
            frames.push_back(frame);
        }
        return frames;
    }
    QString Write(const QByteArray& text)
    {
        const QString path = folders.HomeFile("SiloBins.xml");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    TAppFolders folders;
    TBoardFixture board;
};

} // namespace

TEST(LayoutTextTest, NumbersAndDatesKeepOneFormWhateverTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(LayoutFloatText(12.5), "12.5");
    EXPECT_EQ(LayoutFloatText(4.6729), "4.6729");
    EXPECT_EQ(LayoutFloatText(50), "50");
    EXPECT_EQ(LayoutFloatText(0.1 + 0.2), "0.3");
    QLocale::setDefault(saved);

    struct Case {
        const char* text;
        double value;
    } floats[] = {{"12.5", 12.5}, {"12,5", 12.5}, {" -3 ", -3}, {"1E-5", 1e-5}, {"4.4084", 4.4084}};
    for (const Case& c : floats)
        EXPECT_DOUBLE_EQ(ParseLayoutFloat(QString::fromLatin1(c.text)), c.value) << c.text;
    for (const char* bad : {"", "abc", "1.2.3", "nan", "inf"})
        EXPECT_THROW(ParseLayoutFloat(QString::fromLatin1(bad)), EConvertError) << bad;

    const TDateTime afternoon = EncodeDateTime(2024, 3, 1, 14, 5, 0, 0);
    EXPECT_EQ(LayoutDateTimeText(afternoon), "01.03.2024 14:05:00");
    EXPECT_EQ(LayoutDateTimeText(EncodeDate(2024, 3, 1)), "01.03.2024");
    EXPECT_EQ(LayoutDateTimeText(0), "0:00:00");
    const std::pair<const char*, TDateTime> dates[] = {
        {"01.03.2024 14:05:00", afternoon},
        {"1.3.2024 14:05", afternoon},
        {"2024-03-01T14:05:00", afternoon},
        {"01.03.2024", EncodeDate(2024, 3, 1)},
        {"0:00:00", 0},
        {"12:00:00", 0.5},
    };
    for (const auto& [text, value] : dates) {
        const auto parsed = TryParseLayoutDateTime(QString::fromLatin1(text));
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_NEAR(*parsed, value, 1e-9) << text;
    }
    for (const char* bad : {"", "3/1/2024 2:05:00 PM", "31.02.2024", "01.03.2024 25:00"})
        EXPECT_FALSE(TryParseLayoutDateTime(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST_F(SiloBinLayoutTest, WrittenLayoutReadsBackIntoNewFrames)
{
    const QString path = folders.HomeFile("SiloBins.xml");
    {
        std::vector<TfrSiLoBin*> frames = Frames(2);
        frames[0]->SetCaption(QStringLiteral("Корпус «Север»"));
        frames[0]->HeighTD = 6;
        frames[0]->SetColWidth(70);
        frames[0]->SetGridSize(2, 14);
        frames[0]->move(120, 40);
        frames[0]->SetSilo(0, 0, board.Silos(0, 0));
        frames[0]->SetSilo(1, 13, board.Silos(1, 4));
        frames[1]->BinNo = 9;
        frames[1]->SetGridSize(1, 3);
        frames[1]->SetSilo(0, 2, board.Silos(1, 5));
        TSilos& card = *board.Silos(0, 0);
        card.SetSilosName(QStringLiteral("Силос 1"));
        card.TypeCorn = QStringLiteral("Пшеница");
        card.ClassCorn = QStringLiteral("3");
        card.OperName = QStringLiteral("Иванов");
        card.LoadData = EncodeDateTime(2024, 9, 15, 8, 30, 0, 0);
        card.Weight = 13.75;
        card.Wet = 1250.5;
        card.GetTIT(2)->SetOff(kR0Ohm53);
        card.GetTIT(2)->SetMult(kMultOhm53);
        card.GetTIT(2)->SetTk(-0.25);
        SaveSiloBinLayout(frames, path);
        for (TfrSiLoBin* frame : frames)
            delete frame;
    }
    // A new tree, as after the settings were loaded again.
    board.HardConfig = std::make_unique<THardConfig>(2, 6, 6);
    std::vector<TfrSiLoBin*> frames = Frames(3);
    const TLayoutLoadResult result = LoadSiloBinLayout(frames, path);
    EXPECT_EQ(result.State, TLayoutLoadResult::Loaded) << result.Error.toStdString();

    EXPECT_EQ(frames[0]->GetCaption(), QStringLiteral("Корпус «Север»"));
    EXPECT_EQ(frames[0]->BinNo, 1);
    EXPECT_EQ(frames[0]->HeighTD, 6);
    EXPECT_EQ(frames[0]->ColWidth(), 70);
    EXPECT_EQ(frames[0]->RowCount(), 2);
    EXPECT_EQ(frames[0]->ColCount(), 14);
    EXPECT_EQ(frames[0]->pos(), QPoint(120, 40));
    EXPECT_EQ(frames[0]->GetSilo(0, 0), board.Silos(0, 0));
    EXPECT_EQ(frames[0]->GetSilo(1, 13), board.Silos(1, 4));
    EXPECT_EQ(frames[1]->BinNo, 9);
    EXPECT_EQ(frames[1]->GetCaption(), QStringLiteral("Силкорпус 2"));
    EXPECT_EQ(frames[1]->GetSilo(0, 2), board.Silos(1, 5));
    // The third frame had no element: one row of eight empty cells.
    EXPECT_EQ(frames[2]->RowCount(), 1);
    EXPECT_EQ(frames[2]->ColCount(), 8);

    const TSilos& card = *board.Silos(0, 0);
    EXPECT_EQ(card.SilosName(), QStringLiteral("Силос 1"));
    EXPECT_EQ(card.TypeCorn, QStringLiteral("Пшеница"));
    EXPECT_EQ(card.ClassCorn, QStringLiteral("3"));
    EXPECT_EQ(card.OperName, QStringLiteral("Иванов"));
    EXPECT_NEAR(card.LoadData, EncodeDateTime(2024, 9, 15, 8, 30, 0, 0), 1e-9);
    EXPECT_DOUBLE_EQ(card.Weight, 13.75);
    EXPECT_DOUBLE_EQ(card.Wet, 1250.5);
    EXPECT_DOUBLE_EQ(card.GetTIT(2)->Off(), kR0Ohm53);
    EXPECT_DOUBLE_EQ(card.GetTIT(2)->Mult(), kMultOhm53);
    EXPECT_DOUBLE_EQ(card.GetTIT(2)->Tk(), -0.25);
    // An unnamed suspension (block 1, number 4) was written under its shown name and has it as
    // its own name now.
    EXPECT_EQ(board.Silos(1, 4)->SilosName(), QStringLiteral("2-5"));
}

TEST_F(SiloBinLayoutTest, ElementsAndAttributesAreWrittenInTheirOrder)
{
    std::vector<TfrSiLoBin*> frames = Frames(1);
    frames[0]->SetGridSize(1, 2);
    frames[0]->move(10, 0);
    frames[0]->SetSilo(0, 1, board.Silos(0, 1));
    board.Silos(0, 1)->Weight = 12.5;
    const QString text = QString::fromUtf8(SiloBinLayoutText(frames));
    EXPECT_TRUE(text.startsWith(QStringLiteral("<?xml version=\"1.0\"?>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "<silobins><silobin No=\"1\" binname=\"Силкорпус 1\" Row=\"1\" Col=\"2\" Left=\"10\" Top=\"0\" "
        "HeighTD=\"8\" BinColW=\"50\"><silos Row=\"0\" Col=\"1\" Addr=\"0\" No=\"1\" SilosName=\"1-2\" "
        "LoadData=\"0:00:00\" LoadDataUnix=\"-2209161600\" TypeCorn=\"\" ClassCorn=\"\" Weight=\"12.5\" "
        "Wet=\"0\" OperName=\"\"><tit No=\"0\" Tk=\"0\" Mult=\"1\" Off=\"0\"/>")))
        << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("<tit ")), 6);
}

TEST_F(SiloBinLayoutTest, MissingAttributesTakeTheirDefaults)
{
    const QString path = Write(
        "<?xml version=\"1.0\"?><silobins>"
        "<silobin No=\"4\"><silos Row=\"0\" Col=\"0\" Addr=\"1\" No=\"2\"><tit No=\"1\" Tk=\"1\" Mult=\"2\" Off=\"50\"/></silos></silobin>"
        "</silobins>");
    board.Silos(1, 2)->TypeCorn = QStringLiteral("было");
    board.Silos(1, 2)->LoadData = 45000;
    board.Silos(1, 2)->Weight = 3;
    std::vector<TfrSiLoBin*> frames = Frames(1);
    frames[0]->move(300, 300);
    EXPECT_EQ(LoadSiloBinLayout(frames, path).State, TLayoutLoadResult::Loaded);
    TfrSiLoBin& frame = *frames[0];
    EXPECT_EQ(frame.BinNo, 4);
    EXPECT_EQ(frame.GetCaption(), QStringLiteral("Силкорпус 4"));
    EXPECT_EQ(frame.pos(), QPoint(10, 0));
    EXPECT_EQ(frame.HeighTD, 8);
    EXPECT_EQ(frame.ColWidth(), 50);
    EXPECT_EQ(frame.RowCount(), 1);
    EXPECT_EQ(frame.ColCount(), 1);
    const TSilos& silos = *board.Silos(1, 2);
    EXPECT_EQ(frame.GetSilo(0, 0), &silos);
    EXPECT_EQ(silos.TypeCorn, QString());
    EXPECT_EQ(silos.LoadData, 0);
    EXPECT_EQ(silos.Weight, 0);
    EXPECT_DOUBLE_EQ(silos.GetTIT(1)->Off(), 50);
    EXPECT_DOUBLE_EQ(silos.GetTIT(0)->Off(), 0);   // not named: untouched
}

TEST_F(SiloBinLayoutTest, AnUnreadableLoadDateFallsBackOnTheUnixSeconds)
{
    const QString path = Write(
        "<silobins><silobin No=\"1\" Row=\"1\" Col=\"3\">"
        "<silos Row=\"0\" Col=\"0\" Addr=\"0\" No=\"0\" LoadData=\"вчера\" LoadDataUnix=\"86400\"/>"
        "<silos Row=\"0\" Col=\"1\" Addr=\"0\" No=\"1\" LoadData=\"вчера\"/>"
        "<silos Row=\"0\" Col=\"2\" Addr=\"0\" No=\"2\" LoadData=\"вчера\" LoadDataUnix=\"1e300\"/>"
        "</silobin></silobins>");
    board.Silos(0, 1)->LoadData = 45000;
    board.Silos(0, 2)->LoadData = 45000;
    std::vector<TfrSiLoBin*> frames = Frames(1);
    EXPECT_EQ(LoadSiloBinLayout(frames, path).State, TLayoutLoadResult::Loaded);
    EXPECT_DOUBLE_EQ(board.Silos(0, 0)->LoadData, EncodeDate(1970, 1, 2));
    EXPECT_EQ(board.Silos(0, 1)->LoadData, 0);
    EXPECT_EQ(board.Silos(0, 2)->LoadData, 0);   // no date: one that could never be written back
}

TEST_F(SiloBinLayoutTest, UnknownSuspensionsAndCellsOutsideTheTableAreSkipped)
{
    const QString path = Write(
        "<silobins><silobin No=\"1\" Row=\"1\" Col=\"2\">"
        "<silos Row=\"0\" Col=\"0\" Addr=\"7\" No=\"0\" SilosName=\"чужой\"/>"
        "<silos Row=\"0\" Col=\"0\" Addr=\"0\" No=\"9\" SilosName=\"чужой\"/>"
        "<silos Row=\"0\" Col=\"5\" Addr=\"0\" No=\"1\" SilosName=\"вне таблицы\"/>"
        "<silos Row=\"-1\" Col=\"0\" Addr=\"0\" No=\"2\" SilosName=\"вне таблицы\"/>"
        "<silos Row=\"0\" Col=\"1\" Addr=\"0\" No=\"3\" SilosName=\"свой\"/>"
        "</silobin></silobins>");
    std::vector<TfrSiLoBin*> frames = Frames(1);
    EXPECT_EQ(LoadSiloBinLayout(frames, path).State, TLayoutLoadResult::Loaded);
    EXPECT_EQ(frames[0]->GetSilo(0, 0), nullptr);
    EXPECT_EQ(frames[0]->GetSilo(0, 1), board.Silos(0, 3));
    EXPECT_EQ(board.Silos(0, 1)->SilosName(), QString());   // its card was not read
    EXPECT_EQ(board.Silos(0, 2)->SilosName(), QString());
    EXPECT_EQ(board.Silos(0, 3)->SilosName(), QStringLiteral("свой"));
}

TEST_F(SiloBinLayoutTest, SizesFromAHandEditedFileAreBounded)
{
    const QString path = Write(
        "<silobins><silobin No=\"300\" Row=\"65535\" Col=\"0\" BinColW=\"3\" HeighTD=\"100000\" Left=\"-50\" Top=\"999999999\"/>"
        "<silobin No=\"-1\" Row=\"2\" Col=\"3000\" BinColW=\"60000\" HeighTD=\"1\"/></silobins>");
    std::vector<TfrSiLoBin*> frames = Frames(2);
    EXPECT_EQ(LoadSiloBinLayout(frames, path).State, TLayoutLoadResult::Loaded);
    EXPECT_EQ(frames[0]->BinNo, 300 & 0xFF);
    EXPECT_EQ(frames[0]->RowCount(), kMaxGridRows);
    EXPECT_EQ(frames[0]->ColCount(), 1);
    EXPECT_EQ(frames[0]->ColWidth(), kMinColWidth);
    EXPECT_EQ(frames[0]->HeighTD, kMaxBandHeight);
    EXPECT_EQ(frames[0]->x(), 0);
    EXPECT_LE(frames[0]->y(), 100000);
    EXPECT_EQ(frames[1]->BinNo, 2);   // a negative number leaves the frame's own
    EXPECT_EQ(frames[1]->ColCount(), kMaxGridCols);
    EXPECT_EQ(frames[1]->ColWidth(), kMaxColWidth);
    EXPECT_EQ(frames[1]->HeighTD, kMinBandHeight);
}

TEST_F(SiloBinLayoutTest, ABrokenFileIsReportedAndLeftAsItIs)
{
    const QByteArray broken = "<?xml version=\"1.0\"?><silobins><silobin No=\"1\" Row=\"2\"";
    const QString path = Write(broken);
    std::vector<TfrSiLoBin*> frames = Frames(2);
    const TLayoutLoadResult result = LoadSiloBinLayout(frames, path);
    EXPECT_EQ(result.State, TLayoutLoadResult::Failed);
    EXPECT_FALSE(result.Error.isEmpty());
    for (TfrSiLoBin* frame : frames) {
        EXPECT_EQ(frame->RowCount(), 1);
        EXPECT_EQ(frame->ColCount(), 8);
    }
    EXPECT_EQ(Read(path), broken);

    // A missing file is no failure: the frames get the default table.
    EXPECT_EQ(LoadSiloBinLayout(frames, folders.HomeFile("none.xml")).State, TLayoutLoadResult::Missing);
}

TEST_F(SiloBinLayoutTest, AConversionErrorEndsTheReadingButKeepsWhatCameBefore)
{
    const QString path = Write(
        "<silobins>"
        "<silobin No=\"1\" Row=\"1\" Col=\"2\"><silos Row=\"0\" Col=\"0\" Addr=\"0\" No=\"0\" SilosName=\"A\"/></silobin>"
        "<silobin No=\"2\" Row=\"1\" Col=\"2\"><silos Row=\"0\" Col=\"0\" Addr=\"0\" No=\"1\" SilosName=\"B\">"
        "<tit No=\"0\" Tk=\"0\" Mult=\"много\" Off=\"50\"/></silos>"
        "<silos Row=\"0\" Col=\"1\" Addr=\"0\" No=\"2\" SilosName=\"C\"/></silobin>"
        "<silobin No=\"3\" Row=\"3\" Col=\"3\"/>"
        "</silobins>");
    std::vector<TfrSiLoBin*> frames = Frames(3);
    const TLayoutLoadResult result = LoadSiloBinLayout(frames, path);
    EXPECT_EQ(result.State, TLayoutLoadResult::Failed);
    EXPECT_TRUE(result.Error.contains(QStringLiteral("много"))) << result.Error.toStdString();
    EXPECT_EQ(frames[0]->GetSilo(0, 0), board.Silos(0, 0));
    EXPECT_EQ(frames[1]->GetSilo(0, 0), board.Silos(0, 1));
    EXPECT_EQ(frames[1]->GetSilo(0, 1), nullptr);
    EXPECT_EQ(board.Silos(0, 2)->SilosName(), QString());
    EXPECT_EQ(frames[2]->RowCount(), 1);
    EXPECT_EQ(frames[2]->ColCount(), 8);

    for (const char* required : {"<silobins><silobin Row=\"1\"/></silobins>",
             "<silobins><silobin No=\"1\"><silos Row=\"0\" Col=\"0\" No=\"0\"/></silobin></silobins>",
             "<silobins><silobin No=\"1\"><silos Row=\"0\" Col=\"0\" Addr=\"0\" No=\"0\"><tit No=\"0\" Tk=\"0\" Off=\"5\"/></silos></silobin></silobins>",
             "<silobins><silobin No=\"1\" Row=\"x\"/></silobins>"})
        EXPECT_EQ(LoadSiloBinLayout(frames, Write(required)).State, TLayoutLoadResult::Failed) << required;
}

TEST_F(SiloBinLayoutTest, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray old = "<silobins/>";
    const QString path = Write(old);
    std::vector<TfrSiLoBin*> frames = Frames(1);
    frames[0]->SetGridSize(1, 1);
    EXPECT_THROW(SaveSiloBinLayout(frames, folders.HomeFile("no/such/folder/x.xml")), Exception);
    SaveSiloBinLayout(frames, path);
    EXPECT_NE(Read(path), old);
}
