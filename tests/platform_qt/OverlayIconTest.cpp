#include "platform/qt/OverlayIcon.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace {

QIcon SolidIcon(QColor colour, std::initializer_list<int> sides)
{
    QIcon icon;
    for (int side : sides) {
        QPixmap pixmap(side, side);
        pixmap.fill(colour);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QImage ImageAt(const QIcon& icon, int side)
{
    return icon.pixmap(side, side).toImage();
}

} // namespace

// The overlay covers the lower right quarter at every size of the base; the rest of the base
// shows through untouched.
TEST(OverlayIcon, OverlayTakesTheLowerRightQuarterAtEverySize)
{
    const QIcon base = SolidIcon(Qt::blue, {16, 32, 48});
    const QIcon composed = ComposeOverlayIcon(base, SolidIcon(Qt::red, {16}));
    for (int side : {16, 32, 48}) {
        SCOPED_TRACE(side);
        ASSERT_TRUE(composed.availableSizes().contains(QSize(side, side)));
        const QImage image = ImageAt(composed, side);
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(image.pixelColor(side - 1, side - 1), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(side / 2 - 1, side - 1), QColor(Qt::blue));
        EXPECT_EQ(image.pixelColor(side - 1, side / 2 - 1), QColor(Qt::blue));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
    }
}

// A window without an icon still gets a visible mark; removing the overlay gives the base back.
TEST(OverlayIcon, NoBaseStillShowsTheMarkAndNoOverlayKeepsTheBase)
{
    const QIcon marked = ComposeOverlayIcon(QIcon(), StateMarkIcon(Qt::red));
    const QImage image = ImageAt(marked, 32);
    EXPECT_EQ(image.pixelColor(24, 24), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(4, 4).alpha(), 0);

    const QIcon base = SolidIcon(Qt::blue, {32});
    EXPECT_EQ(ComposeOverlayIcon(base, QIcon()).cacheKey(), base.cacheKey());
}

// A small icon still gets a mark large enough to tell its colour.
TEST(OverlayIcon, MarkIsNeverSmallerThanEightPixels)
{
    const QImage image = ImageAt(ComposeOverlayIcon(SolidIcon(Qt::blue, {12}), SolidIcon(Qt::red, {8})), 12);
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::blue));
}

TEST(OverlayIcon, StateMarkIsAFilledDiscOfItsColourAtTheStandardSizes)
{
    const QIcon mark = StateMarkIcon(QColor(240, 200, 0));
    for (int side : {16, 32, 48}) {
        SCOPED_TRACE(side);
        ASSERT_TRUE(mark.availableSizes().contains(QSize(side, side)));
        const QImage image = ImageAt(mark, side);
        EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(240, 200, 0));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);   // round, not square
    }
}
