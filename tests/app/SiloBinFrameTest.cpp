// The silo-block frame: its table, sizes, bands and colours (sampled from the painted widget),
// the focused cell and the pop-up actions.
#include "AppTestEnvironment.h"
#include "BoardFixture.h"

#include "app/detail/DetailView.h"
#include "platform/qt/QtColour.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloCellGeometry.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QRubberBand>

#include <chrono>

namespace {

struct TRecordedDetail : IDetailView {
    void ShowSilosDetail(const QString& caption, TSilos* silos) override
    {
        captions << caption;
        shown.push_back(silos);
    }
    QStringList captions;
    std::vector<TSilos*> shown;
};

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class SiloBinFrameTest : public ::testing::Test {
protected:
    TAppFolders folders;
    TBoardFixture board;
};

} // namespace

TEST(SiloCellGeometryTest, RowHeightGrowsBySensorCountToEighteenPixels)
{
    struct Case {
        int sensors, band, height;
    } cases[] = {
        {6, 1, 20},  // 8 < 18: 14, then 20
        {6, 8, 50},
        {4, 8, 34},
        {1, 4, 18},  // 6, grown one by one
        {6, 32, 194},
        {0, 8, 18},  // no tree yet
    };
    for (const Case& c : cases)
        EXPECT_EQ(SiloRowHeight(c.sensors, c.band), c.height) << c.sensors << " x " << c.band;
}

TEST(SiloCellGeometryTest, BandsLeaveOneRowBetweenThemAndStartBelowTheTop)
{
    // Four sensors in a content height of 50: b = 12.
    const QRect content(10, 100, 40, 50);
    const int expected[][2] = {{101, 111}, {113, 123}, {125, 135}, {137, 147}};
    for (int k = 0; k < 4; ++k) {
        const QRect band = SensorBandRect(content, 4, k);
        EXPECT_EQ(band.top(), expected[k][0]) << k;
        EXPECT_EQ(band.bottom(), expected[k][1]) << k;
        EXPECT_EQ(band.left(), content.left());
        EXPECT_EQ(band.right(), content.right());
    }
    // Too little height for bands: none drawn, nothing inverted.
    EXPECT_TRUE(SensorBandRect(QRect(0, 0, 10, 5), 6, 0).isEmpty());
}

TEST(SiloCellGeometryTest, LongNamesAreCutToThreeCharactersAndTwoDots)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1-1", "1-1"}, {"1-12", "1-12"}, {"Силос", "Сил.."}, {"Силос 12", "Сил.."}, {"", ""}};
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(ShortSiloName(QString::fromUtf8(name)), QString::fromUtf8(shown));
}

TEST_F(SiloBinFrameTest, NewFrameIsCaptionedWithItsNumberAndHasNoTable)
{
    TfrSiLoBin frame(board.Monitor, 3, nullptr);
    EXPECT_EQ(frame.GetCaption(), QStringLiteral("Силкорпус 3"));
    EXPECT_EQ(frame.RowCount(), 0);
    EXPECT_EQ(frame.ColCount(), 0);
    EXPECT_EQ(frame.HeighTD, 8);
    EXPECT_FALSE(frame.ArrangeOnResize);
    EXPECT_EQ(frame.GetSilo(0, 0), nullptr);
    // Every pop-up command is there under its caption.
    const QStringList captions = {"Парамеры силкорпуса", "Параметры силоса", "Добавить силос", "Удалить силос",
        "Выбрать силосы в строке", "Снять выбор с силосов в строке", "Выбрать силосы в колонке",
        "Снять выбор с силосов в колонке"};
    const QList<QAction*> actions = {frame.acParam, frame.acSilosParam, frame.acConnect, frame.acDisconnect,
        frame.acSelRow, frame.acUnSelRow, frame.acSelCol, frame.acUnSelCol};
    for (int i = 0; i < captions.size(); ++i)
        EXPECT_EQ(actions[i]->text(), captions[i]);
}

TEST_F(SiloBinFrameTest, ResizingKeepsTheCellsThatStillFitAndSizesTheFrame)
{
    TfrSiLoBin* frame = board.AddFrame(1, 3, 4);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            frame->SetSilo(row, col, board.Silos(row % 2, col));
    frame->SetGridSize(2, 6);
    ASSERT_EQ(frame->RowCount(), 2);
    ASSERT_EQ(frame->ColCount(), 6);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(frame->GetSilo(row, col), board.Silos(row % 2, col));
        EXPECT_EQ(frame->GetSilo(row, 4), nullptr);
        EXPECT_EQ(frame->GetSilo(row, 5), nullptr);
    }
    // Six sensors of 8 pixels: rows of 50.
    EXPECT_EQ(frame->RowHeight(), 50);
    EXPECT_EQ(frame->size(), QSize(50 * 6 + 8, 50 * 2 + 20));

    frame->SetGridSize(0, -3);
    EXPECT_EQ(frame->RowCount(), 1);
    EXPECT_EQ(frame->ColCount(), 1);
    frame->SetGridSize(1000, 70000);
    EXPECT_EQ(frame->RowCount(), kMaxGridRows);
    EXPECT_EQ(frame->ColCount(), kMaxGridCols);
}

TEST_F(SiloBinFrameTest, FourteenColumnsShowTwelveButSizeTheFrameForAll)
{
    TfrSiLoBin* frame = board.AddFrame(1, 1, 14);
    frame->SetSilo(0, 13, board.Silos(0, 1));
    EXPECT_EQ(frame->vtTree->VisibleCols(), 12);
    EXPECT_EQ(frame->width(), 14 * 50 + 8);
    EXPECT_EQ(frame->GetSilo(0, 13), board.Silos(0, 1));
    int row = -1, col = -1;
    EXPECT_FALSE(frame->vtTree->CellAt(QPoint(12 * 50 + 5, 5), row, col));
}

TEST_F(SiloBinFrameTest, CellsFollowTheTreePositionsAndForeignSuspensionsStayEmpty)
{
    TfrSiLoBin* frame = board.AddFrame(1, 1, 3);
    frame->SetSilo(0, 0, board.Silos(1, 5));
    EXPECT_EQ(frame->Cells[0][0], (TSilosInfo{1, 5}));
    frame->SetSilo(0, 0, nullptr);
    EXPECT_EQ(frame->Cells[0][0], TSilosInfo{});

    THardConfig other(1, 1, 1);
    frame->SetSilo(0, 1, other.GetMB(0)->GetSilos(0));
    EXPECT_EQ(frame->Cells[0][1], TSilosInfo{});

    // A cell naming positions the tree no longer has shows empty.
    frame->Cells[0][2] = TSilosInfo{7, 0};
    EXPECT_EQ(frame->GetSilo(0, 2), nullptr);
    frame->SetSilo(5, 5, board.Silos(0, 0));   // outside: ignored
    EXPECT_EQ(frame->GetSilo(5, 5), nullptr);
}

// The colours of the bands, sampled from the painted table: one suspension per case, its
// sensor 0 (the bottom band) carrying the value, sensor 5 (the top band) not installed.
TEST_F(SiloBinFrameTest, BandsArePaintedInTheSensorsColoursBottomSensorLowest)
{
    struct Case {
        const char* what;
        double value;
        bool valid;
        TColor colour;
    } cases[] = {
        {"no data", kNoData, true, clGreen},
        {"short circuit", -40, true, board.Settings.ColorKz},
        {"open line", 75, true, board.Settings.ColorX},
        {"-36 is a temperature", -36, true, clLime},
        {"above set-point 1", 25, true, board.Settings.ColorCheckT1},
        {"above the maximum", 35, true, board.Settings.ColorMaxT},
        {"no reply", 10, false, clBlack},
        {"normal", 15, true, clLime},
    };
    const int count = static_cast<int>(std::size(cases));
    TfrSiLoBin* frame = board.AddFrame(1, 1, count);
    for (int i = 0; i < count; ++i) {
        TSilos* silos = board.Silos(i / 6, i % 6);
        board.GiveValue(*silos->GetTIT(0), cases[i].value, cases[i].valid);
        for (int k = 1; k < 5; ++k)
            board.GiveValue(*silos->GetTIT(k), 15);
        silos->SetSilosName(QStringLiteral("%1").arg(i + 1));
        frame->SetSilo(0, i, silos);
    }
    const QImage image = Grab(*frame->vtTree);
    for (int i = 0; i < count; ++i) {
        const QRect content = CellContentRect(frame->vtTree->CellRect(0, i));
        // Sample at the right edge of the band, clear of the name drawn in the middle.
        const QRect bottom = SensorBandRect(content, 6, 5);
        const QPoint sample(bottom.right() - 1, bottom.center().y());
        EXPECT_EQ(QColor(image.pixel(sample)), ToQColor(cases[i].colour)) << cases[i].what;
        const QRect top = SensorBandRect(content, 6, 0);
        EXPECT_EQ(QColor(image.pixel(top.right() - 1, top.center().y())), ToQColor(0xC0C0C0)) << "not installed";
        const QRect second = SensorBandRect(content, 6, 4);
        EXPECT_EQ(QColor(image.pixel(second.right() - 1, second.center().y())), ToQColor(clLime));
        // The row between two bands stays unpainted.
        EXPECT_EQ(QColor(image.pixel(second.right() - 1, second.bottom() + 1)),
            frame->vtTree->palette().color(QPalette::Base));
    }
}

TEST_F(SiloBinFrameTest, EmptyCellsAreButtonFaceAndSelectedSilosCarryAYellowMarker)
{
    TfrSiLoBin* frame = board.AddFrame(1, 1, 3);
    frame->SetSilo(0, 1, board.Silos(0, 0));
    frame->SetSilo(0, 2, board.Silos(0, 1));
    board.Silos(0, 1)->Selected = true;
    const QImage image = Grab(*frame->vtTree);
    const QRect empty = CellContentRect(frame->vtTree->CellRect(0, 0));
    EXPECT_EQ(QColor(image.pixel(empty.center())), frame->vtTree->palette().color(QPalette::Button));

    const QRect plain = frame->vtTree->CellRect(0, 1);
    const QRect selected = frame->vtTree->CellRect(0, 2);
    const QRect marker = SelectionMarkerRect(selected, CellContentRect(selected));
    const QPoint inside(marker.center().x(), marker.center().y());
    EXPECT_EQ(QColor(image.pixel(inside)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(image.pixel(marker.left(), marker.center().y())), QColor(Qt::black));
    EXPECT_NE(QColor(image.pixel(inside - selected.topLeft() + plain.topLeft())), QColor(Qt::yellow));
}

TEST_F(SiloBinFrameTest, NamesLongerThanThreeCharactersShrinkTheFontInNarrowColumns)
{
    TfrSiLoBin* frame = board.AddFrame(1, 1, 1);
    bool lowered = false;
    const QFont narrow = frame->vtTree->NameFont(lowered);
    EXPECT_TRUE(lowered);
    EXPECT_LT(narrow.pixelSize(), TSiloBinGrid::TableFont().pixelSize());
    frame->SetColWidth(400);
    frame->vtTree->NameFont(lowered);
    EXPECT_FALSE(lowered);
    // However narrow a column, the lowering ends.
    frame->SetColWidth(1);
    EXPECT_EQ(frame->vtTree->NameFont(lowered).pixelSize(), kMinNameFontPixels);
}

TEST_F(SiloBinFrameTest, FocusingACellShowsItsSuspensionInTheDetailList)
{
    TRecordedDetail detail;
    TfrSiLoBin frame(board.Monitor, 2, &detail);
    frame.SetGridSize(1, 2);
    frame.SetSilo(0, 1, board.Silos(1, 2));
    std::vector<TSilos*> graphed;
    frame.OnSelectSilo = [&](TSilos* silos) { graphed.push_back(silos); };

    frame.SetFocusedCell(0, 1);
    frame.SetFocusedCell(0, 0);
    ASSERT_EQ(detail.captions.size(), 2);
    EXPECT_EQ(detail.captions[0], QStringLiteral("Силкорпус 2 силос 2-3"));
    EXPECT_EQ(detail.captions[1], QStringLiteral("Силкорпус 2"));
    EXPECT_EQ(detail.shown, (std::vector<TSilos*>{board.Silos(1, 2), nullptr}));
    EXPECT_EQ(graphed, detail.shown);
}

TEST_F(SiloBinFrameTest, DoubleClickAndTheChoiceActionsSelectSuspensions)
{
    TfrSiLoBin* frame = board.AddFrame(1, 2, 2);
    frame->SetSilo(0, 0, board.Silos(0, 0));
    frame->SetSilo(0, 1, board.Silos(0, 1));
    frame->SetSilo(1, 1, board.Silos(0, 2));
    frame->SetFocusedCell(0, 1);
    frame->vtTreeDblClick();
    EXPECT_TRUE(board.Silos(0, 1)->Selected);
    frame->vtTreeDblClick();
    EXPECT_FALSE(board.Silos(0, 1)->Selected);

    frame->acSelRow->trigger();
    EXPECT_TRUE(board.Silos(0, 0)->Selected);
    EXPECT_TRUE(board.Silos(0, 1)->Selected);
    EXPECT_FALSE(board.Silos(0, 2)->Selected);
    frame->acUnSelRow->trigger();
    frame->acSelCol->trigger();
    EXPECT_FALSE(board.Silos(0, 0)->Selected);
    EXPECT_TRUE(board.Silos(0, 1)->Selected);
    EXPECT_TRUE(board.Silos(0, 2)->Selected);
    frame->acUnSelCol->trigger();
    EXPECT_FALSE(board.Silos(0, 2)->Selected);

    // Without a focused row, the commands that need one are off.
    frame->SetFocusedCell(-1, -1);
    frame->UpdateActions();
    EXPECT_TRUE(frame->acParam->isEnabled());
    for (QAction* action : {frame->acSilosParam, frame->acConnect, frame->acDisconnect, frame->acSelRow})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    frame->SetFocusedCell(1, 0);   // an empty cell
    frame->UpdateActions();
    EXPECT_TRUE(frame->acConnect->isEnabled());
    EXPECT_FALSE(frame->acDisconnect->isEnabled());
    EXPECT_FALSE(frame->acSilosParam->isEnabled());
}

TEST_F(SiloBinFrameTest, RemovingASiloEmptiesTheCellAndDropsItsOwnName)
{
    TRecordedDetail detail;
    TfrSiLoBin* frame = board.AddFrame(1, 1, 2);
    frame->DetailTree = &detail;
    TSilos* silos = board.Silos(0, 3);
    silos->SetSilosName(QStringLiteral("Силос 7"));
    frame->SetSilo(0, 0, silos);
    frame->SetSilo(0, 1, silos);   // the same suspension twice
    frame->SetFocusedCell(0, 0);
    frame->acDisconnect->trigger();
    EXPECT_EQ(frame->GetSilo(0, 0), nullptr);
    EXPECT_EQ(frame->GetSilo(0, 1), silos);
    EXPECT_EQ(silos->SilosName(), QString());
    EXPECT_EQ(detail.captions.last(), QStringLiteral("Силкорпус 1"));
}

TEST_F(SiloBinFrameTest, ShiftDragMovesTheFrameAndAPlainPressDoesNot)
{
    board.panel.resize(800, 600);
    board.panel.show();
    TfrSiLoBin* frame = board.AddFrame(1, 1, 2);
    frame->move(100, 100);
    QWidget* box = frame->gbSilosBin;
    const QPointF onCaption(2, 2);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers) {
        QMouseEvent event(type, at, box->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
        QApplication::sendEvent(box, &event);
    };
    send(QEvent::MouseButtonPress, onCaption, Qt::NoModifier);
    send(QEvent::MouseMove, onCaption + QPointF(40, 30), Qt::NoModifier);
    send(QEvent::MouseButtonRelease, onCaption + QPointF(40, 30), Qt::NoModifier);
    EXPECT_EQ(frame->pos(), QPoint(100, 100));

    send(QEvent::MouseButtonPress, onCaption, Qt::ShiftModifier);
    send(QEvent::MouseMove, onCaption + QPointF(40, 30), Qt::ShiftModifier);
    auto* outline = board.panel.findChild<QRubberBand*>();
    ASSERT_NE(outline, nullptr);
    EXPECT_TRUE(outline->isVisible());
    EXPECT_EQ(outline->geometry().topLeft(), QPoint(140, 130));
    send(QEvent::MouseButtonRelease, onCaption + QPointF(40, 30), Qt::ShiftModifier);
    EXPECT_EQ(frame->pos(), QPoint(140, 130));
    EXPECT_FALSE(outline->isVisible());
    EXPECT_EQ(frame->DragPoint, QPoint());
    EXPECT_EQ(frame->BoardPanel, &board.panel);
    // The board grows to hold the moved frame.
    EXPECT_GE(board.panel.minimumWidth(), frame->geometry().right());
}

TEST_F(SiloBinFrameTest, ResizingAnArrangedFrameAsksTheMainWindowToArrangeTheBoard)
{
    struct TWindow : QMainWindow {
        int arranges = 0;
        bool event(QEvent* event) override
        {
            if (event->type() == WM_ARRANGE_SILOBINS)
                ++arranges;
            return QMainWindow::event(event);
        }
    } window;
    auto* panel = new TBinPanel;
    window.setCentralWidget(panel);
    auto* frame = new TfrSiLoBin(board.Monitor, 1, nullptr, panel);
    frame->SetGridSize(1, 8);
    QApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.arranges, 0);
    frame->ArrangeOnResize = true;
    frame->SetGridSize(2, 8);
    QApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.arranges, 1);
}

// The board stays quick to repaint when full: 32 frames of 12 x 12 cells, every sensor with a
// value, painted several times over (a coarse guard; the real measure is the benchmark).
TEST_F(SiloBinFrameTest, AFullBoardOfThirtyTwoFramesPaints)
{
    TBoardFixture big(32, 12, 6);
    for (int mb = 0; mb < 32; ++mb)
        for (int s = 0; s < 12; ++s)
            for (int t = 0; t < 6; ++t)
                big.GiveValue(*big.Silos(mb, s)->GetTIT(t), 10 + t * 5);
    std::vector<TfrSiLoBin*> frames;
    for (int f = 0; f < 32; ++f) {
        TfrSiLoBin* frame = big.AddFrame(static_cast<uint8_t>(f + 1), 12, 12);
        for (int row = 0; row < 12; ++row)
            for (int col = 0; col < 12; ++col)
                frame->SetSilo(row, col, big.Silos(f, col));
        frames.push_back(frame);
    }
    QPixmap target(frames[0]->vtTree->size());
    for (TfrSiLoBin* frame : frames)
        frame->vtTree->render(&target);
    const QImage image = Grab(*frames[31]->vtTree);
    const QRect content = CellContentRect(frames[31]->vtTree->CellRect(11, 11));
    const QRect band = SensorBandRect(content, 6, 0);   // sensor 5: 35 degrees, above the maximum
    EXPECT_EQ(QColor(image.pixel(band.right() - 1, band.center().y())), ToQColor(big.Settings.ColorMaxT));
}
