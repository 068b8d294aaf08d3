// The rows the state reports print: the protocol's rows for a chosen poll with its filters and
// sort, the two-column pairs, and the silo card's record-card columns.
#include "app/reports/ProtocolData.h"
#include "app/reports/ReportTables.h"
#include "app/reports/SiloCardData.h"
#include "report/data/MemoryTable.h"
#include "report/expr/ReportVariant.h"
#include "tests/app/StateReportBoard.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class StateReportData : public ::testing::Test, public TStateReportBoard {
protected:
    StateReportData()
    {
        DefineReportTable(dmReport);
        DefineReport2ColTable(dmReport2Col);
        DefineSiloBinTable(dmReportSiloBin);
    }

    void Fill(const TProtocolFilter& filter = {}, bool sortBySilos = true, const TBoardSuspensions& board = {})
    {
        FillReportData(dmReport, board.empty() ? Board() : board, Poll, Settings, filter, sortBySilos);
    }

    // The field of every row, in row order; null values as "null".
    static QStringList Column(TMemoryTable& table, const QString& field)
    {
        QStringList values;
        for (table.First(); !table.Eof(); table.Next()) {
            const QVariant value = table.Field(field)->Value();
            values << (VarIsNull(value) ? QStringLiteral("null") : value.toString());
        }
        return values;
    }

    TMemoryTable dmReport, dmReport2Col, dmReportSiloBin;
};

TEST_F(StateReportData, ProtocolListsTheReadingsOfTheChosenPollOnly)
{
    const TDateTime earlier = Poll.Time - 1;
    Reading(0, 0, 12.5);
    Reading(0, 0, 99, earlier);
    Reading(0, 2, 14);
    Reading(1, 0, 99, earlier);   // nothing at the poll: no row
    Reading(2, 5, 16);
    Fill();
    EXPECT_EQ(Column(dmReport, "BinName"), QStringList({"Силкорпус 1", "Силкорпус 1"}));
    EXPECT_EQ(Column(dmReport, "SilName"), QStringList({"1-1", "1-3"}));
    EXPECT_EQ(Column(dmReport, "HardAddr"), QStringList({"1-1-1", "1-1-3"}));
    EXPECT_EQ(Column(dmReport, "TD1"), QStringList({"12.5", "null"}));
    EXPECT_EQ(Column(dmReport, "TD2"), QStringList({"null", "null"}));
    EXPECT_EQ(Column(dmReport, "TD3"), QStringList({"14", "null"}));
    EXPECT_EQ(Column(dmReport, "TD6"), QStringList({"null", "16"}));
    EXPECT_EQ(Column(dmReport, "Alarm1"), QStringList({"false", "null"}));
}

TEST_F(StateReportData, ProtocolFiltersByRangeAndErrors)
{
    // MaxT 30: 35 and the open line 75 are over it, the short circuit -40 is not.
    Reading(0, 0, 10);
    Reading(0, 1, 25);
    Reading(1, 0, 35);
    Reading(2, 0, 20);
    Reading(3, 0, -40);
    Reading(3, 1, 75);
    struct Case {
        const char* what;
        TProtocolFilter filter;
        int maxT;
        QStringList silos;
        QStringList td1;
    };
    const Case cases[] = {
        {"no range", {false, 0, 0}, 30, {"1-1", "1-2", "1-3", "1-4"}, {"10", "35", "20", "-40"}},
        {"errors only", {true, 0, 0}, 30, {"1-2", "1-4"}, {"35", "-40"}},
        {"errors only, none over the maximum", {true, 0, 0}, 80, {}, {}},
        {"range, ends included", {false, 20, 30}, 30, {"1-1", "1-3"}, {"null", "20"}},
        {"minimum above maximum", {false, 30, 20}, 30, {}, {}},
        {"range and errors: over the maximum but outside the range", {true, 30, 40}, 30, {"1-2"}, {"35"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings.MaxT = c.maxT;
        Fill(c.filter);
        EXPECT_EQ(Column(dmReport, "SilName"), c.silos);
        EXPECT_EQ(Column(dmReport, "TD1"), c.td1);
    }
}

TEST_F(StateReportData, ProtocolSortsNamesAsTextIgnoringCase)
{
    for (int s = 0; s < 4; ++s)
        Reading(s, 0, 10 + s);
    TBoardSuspensions board = Board({"b", "10", "A", "2"});
    board[0].BinName = QStringLiteral("СК 2");
    board[1].BinName = QStringLiteral("ск 3");
    board[2].BinName = QStringLiteral("СК 10");
    board[3].BinName = QStringLiteral("СК 1");
    Fill({}, true, board);
    EXPECT_EQ(Column(dmReport, "SilName"), QStringList({"10", "2", "A", "b"}));
    Fill({}, false, board);
    EXPECT_EQ(Column(dmReport, "BinName"), QStringList({"СК 1", "СК 10", "СК 2", "ск 3"}));
}

TEST_F(StateReportData, ProtocolMarksRateAlarmsWhenTheRateIsChecked)
{
    // Sensor 1 rises 2 degrees a day over the five days ending with the poll, sensor 2 stays.
    for (int day = 4; day >= 0; --day) {
        Reading(0, 0, 10 - 2 * day, Poll.Time - day);
        Reading(0, 1, 10, Poll.Time - day);
    }
    Settings.CheckSpeed = 0.5;
    Settings.UseCheckSpeed = true;
    Fill();
    EXPECT_EQ(Column(dmReport, "Alarm1"), QStringList({"true"}));
    EXPECT_EQ(Column(dmReport, "Alarm2"), QStringList({"false"}));
    Settings.UseCheckSpeed = false;
    Fill();
    EXPECT_EQ(Column(dmReport, "Alarm1"), QStringList({"false"}));
}

TEST_F(StateReportData, TwoColumnsPairTheRowsAndLeaveAnOddLastHalfEmpty)
{
    for (int s = 0; s < 3; ++s) {
        Reading(s, 0, 10 + s);
        Reading(s, 5, 20 + s);
    }
    Fill();
    CopyToTwoColumn(dmReport, dmReport2Col);
    EXPECT_EQ(Column(dmReport2Col, "SilName"), QStringList({"1-1", "1-3"}));
    EXPECT_EQ(Column(dmReport2Col, "SilName2"), QStringList({"1-2", "null"}));
    EXPECT_EQ(Column(dmReport2Col, "HardAddr2"), QStringList({"1-1-2", "null"}));
    EXPECT_EQ(Column(dmReport2Col, "TD1"), QStringList({"10", "12"}));
    EXPECT_EQ(Column(dmReport2Col, "TD12"), QStringList({"11", "null"}));
    EXPECT_EQ(Column(dmReport2Col, "TD62"), QStringList({"21", "null"}));
    EXPECT_EQ(Column(dmReport2Col, "Alarm12"), QStringList({"false", "null"}));
    // The right-hand temperatures carry their sensor's number and the half's suffix as tag.
    EXPECT_EQ(dmReport2Col.Field("TD32")->Tag, 32);
}

TEST_F(StateReportData, SiloCardShowsTheRecordCardAndCurrentValues)
{
    TSilos& silos = Silos(0);
    silos.TypeCorn = QStringLiteral("Пшеница озимая мягкая продовольственная");
    silos.ClassCorn = QStringLiteral("3");
    silos.OperName = QStringLiteral("Иванов");
    silos.Weight = 13.5;   // the card's moisture row
    silos.Wet = 1250.25;   // its weight row
    silos.LoadData = EncodeDateTime(2024, 9, 1, 8, 0, 0, 0);
    Silos(1).LoadData = 0;
    silos.GetTIT(0)->AddValue(true, Poll.Time, 17.25, Settings);
    // Numbers with the system's decimal separator, as the record card shows them.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    FillSiloCardData(dmReportSiloBin, Board());
    QLocale::setDefault(saved);
    EXPECT_EQ(Column(dmReportSiloBin, "HardNo").first(), "1-1-1");
    EXPECT_EQ(Column(dmReportSiloBin, "TypeCorn").first(), silos.TypeCorn);   // kept whole
    EXPECT_EQ(Column(dmReportSiloBin, "Weight").first(), "13,50");
    EXPECT_EQ(Column(dmReportSiloBin, "Wet").first(), "1250,25");
    EXPECT_EQ(Column(dmReportSiloBin, "TMLoad").mid(0, 2), QStringList({"01:09:24", ""}));
    EXPECT_EQ(Column(dmReportSiloBin, "TD1").mid(0, 2), QStringList({"17.25", "-999"}));
}

}  // namespace
