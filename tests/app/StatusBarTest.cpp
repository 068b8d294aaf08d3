// The owner-drawn status bar: part edges, where panels and their images, texts and controls
// go, what a click or double click reaches, hints, popup menus and the single-panel mode.
#include "app/widgets/VSBPro.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    StatusBarTest() { bar.resize(600, 22); }

    TVStatusPanelPro* AddPanel(int width, const char* text = "")
    {
        TVStatusPanelPro* panel = bar.Panels().Add();
        panel->SetWidth(width);
        panel->SetText(QString::fromUtf8(text));
        return panel;
    }
    // The main window's four panels.
    void AddMainPanels()
    {
        AddPanel(150, "Port");
        AddPanel(120, "Speed");
        AddPanel(80, "Файл данных")->SetAlignment(taCenter);
        AddPanel(50);
    }
    void Mouse(QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPointF at(x, 10);
        QMouseEvent event(type, at, bar.mapToGlobal(at), button, type == QEvent::MouseMove ? Qt::NoButton : button,
            Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }
    void DoubleClick(int x)
    {
        Mouse(QEvent::MouseButtonPress, x);
        Mouse(QEvent::MouseButtonRelease, x);
        Mouse(QEvent::MouseButtonDblClick, x);
        Mouse(QEvent::MouseButtonRelease, x);
    }
    void Click(int x)
    {
        Mouse(QEvent::MouseButtonPress, x);
        Mouse(QEvent::MouseButtonRelease, x);
    }
    QImage Paint()
    {
        QImage image(bar.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        bar.render(&image);
        return image;
    }
    static QPixmap Solid(QColor colour, int size = 8)
    {
        QPixmap pixmap(size, size);
        pixmap.fill(colour);
        return pixmap;
    }

    TVStatusBarPro bar;
};

TEST_F(StatusBarTest, PartEdges)
{
    EXPECT_EQ(bar.PartEdges(), std::vector<int>{-1});
    EXPECT_TRUE(bar.PanelRect(0).isEmpty());
    for (int width : {150, 120, 80, 50, 60})
        AddPanel(width);
    EXPECT_EQ(bar.PartEdges(), (std::vector<int>{150, 270, 350, 400, -1}));
    // Each panel runs from the edge before it; the last one to the bar's right edge.
    EXPECT_EQ(bar.PanelRect(0).left(), 0);
    EXPECT_EQ(bar.PanelRect(1).left(), 150);
    EXPECT_EQ(bar.PanelRect(1).width(), 120);
    EXPECT_EQ(bar.PanelRect(4).left(), 400);
    EXPECT_EQ(bar.PanelRect(4).right(), 599);
    // A new width lays out the panels after it anew.
    bar.Panels()[0]->SetWidth(100);
    EXPECT_EQ(bar.PartEdges(), (std::vector<int>{100, 220, 300, 350, -1}));
    // Right to left, the same panels run from the right edge.
    bar.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(bar.PanelRect(0), QRect(500, 1, 100, 21));
    EXPECT_EQ(bar.PanelRect(4), QRect(0, 1, 250, 21));
}

// No text is clipped: a panel is as wide as its image and text need, whatever its width, and
// the bar asks for room for the last panel's text too.
TEST_F(StatusBarTest, PanelsAreWideEnoughForTheirTexts)
{
    bar.SetImages({Solid(Qt::red, 16)});
    AddMainPanels();
    bar.Panels()[0]->SetImageIndex(0);
    bar.Panels()[0]->SetText(QStringLiteral("COM1 - порт занят другой программой"));
    bar.Panels()[3]->SetText(QStringLiteral("/home/operator/.local/share/Tavik_zuzid/demo.dxml"));
    bar.resize(bar.sizeHint());
    for (int i = 0; i < bar.Panels().Count(); ++i) {
        SCOPED_TRACE(i);
        const TVStatusBarPro::TPanelDrawing d = bar.PanelDrawing(i);
        const int textWidth = bar.fontMetrics().horizontalAdvance(bar.Panels()[i]->Text());
        EXPECT_GE(d.TextX, d.Rect.left());
        EXPECT_LE(d.TextX + textWidth, d.Rect.left() + d.Rect.width());
    }
    const std::vector<int> edges = bar.PartEdges();
    EXPECT_EQ(edges[1] - edges[0], 120);   // "Speed" fits the width it has
    EXPECT_GT(edges[2] - edges[1], 80);    // "Файл данных" does not
    // A shorter text gives the panel its own width back.
    bar.Panels()[0]->SetText(QStringLiteral("COM1"));
    EXPECT_EQ(bar.PartEdges()[0], 150);
    EXPECT_LT(bar.sizeHint().width(), bar.width());
}

TEST_F(StatusBarTest, NoMoreThan128PanelsAreShown)
{
    for (int i = 0; i < 129; ++i)
        AddPanel(1);
    const std::vector<int> edges = bar.PartEdges();
    ASSERT_EQ(edges.size(), 128u);
    EXPECT_EQ(edges[126], 127);
    EXPECT_EQ(edges.back(), -1);
    EXPECT_FALSE(bar.PanelRect(127).isEmpty());
    EXPECT_TRUE(bar.PanelRect(128).isEmpty());
    EXPECT_EQ(bar.PanelAt(QPoint(590, 10)), bar.Panels()[127]);
}

TEST_F(StatusBarTest, ClicksAndDoubleClicksReachThePanelsHandlerElseTheBars)
{
    AddMainPanels();
    std::vector<std::pair<std::string, QObject*>> calls;
    const auto record = [&](const char* name) {
        return [&calls, name](QObject* sender) { calls.emplace_back(name, sender); };
    };
    bar.Panels()[0]->OnDblClick = record("port");
    bar.Panels()[1]->OnDblClick = record("speed");
    bar.Panels()[3]->OnClick = record("path");

    DoubleClick(10);
    DoubleClick(200);
    DoubleClick(300);   // "Файл данных": no handler of its own, nor the bar's
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(std::string("port"), static_cast<QObject*>(bar.Panels()[0])));
    EXPECT_EQ(calls[1], std::make_pair(std::string("speed"), static_cast<QObject*>(bar.Panels()[1])));

    calls.clear();
    bar.OnDblClick = record("bar dbl");
    bar.OnClick = record("bar click");
    DoubleClick(300);
    Click(500);
    Click(20);
    const std::vector<std::pair<std::string, QObject*>> expected = {
        {"bar click", &bar},   // the first click of the double click
        {"bar dbl", &bar},
        {"path", bar.Panels()[3]},
        {"bar click", &bar},   // "Port" has a double-click handler only
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(bar.HotPanel(), bar.Panels()[0]);
    // A right press makes the panel hot too; a press outside every panel leaves none.
    Mouse(QEvent::MouseButtonPress, 280, Qt::RightButton);
    EXPECT_EQ(bar.HotPanel(), bar.Panels()[2]);
    QMouseEvent above(QEvent::MouseButtonPress, QPointF(280, 0), bar.mapToGlobal(QPointF(280, 0)), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &above);
    EXPECT_EQ(bar.HotPanel(), nullptr);
}

TEST_F(StatusBarTest, PanelsAreFilledWithTheirColoursAndShowTheirImages)
{
    AddPanel(100, "A")->SetColor(QColor(0, 200, 0));
    AddPanel(100, "B")->SetColor(QColor(0, 0, 200));
    AddPanel(100)->SetImageIndex(0);
    TVStatusPanelPro* outside = AddPanel(100, "C");
    outside->SetImageIndex(7);   // outside the list: no image
    bar.SetColor(QColor(90, 90, 90));
    bar.SetImages({Solid(QColor(255, 0, 0))});

    const QImage image = Paint();
    EXPECT_EQ(image.pixelColor(50, 20), QColor(0, 200, 0));
    EXPECT_EQ(image.pixelColor(150, 20), QColor(0, 0, 200));
    const TVStatusBarPro::TPanelDrawing withImage = bar.PanelDrawing(2);
    ASSERT_TRUE(withImage.HasImage);
    EXPECT_EQ(withImage.ImageAt.x(), bar.PanelRect(2).left() + 2);   // inside the border, + 1
    EXPECT_EQ(image.pixelColor(withImage.ImageAt + QPoint(3, 3)), QColor(255, 0, 0));
    EXPECT_EQ(withImage.TextX, withImage.ImageAt.x() + 8 + 2);
    const TVStatusBarPro::TPanelDrawing without = bar.PanelDrawing(3);
    EXPECT_FALSE(without.HasImage);
    EXPECT_EQ(without.TextX, without.Rect.left() + 1);
    // The border is drawn around the panel; without one the bar's own colour shows there.
    EXPECT_NE(image.pixelColor(0, 20), QColor(90, 90, 90));
    bar.Panels()[0]->SetBevel(pbNone);
    EXPECT_EQ(Paint().pixelColor(0, 20), QColor(90, 90, 90));
}

TEST_F(StatusBarTest, ImageAndTextFollowTheAlignment)
{
    TVStatusPanelPro* panel = AddPanel(200, "Температура");
    AddPanel(50);
    const int textWidth = bar.fontMetrics().horizontalAdvance(panel->Text());
    bar.SetImages({Solid(Qt::red, 10)});
    struct Case {
        TAlignment alignment;
        bool image;
        Qt::LayoutDirection direction;
    };
    for (const Case& c : {Case{taLeftJustify, true, Qt::LeftToRight}, Case{taRightJustify, true, Qt::LeftToRight},
             Case{taCenter, true, Qt::LeftToRight}, Case{taRightJustify, false, Qt::LeftToRight},
             Case{taCenter, false, Qt::LeftToRight}, Case{taLeftJustify, true, Qt::RightToLeft},
             Case{taCenter, true, Qt::RightToLeft}}) {
        SCOPED_TRACE(testing::Message() << c.alignment << " image " << c.image << " rtl " << c.direction);
        bar.setLayoutDirection(c.direction);
        panel->SetAlignment(c.alignment);
        panel->SetImageIndex(c.image ? 0 : -1);
        const TVStatusBarPro::TPanelDrawing d = bar.PanelDrawing(0);
        const int w = c.image ? 10 : 0;
        const int left = d.Rect.left(), right = d.Rect.left() + d.Rect.width();
        const bool rtl = c.direction == Qt::RightToLeft;
        const TAlignment effective = rtl && c.alignment == taLeftJustify ? taRightJustify : c.alignment;
        switch (effective) {
        case taLeftJustify:
            EXPECT_EQ(d.ImageAt.x(), left + 1);
            EXPECT_EQ(d.TextX, left + 1 + (c.image ? w + 2 : 0));
            break;
        case taRightJustify:
            EXPECT_EQ(d.ImageAt.x(), right - w - 1);
            EXPECT_EQ(d.TextX + textWidth, right - w - 1 - (c.image ? 2 : 0));
            break;
        case taCenter:
            if (rtl) {
                EXPECT_EQ(d.ImageAt.x(), left + (textWidth + w + d.Rect.width()) / 2 - w);
                EXPECT_EQ(d.TextX + textWidth, d.ImageAt.x() - 2);
            } else {
                EXPECT_EQ(d.ImageAt.x(), left + (d.Rect.width() - textWidth - w) / 2);
                EXPECT_EQ(d.TextX, d.ImageAt.x() + (c.image ? w + 2 : 0));
            }
            break;
        }
        const QFontMetrics metrics = bar.fontMetrics();
        EXPECT_EQ(d.TextY, d.Rect.top() + (d.Rect.height() - metrics.height()) / 2);
    }
}

TEST_F(StatusBarTest, OwnerDrawPanelsAreDrawnByTheBarsHandler)
{
    TVStatusPanelPro* panel = AddPanel(100, "x");
    AddPanel(50);
    QRect given;
    bar.OnDrawPanel = [&](TVStatusBarPro* statusBar, TVStatusPanelPro* drawn, QPainter& painter, const QRect& rect) {
        EXPECT_EQ(statusBar, &bar);
        EXPECT_EQ(drawn, panel);
        given = rect;
        painter.fillRect(rect, QColor(1, 2, 3));
    };
    EXPECT_NE(Paint().pixelColor(50, 12), QColor(1, 2, 3));
    panel->SetStyle(psOwnerDraw);
    EXPECT_EQ(Paint().pixelColor(50, 12), QColor(1, 2, 3));
    EXPECT_EQ(given, bar.PanelRect(0).adjusted(1, 1, -1, -1));
}

TEST_F(StatusBarTest, HintsFollowTheMouse)
{
    AddMainPanels();
    bar.Panels()[0]->SetHint("Порт обмена");
    bar.Panels()[1]->SetHint("Скорость обмена");
    bar.Hint = "Строка состояния";
    bar.show();
    Mouse(QEvent::MouseMove, 10);
    EXPECT_EQ(bar.HotPanel(), bar.Panels()[0]);
    EXPECT_EQ(bar.CurrentHint(), "Порт обмена");
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), bar.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&bar, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Порт обмена");
    // Moving on to another panel replaces the hint shown.
    Mouse(QEvent::MouseMove, 200);
    EXPECT_EQ(QToolTip::text(), "Скорость обмена");
    // A panel without a hint of its own shows the bar's.
    Mouse(QEvent::MouseMove, 300);
    EXPECT_EQ(bar.CurrentHint(), "Строка состояния");
    EXPECT_EQ(QToolTip::text(), "Строка состояния");
    QToolTip::hideText();
    // Without ShowHint a move does not change the hot panel.
    bar.ShowHint = false;
    Mouse(QEvent::MouseMove, 10);
    EXPECT_EQ(bar.HotPanel(), bar.Panels()[2]);
}

TEST_F(StatusBarTest, TheRightClickOpensThePanelsMenuElseTheBars)
{
    AddMainPanels();
    QMenu portMenu, barMenu;
    portMenu.addAction("COM1");
    barMenu.addAction("x");
    bar.Panels()[0]->SetPopupMenu(&portMenu);
    bar.show();
    const auto rightClick = [&](int x) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(x, 10), bar.mapToGlobal(QPoint(x, 10)));
        QApplication::sendEvent(&bar, &event);
        return event.isAccepted();
    };
    EXPECT_TRUE(rightClick(10));
    EXPECT_TRUE(portMenu.isVisible());
    portMenu.hide();
    EXPECT_FALSE(rightClick(200));   // no menu anywhere: the event goes on to the parent
    bar.PopupMenu = &barMenu;
    EXPECT_TRUE(rightClick(200));
    EXPECT_TRUE(barMenu.isVisible());
    EXPECT_FALSE(portMenu.isVisible());
    barMenu.hide();
}

TEST_F(StatusBarTest, EmbeddedControlsStayInsideTheirPanel)
{
    AddMainPanels();
    bar.SetImages({Solid(Qt::red, 12)});
    auto* progress = new QLabel("…");
    bar.Panels()[1]->SetControl(progress);
    EXPECT_EQ(progress->parentWidget(), &bar);
    const QRect inside = bar.PanelRect(1).adjusted(1, 1, -1, -1);
    EXPECT_EQ(progress->geometry(), inside);
    bar.Panels()[1]->SetImageIndex(0);
    EXPECT_EQ(progress->geometry(), inside.adjusted(12 + 5, 0, 0, 0));
    // Wider panels before it move it along.
    bar.Panels()[0]->SetWidth(200);
    EXPECT_EQ(progress->geometry().left(), 200 + 1 + 12 + 5);

    // One control sits in one panel only.
    bar.Panels()[3]->SetControl(progress);
    EXPECT_EQ(bar.Panels()[1]->Control(), nullptr);
    EXPECT_EQ(progress->geometry(), bar.PanelRect(3).adjusted(1, 1, -1, -1));

    bar.SetSimplePanel(true);
    EXPECT_TRUE(progress->isHidden());
    EXPECT_EQ(bar.PanelAt(QPoint(10, 10)), nullptr);
    bar.SetSimplePanel(false);
    EXPECT_FALSE(progress->isHidden());
}

TEST_F(StatusBarTest, SinglePanelModeShowsItsTextAcrossTheBar)
{
    AddPanel(100, "A")->SetColor(QColor(0, 200, 0));
    AddPanel(50);
    bar.SetColor(QColor(90, 90, 90));
    bar.SetSimpleText("Выполнить опрос всех ТД элеватора");
    EXPECT_EQ(Paint().pixelColor(98, 20), QColor(0, 200, 0));
    bar.SetSimplePanel(true);
    EXPECT_EQ(Paint().pixelColor(98, 20), QColor(90, 90, 90));
}

TEST_F(StatusBarTest, AutoHintPutsApplicationHintsIntoTheBar)
{
    bar.showMessage("ignored");   // AutoHint is off by default
    EXPECT_TRUE(bar.SimpleText().isEmpty());
    bar.AutoHint = true;
    bar.showMessage("без панелей");
    EXPECT_EQ(bar.SimpleText(), "без панелей");
    AddMainPanels();
    bar.showMessage("в первую панель");
    EXPECT_EQ(bar.Panels()[0]->Text(), "в первую панель");
    bar.SetSimplePanel(true);
    bar.showMessage("в одну панель");
    EXPECT_EQ(bar.SimpleText(), "в одну панель");
    bar.OnHint = [](const QString&) { return true; };
    bar.showMessage("handled elsewhere");
    EXPECT_EQ(bar.SimpleText(), "в одну панель");
}

TEST_F(StatusBarTest, PanelsCanBeReorderedAndRemoved)
{
    AddMainPanels();
    EXPECT_EQ(bar.Panels()[2]->DisplayName(), "Файл данных");
    EXPECT_EQ(bar.Panels()[3]->DisplayName(), "TVStatusPanelPro");
    bar.Panels().Move(0, 3);
    EXPECT_EQ(bar.Panels()[3]->Text(), "Port");
    EXPECT_EQ(bar.Panels()[3]->Index(), 3);
    const int dataFile = bar.PartWidth(1);   // as wide as "Файл данных" needs
    EXPECT_EQ(bar.PartEdges(), (std::vector<int>{120, 120 + dataFile, 170 + dataFile, -1}));
    Mouse(QEvent::MouseMove, 10);
    EXPECT_EQ(bar.HotPanel(), bar.Panels()[0]);
    bar.Panels().Delete(0);
    EXPECT_EQ(bar.HotPanel(), nullptr);
    EXPECT_EQ(bar.PartEdges(), (std::vector<int>{dataFile, dataFile + 50, -1}));
    bar.Panels().Clear();
    EXPECT_EQ(bar.PartEdges(), std::vector<int>{-1});
}

} // namespace
