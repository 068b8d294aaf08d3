// The preview window over prepared pages: an empty page list, paging by buttons, keys and the
// scroll bar, the zoom kept for the next preview, painting only what shows, links on the pages
// and the text search with F3.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QUrl>

#include "PreviewFixture.h"
#include "report/engine/EMFPages.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/SpeedButton.h"

namespace {

class PreviewForm : public PreviewFixture {
protected:
    // Pages with a memo each; the memo shows the page's number.
    void PrintPages(int count)
    {
        for (int i = 0; i < count; ++i)
            Print(AddPage(), {40, 40, 300, 20, {QStringLiteral("Лист %1").arg(i + 1)}});
    }

    QImage Painted()
    {
        QImage image(form.PBox->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        form.PBox->PaintPages(painter, QRegion(image.rect()));
        return image;
    }
};

TEST_F(PreviewForm, AnEmptyPageListShowsAnEmptyPreview)
{
    ShowPages();
    ASSERT_EQ(form.PageCount(), 0);
    EXPECT_TRUE(form.Label1->text().isEmpty());
    EXPECT_FALSE(form.VScrollBar->isEnabled());
    EXPECT_FALSE(form.HScrollBar->isEnabled());

    // Every way in that needs pages does nothing.
    for (const int key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_F3, Qt::Key_Space})
        Key(key, key == Qt::Key_End ? Qt::ControlModifier : Qt::NoModifier);
    form.N3Click(ZoomItem(smPageWidth));
    form.PgDownClick();
    form.PgUpClick();
    form.SearchText = QStringLiteral("ЛИСТ");
    form.FindNextText();
    Click(QPoint(50, 50));
    form.resize(500, 400);
    EXPECT_EQ(form.CurPage, 1);
    EXPECT_FALSE(form.Found);
    EXPECT_EQ(context.LastScaleMode, smFixed) << "no zoom is chosen without pages";
    EXPECT_EQ(Painted().pixelColor(5, 5), form.palette().color(QPalette::Button));
}

TEST_F(PreviewForm, PagingByButtonsKeysAndTheScrollBar)
{
    PrintPages(3);
    context.LastScale = 0.5;   // one page a row in the box, the rows taller than it
    ShowPages();
    std::vector<int> told;
    form.OnPageChanged = [&told](int pageNo) { told.push_back(pageNo); };
    const std::vector<QRect> rects = form.PageRects();
    ASSERT_EQ(rects.size(), 3u);
    ASSERT_EQ(rects[0].left(), rects[1].left()) << "one page a row";
    const int row2 = rects[1].top() - 10;

    const struct {
        const char* what;
        std::function<void()> act;
        int page;
        int position;   // vertical; -1: not checked
    } steps[] = {
        {"next page button", [&] { form.PgDownClick(); }, 2, row2},
        {"Ctrl+PageDown", [&] { Key(Qt::Key_PageDown, Qt::ControlModifier); }, 3, rects[2].top() - 10},
        {"next page on the last page", [&] { form.PgDownClick(); }, 3, -1},
        {"Ctrl+Home", [&] { Key(Qt::Key_Home, Qt::ControlModifier); }, 1, 0},
        {"Home alone does nothing", [&] { Key(Qt::Key_Home); }, 1, 0},
        {"PageDown scrolls 200", [&] { Key(Qt::Key_PageDown); }, 1, 200},
        {"Down scrolls 10", [&] { Key(Qt::Key_Down); }, 1, 210},
        {"Up scrolls back 10", [&] { Key(Qt::Key_Up); }, 1, 200},
        {"the bar into the gap between rows", [&] { form.VScrollBar->setValue(rects[0].bottom() - 10); }, 1, -1},
        {"the bar into the second row", [&] { form.VScrollBar->setValue(row2 + 5); }, 2, row2 + 5},
        {"Ctrl+End", [&] { Key(Qt::Key_End, Qt::ControlModifier); }, 3, rects[2].top() - 10},
        {"previous page button", [&] { form.PgUpClick(); }, 2, row2},
        {"Ctrl+PageUp", [&] { Key(Qt::Key_PageUp, Qt::ControlModifier); }, 1, 0},
        {"previous page on the first page", [&] { form.PgUpClick(); }, 1, 0},
    };
    const QString word = LoadFrResString(context, 55004);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        told.clear();
        step.act();
        EXPECT_EQ(form.CurPage, step.page);
        if (step.position >= 0) {
            EXPECT_EQ(form.VScrollBar->value(), step.position);
        }
        EXPECT_EQ(form.Label1->text(), QStringLiteral("%1 %2/3").arg(word).arg(step.page));
        EXPECT_TRUE(told.empty() || told.back() == step.page);
    }
}

TEST_F(PreviewForm, TheZoomChosenIsTheNextPreviewsStartingZoom)
{
    PrintPages(2);
    ShowPages();
    form.N3Click(ZoomItem(50));
    EXPECT_DOUBLE_EQ(form.Scale, 0.5);
    EXPECT_EQ(form.ZoomBtn->Caption(), QStringLiteral("50%"));
    EXPECT_EQ(context.LastScale, 0.5);
    EXPECT_EQ(context.LastScaleMode, smFixed);

    TrpPreviewForm next(context);
    next.ResetView(true);
    EXPECT_DOUBLE_EQ(next.Scale, 0.5);
    for (QAction* item : next.ProcMenu->actions())
        EXPECT_EQ(item->isChecked(), item->data().toInt() == 50) << item->text().toStdString();

    // Page width follows the box's width, and a resize keeps the current page at the top.
    form.N3Click(ZoomItem(smPageWidth));
    EXPECT_EQ(context.LastScaleMode, smPageWidth);
    const int pageWidth = form.Pages()->Page(0).PaperGeometry.PageWidth;
    EXPECT_DOUBLE_EQ(form.Scale, double(form.PBox->width() - 20) / pageWidth);
    form.PgDownClick();
    const int wide = form.PBox->width();
    form.resize(600, 500);
    ASSERT_LT(form.PBox->width(), wide);
    EXPECT_DOUBLE_EQ(form.Scale, double(form.PBox->width() - 20) / pageWidth);
    EXPECT_EQ(form.CurPage, 2);
    EXPECT_EQ(form.VScrollBar->value(), form.PageRects()[1].top() - 10);
    EXPECT_EQ(form.ZoomBtn->Caption(), QStringLiteral("%1%").arg(qRound(form.Scale * 100)));
}

TEST_F(PreviewForm, OnlyPagesInViewAreDrawnAndKeepTheirObjects)
{
    PrintPages(3);
    Print(0, {40, 100, 300, 200, {}}, [](TrpMemoView& memo) { memo.FillColor = 0x0000FF; });   // red
    context.LastScale = 0.5;
    ShowPages();
    const QImage image = Painted();
    const QRect first = form.PageRects()[0];
    EXPECT_EQ(image.pixelColor(first.left() - 5, first.top() + 5), QColor(0x80, 0x80, 0x80)) << "grey round the pages";
    EXPECT_EQ(image.pixelColor(first.left() + 5, first.top() + 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(first.left() + 100, first.top() + 100), QColor(Qt::red)) << "the objects at the scale";
    EXPECT_EQ(image.pixelColor(first.left(), first.top()), QColor(Qt::black)) << "the page's outline";
    EXPECT_NE(form.Pages()->Page(0).LivePage, nullptr);
    EXPECT_TRUE(form.Pages()->Page(0).Visible);
    EXPECT_FALSE(form.Pages()->Page(2).Visible) << "below the box";
    EXPECT_EQ(form.Pages()->Page(2).LivePage, nullptr);
}

} // namespace
