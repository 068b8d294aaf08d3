// The preview's text search: from the first or the current page, in any case or the exact one,
// F3 going on after the last place found while its page is current, restarting at the top of
// the page the user went to, and never wrapping round past the last page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "PreviewFixture.h"
#include "report/ui/PreviewSearchForm.h"

namespace {

class PreviewSearch : public PreviewFixture {
protected:
    PreviewSearch()
    {
        Memo(AddPage(), 40, "Силос 1");
        Memo(AddPage(), 40, "Подвеска");
        Memo(AddPage(), 40, "силос 3a");
        Memo(2, 600, "СИЛОС 3b");
        Memo(AddPage(), 40, "Силос 4");
        context.LastScale = 0.5;   // one page a row
        ShowPages();
    }

    void Memo(int page, int top, const char* text)
    {
        Print(page, {40, top, 300, 20, {QString::fromUtf8(text)}});
    }

    // The search dialog answered as a user would.
    void Find(const QString& text, bool caseSensitive, bool fromFirstPage)
    {
        WhenShown<TrpPreviewSearchForm>([=](TrpPreviewSearchForm& dialog) {
            EXPECT_TRUE(dialog.Edit1->text().isEmpty()) << "a new dialog each time";
            EXPECT_TRUE(dialog.RB1->isChecked());
            dialog.Edit1->setText(text);
            dialog.CB1->setChecked(caseSensitive);
            (fromFirstPage ? dialog.RB1 : dialog.RB2)->setChecked(true);
            dialog.Button1->click();
        });
        form.FindBtnClick();
    }
};

TEST_F(PreviewSearch, FindAndF3GoOnAfterTheLastPlaceFound)
{
    const struct {
        const char* what;
        std::function<void()> act;
        int page;   // where the place found is, from 1
        int top;    // the memo it is in (page units)
        bool stays = false;   // the view does not move
    } steps[] = {
        {"any case from the first page", [&] { Find(QStringLiteral("силос"), false, true); }, 1, 40},
        {"F3: the next page holding it", [&] { Key(Qt::Key_F3); }, 3, 40},
        {"F3: further down the same page", [&] { Key(Qt::Key_F3); }, 3, 600},
        {"F3: the last page", [&] { Key(Qt::Key_F3); }, 4, 40},
        {"F3 past the last place: nothing changes", [&] { Key(Qt::Key_F3); }, 4, 40, true},
        {"back to page 3, F3 starts at its top",
         [&] {
             form.PgUpClick();
             Key(Qt::Key_F3);
         },
         3, 40},
        {"the exact case from the current page goes on after the last place",
         [&] { Find(QStringLiteral("СИЛОС"), true, false); }, 3, 600},
        {"the exact case from the first page", [&] { Find(QStringLiteral("СИЛОС"), true, true); }, 3, 600},
        {"a text nowhere: nothing changes", [&] { Find(QStringLiteral("Влажность"), false, true); }, 3, 600, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        const int position = form.VScrollBar->value();
        step.act();
        ASSERT_TRUE(form.Found);
        EXPECT_EQ(form.CurPage, step.page);
        EXPECT_EQ(form.FoundPage, step.page - 1);
        EXPECT_TRUE(QRect(40, step.top, 300, 20).contains(form.FoundRect)) << form.FoundRect.top();
        const QRect& page = form.PageRects()[size_t(step.page - 1)];
        const int placeTop = page.top() + int(form.FoundRect.top() * form.Scale) - form.VScrollBar->value();
        EXPECT_GE(placeTop, 0) << "the place shows";
        EXPECT_LT(placeTop + form.FoundRect.height() * form.Scale, form.PBox->height());
        if (step.stays) {
            EXPECT_EQ(form.VScrollBar->value(), position);
        }
    }
}

TEST_F(PreviewSearch, ThePlaceFoundIsMarked)
{
    Find(QStringLiteral("Подвеска"), false, true);
    ASSERT_EQ(form.CurPage, 2);
    QImage image(form.PBox->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    form.PBox->PaintPages(painter, QRegion(image.rect()));
    const QRect& page = form.PageRects()[1];
    const QRect mark(page.left() + form.ScrollOffsetX + int(form.FoundRect.left() * form.Scale),
                     page.top() + form.ScrollOffsetY + int(form.FoundRect.top() * form.Scale),
                     int(form.FoundRect.width() * form.Scale), int(form.FoundRect.height() * form.Scale));
    int dark = 0;
    for (int y = mark.top() + 1; y < mark.bottom(); ++y)
        for (int x = mark.left() + 1; x < mark.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark * 2, (mark.width() - 2) * (mark.height() - 2)) << "the white behind the text is inverted";
    EXPECT_EQ(image.pixelColor(mark.right() + 4, mark.center().y()), QColor(Qt::white)) << "only the place";
}

} // namespace
