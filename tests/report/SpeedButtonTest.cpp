// Tool bar buttons: groups and the down state under the mouse, hot tracking, glyph images and
// their layout, and how buttons and separators align on a tool bar panel.
#include "report/ui/SpeedButton.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void ClickAt(QWidget* widget, QPoint at = {5, 5})
{
    SendMouse(widget, QEvent::MouseButtonPress, at);
    SendMouse(widget, QEvent::MouseButtonRelease, at);
}

struct Counted {
    int clicks = 0;
    void Attach(TrpSpeedButton& button) { button.OnClick = [this](QObject*) { ++clicks; }; }
};

} // namespace

TEST(SpeedButton, WithoutAGroupItNeverStaysDown)
{
    TrpSpeedButton button;
    Counted counted;
    counted.Attach(button);
    button.SetDown(true);
    EXPECT_FALSE(button.Down());

    SendMouse(&button, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(button.State(), bsDown);
    SendMouse(&button, QEvent::MouseMove, {40, 5});    // dragged off: shown up again
    EXPECT_EQ(button.State(), bsUp);
    SendMouse(&button, QEvent::MouseMove, {5, 22});    // the bottom edge still counts as inside
    EXPECT_EQ(button.State(), bsDown);
    SendMouse(&button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(button.State(), bsUp);
    EXPECT_FALSE(button.Down());
    EXPECT_EQ(counted.clicks, 1);

    SendMouse(&button, QEvent::MouseButtonPress, {5, 5});
    SendMouse(&button, QEvent::MouseButtonRelease, {40, 5});   // let go elsewhere: no click
    EXPECT_EQ(counted.clicks, 1);
    EXPECT_EQ(button.State(), bsUp);
}

TEST(SpeedButton, GroupKeepsOneButtonDown)
{
    QWidget bar;
    TrpSpeedButton first(&bar), second(&bar), otherGroup(&bar);
    first.SetGroupIndex(1);
    second.SetGroupIndex(1);
    otherGroup.SetGroupIndex(2);
    otherGroup.SetDown(true);
    Counted counted;
    counted.Attach(second);

    first.SetDown(true);
    EXPECT_TRUE(first.Down());
    EXPECT_EQ(first.State(), bsExclusive);

    ClickAt(&second);   // pressing the second releases the first
    EXPECT_TRUE(second.Down());
    EXPECT_FALSE(first.Down());
    EXPECT_EQ(first.State(), bsUp);
    EXPECT_TRUE(otherGroup.Down());
    EXPECT_EQ(counted.clicks, 1);

    ClickAt(&second);   // a down button without AllowAllUp stays down, and still clicks
    EXPECT_TRUE(second.Down());
    EXPECT_EQ(second.State(), bsExclusive);
    EXPECT_EQ(counted.clicks, 2);
    second.SetDown(false);
    EXPECT_TRUE(second.Down());

    SendMouse(&second, QEvent::MouseButtonPress, {5, 5});    // a down button dragged about stays held
    SendMouse(&second, QEvent::MouseMove, {40, 40});
    EXPECT_EQ(second.State(), bsExclusive);
    SendMouse(&second, QEvent::MouseButtonRelease, {40, 40});
    EXPECT_TRUE(second.Down());

    first.SetAllowAllUp(true);   // the whole group takes it
    EXPECT_TRUE(second.AllowAllUp());
    EXPECT_FALSE(otherGroup.AllowAllUp());
    ClickAt(&second);
    EXPECT_FALSE(second.Down());
    EXPECT_EQ(second.State(), bsUp);
    EXPECT_FALSE(first.Down());
}

TEST(SpeedButton, DoubleClickOnlyWhileDown)
{
    QWidget bar;
    TrpSpeedButton button(&bar);
    int doubleClicks = 0;
    button.OnDblClick = [&](QObject*) { ++doubleClicks; };
    SendMouse(&button, QEvent::MouseButtonDblClick, {5, 5});
    SendMouse(&button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(doubleClicks, 0);
    button.SetGroupIndex(3);
    button.SetDown(true);
    SendMouse(&button, QEvent::MouseButtonDblClick, {5, 5});
    SendMouse(&button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(doubleClicks, 1);
}

TEST(SpeedButton, FlatButtonsTrackTheMouse)
{
    for (const bool flat : {true, false}) {
        TrpSpeedButton button;
        button.SetFlat(flat);
        int entered = 0, left = 0;
        button.OnMouseEnter = [&](QObject*) { ++entered; };
        button.OnMouseLeave = [&](QObject*) { ++left; };
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QCoreApplication::sendEvent(&button, &enter);
        EXPECT_EQ(button.MouseInControl(), flat);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        EXPECT_FALSE(button.MouseInControl());
        EXPECT_EQ(entered, flat ? 1 : 0);
        EXPECT_EQ(left, flat ? 1 : 0);

        // A release inside leaves a flat button hot, whatever happened before.
        ClickAt(&button);
        EXPECT_EQ(button.MouseInControl(), flat);
    }
}

TEST(SpeedButton, GlyphCountFollowsTheBitmapShape)
{
    const struct {
        int width;
        int height;
        int before;
        int after;
    } cases[] = {
        {64, 16, 1, 4},
        {32, 16, 3, 2},
        {16, 16, 4, 1},
        {80, 16, 2, 1},   // five images cannot be: one
        {30, 16, 2, 2},   // not a multiple: the count stays
        {30, 16, 9, 4},   // more than four asked: four
    };
    for (const auto& c : cases) {
        TrpSpeedButton button;
        button.SetNumGlyphs(c.before);
        QImage glyph(c.width, c.height, QImage::Format_RGB32);
        glyph.fill(Qt::white);
        button.SetGlyph(glyph);
        EXPECT_EQ(button.NumGlyphs(), c.after) << c.width << "x" << c.height;
    }
}

TEST(SpeedButton, GlyphImagesOfEachState)
{
    TrpSpeedButton button;
    const QRgb face = button.palette().color(QPalette::Button).rgb();
    const QRgb magenta = qRgb(255, 0, 255);
    // Two 4 x 4 images: up, and an own disabled one. The bottom-left pixel is the transparent colour.
    QImage glyph(8, 4, QImage::Format_RGB32);
    glyph.fill(magenta);
    glyph.setPixel(1, 0, qRgb(255, 0, 0));
    glyph.setPixel(2, 0, qRgb(0, 255, 0));
    glyph.setPixel(3, 0, qRgb(0, 0, 255));
    glyph.setPixel(1, 1, face);
    glyph.setPixel(4, 0, qRgb(255, 255, 255));
    glyph.setPixel(5, 0, qRgb(128, 128, 128));
    button.SetGlyph(glyph);
    ASSERT_EQ(button.NumGlyphs(), 2);

    const QImage greyed = button.GlyphImage(bsInactive);
    ASSERT_EQ(greyed.size(), QSize(4, 4));
    EXPECT_EQ(greyed.pixel(1, 0), 0xFF4C4C4Cu);
    EXPECT_EQ(greyed.pixel(2, 0), 0xFF959595u);
    EXPECT_EQ(greyed.pixel(3, 0), 0xFF1C1C1Cu);
    EXPECT_EQ(greyed.pixel(1, 1), face);            // button face stays
    EXPECT_EQ(qAlpha(greyed.pixel(0, 0)), 0);       // the transparent colour shows through

    const QImage up = button.GlyphImage(bsUp);
    EXPECT_EQ(up.pixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(up.pixel(0, 3)), 0);
    EXPECT_EQ(button.GlyphImage(bsDown).pixel(1, 0), 0xFFFF0000u);   // too few images: the up one

    const QImage disabled = button.GlyphImage(bsDisabled);
    EXPECT_EQ(disabled.pixel(0, 0), button.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(disabled.pixel(1, 0), button.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(disabled.pixel(2, 2), face);

    // A single image is embossed from its dark pixels: shadow in place, highlight below right.
    QImage single(4, 4, QImage::Format_RGB32);
    single.fill(magenta);
    single.setPixel(1, 1, qRgb(0, 0, 0));
    single.setPixel(2, 1, qRgb(250, 250, 250));
    button.SetGlyph(single);
    const QImage embossed = button.GlyphImage(bsDisabled);
    EXPECT_EQ(embossed.pixel(1, 1), button.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(embossed.pixel(2, 2), button.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(embossed.pixel(2, 1), face);   // light pixels leave no trace
    EXPECT_EQ(embossed.pixel(0, 3), face);
}

TEST(SpeedButton, GlyphAndCaptionLayout)
{
    const QRect client(0, 0, 100, 30);
    const QSize glyph(16, 16), caption(40, 14);
    const struct {
        TButtonLayout layout;
        int margin;
        int spacing;
        QSize glyph;
        QSize caption;
        QPoint glyphAt;
        QPoint textAt;
    } cases[] = {
        {blGlyphLeft, -1, 4, glyph, caption, {20, 7}, {40, 8}},      // block of 60 centred
        {blGlyphLeft, -1, -1, glyph, caption, {14, 7}, {44, 8}},     // a third of 44 each
        {blGlyphLeft, 3, 4, glyph, caption, {3, 7}, {23, 8}},
        {blGlyphLeft, 3, -1, glyph, caption, {3, 7}, {40, 8}},       // caption centred in the 81 left
        {blGlyphRight, 3, 4, glyph, caption, {81, 7}, {37, 8}},
        {blGlyphLeft, -1, 4, glyph, QSize(), {42, 7}, {58, 15}},     // no caption: no spacing
        {blGlyphTop, -1, 2, QSize(8, 8), QSize(20, 10), {46, 5}, {40, 15}},
        {blGlyphBottom, 1, 2, QSize(8, 8), QSize(20, 10), {46, 21}, {40, 9}},
    };
    for (const auto& c : cases) {
        const TButtonLayoutResult place = CalcButtonLayout(client, c.glyph, c.caption, c.layout, c.margin, c.spacing);
        EXPECT_EQ(place.GlyphPos, c.glyphAt) << c.layout << " " << c.margin << " " << c.spacing;
        EXPECT_EQ(place.TextRect.topLeft(), c.textAt) << c.layout << " " << c.margin << " " << c.spacing;
    }
}

TEST(SpeedButton, MarginBelowMinusOneIsRefused)
{
    TrpSpeedButton button;
    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
}

TEST(ToolbarControls, AlignOnTheirPanel)
{
    QWidget window;
    auto* verticalBar = new QWidget(&window);
    SetControlAlign(verticalBar, alLeft);
    auto* verticalPanel = new QFrame(verticalBar);
    auto* horizontalBar = new QWidget(&window);
    SetControlAlign(horizontalBar, alTop);
    auto* horizontalPanel = new QWidget(horizontalBar);
    auto* strip = new QHBoxLayout(horizontalPanel);
    auto* notAPanel = new QLabel(&window);

    TrpTBButton onVertical(verticalPanel);
    TrpTBSeparator separatorOnVertical(verticalPanel);
    EXPECT_EQ(ControlAlign(&onVertical), alTop);
    EXPECT_EQ(ControlAlign(&separatorOnVertical), alTop);

    TrpTBButton onHorizontal(horizontalPanel);
    EXPECT_EQ(ControlAlign(&onHorizontal), alLeft);
    EXPECT_EQ(strip->indexOf(&onHorizontal), 0);   // stacked at the end of the strip

    TrpTBButton moved(verticalPanel);
    moved.setParent(horizontalPanel);
    EXPECT_EQ(ControlAlign(&moved), alLeft);
    EXPECT_EQ(strip->indexOf(&moved), 1);

    TrpTBSeparator elsewhere(notAPanel);
    EXPECT_EQ(ControlAlign(&elsewhere), alLeft);
    EXPECT_TRUE(onVertical.Flat());
    EXPECT_EQ(separatorOnVertical.size(), QSize(8, 8));
}
