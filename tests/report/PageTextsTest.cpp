// The texts a prepared page draws, as the preview's search reads them: one record per line
// drawn, in drawing order, where the page draws it; found from a record on, in any case or in
// the exact case.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "report/ui/PageTexts.h"

namespace {

class PageTexts : public ExportFixture {
protected:
    std::vector<TrpDrawnText> Texts(int page)
    {
        const TPaperGeometry& g = Pages().Page(page).PaperGeometry;
        return DrawnTexts(Pages(), page, QRect(0, 0, g.PageWidth, g.PageHeight));
    }
};

TEST_F(PageTexts, EachLineIsOneRecordWhereItIsDrawn)
{
    const int page = AddPage();
    Print(page, {100, 200, 300, 60, {QStringLiteral("Силос 12 (S12)"), QStringLiteral("Температура")}});
    Print(page, {400, 500, 200, 20, {QStringLiteral("Strom")}});

    const std::vector<TrpDrawnText> texts = Texts(page);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("Силос 12 (S12)")) << "Cyrillic and Latin pieces are joined";
    EXPECT_EQ(texts[1].Text, QStringLiteral("Температура"));
    EXPECT_EQ(texts[2].Text, QStringLiteral("Strom"));
    EXPECT_TRUE(QRectF(100, 200, 300, 60).contains(texts[0].Bounds)) << texts[0].Bounds.left();
    EXPECT_LT(texts[0].Bounds.bottom(), texts[1].Bounds.top() + 1);
    EXPECT_TRUE(QRectF(400, 500, 200, 20).contains(texts[2].Bounds));
    EXPECT_EQ(Pages().Page(page).Visible, false) << "the page's visible flag is left as it was";
}

TEST_F(PageTexts, FindingFromARecordInAnyCaseOrTheExactOne)
{
    const std::vector<TrpDrawnText> texts = {
        {QStringLiteral("Протокол температур"), QRectF(10, 10, 100, 10)},
        {QStringLiteral("ТД №1"), QRectF(10, 30, 30, 10)},
        {QStringLiteral("температура воздуха"), QRectF(10, 50, 90, 10)},
    };
    const struct {
        const char* what;
        bool caseSensitive;
        int from;
        int found;   // -1: none
    } cases[] = {
        {"ТЕМПЕРАТУР", false, 0, 0},
        {"ТЕМПЕРАТУР", false, 1, 2},
        {"ТЕМПЕРАТУР", false, 3, -1},
        {"температур", true, 0, 0},
        {"Температур", true, 0, -1},
        {"№1", true, 0, 1},
        {"ВЛАЖНОСТЬ", false, 0, -1},
    };
    for (const auto& c : cases) {
        const auto hit = FindDrawnText(texts, QString::fromUtf8(c.what), c.caseSensitive, c.from);
        SCOPED_TRACE(c.what);
        ASSERT_EQ(hit.has_value(), c.found >= 0);
        if (hit) {
            EXPECT_EQ(hit->Record, c.found);
            EXPECT_EQ(hit->Bounds, texts[size_t(c.found)].Bounds.toAlignedRect());
        }
    }
}

} // namespace
