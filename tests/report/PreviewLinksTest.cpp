// Links on prepared pages in the preview: a page reference moves to its page, web and mail
// addresses open through the desktop and nothing else ever does, the pointer over a link shows
// it; a press beside the objects drags the view.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QObject>
#include <QUrl>

#include "PreviewFixture.h"
#include "report/runtime/TextRoutines.h"

namespace {

// Stands in for the desktop's browser and mail program.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    LinkCatcher()
    {
        for (const char* scheme : kSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~LinkCatcher() override
    {
        for (const char* scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    Q_INVOKABLE void Open(const QUrl& url) { Opened << url; }

    QList<QUrl> Opened;

private:
    static constexpr const char* kSchemes[] = {"http", "https", "mailto", "file"};
};

class PreviewLinks : public PreviewFixture {
protected:
    PreviewLinks()
    {
        for (int i = 0; i < 3; ++i)
            AddPage();
        PrintLink(0, QRect(40, 40, 200, 20), QStringLiteral("URL1"), QStringLiteral("@3"));
        PrintLink(0, QRect(40, 80, 200, 20), QStringLiteral("URL2"), QStringLiteral("@x"));
        PrintLink(0, QRect(40, 120, 200, 20), QStringLiteral("URL3"), QStringLiteral("https://example.org/x"));
        PrintLink(0, QRect(40, 160, 200, 20), QStringLiteral("URL4"), QStringLiteral("file:///etc/passwd"));
        PrintLink(0, QRect(40, 200, 200, 20), QStringLiteral("URL5"), QStringLiteral("mailto:silo@example.org"));
        PrintLink(2, QRect(40, 40, 200, 20), QStringLiteral("URL6"), QStringLiteral("@0"));
        PrintLink(2, QRect(40, 80, 200, 20), QStringLiteral("URL7"), QStringLiteral("@9"));
        context.LastScale = 0.5;
        ShowPages();
    }

    // The middle of the link whose top is at y on the page.
    QPoint Link(int page, int y) const { return BoxPoint(page, QPoint(140, y + 10)); }

    LinkCatcher catcher;
};

TEST_F(PreviewLinks, AClickFollowsPageReferencesAndOpensOnlyWebAndMailAddresses)
{
    const struct {
        const char* what;
        int page, y;         // the link clicked: its page (from 0) and top
        int currentPage;     // afterwards
        const char* opened;  // "" none
    } clicks[] = {
        {"a page reference", 0, 40, 3, ""},
        {"a page reference below 1 goes to 1", 2, 40, 1, ""},
        {"a page reference that is no number", 0, 80, 1, ""},
        {"a web address", 0, 120, 1, "https://example.org/x"},
        {"a file is never opened", 0, 160, 1, ""},
        {"a mail address", 0, 200, 1, "mailto:silo@example.org"},
        {"a page beyond the last is ignored", 2, 80, 3, ""},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.what);
        catcher.Opened.clear();
        form.CurPage = c.page + 1;
        form.ScrollToPage();
        Click(Link(c.page, c.y));
        EXPECT_EQ(form.CurPage, c.currentPage);
        EXPECT_EQ(catcher.Opened, *c.opened ? QList<QUrl>{QUrl(QString::fromUtf8(c.opened))} : QList<QUrl>{});
        EXPECT_FALSE(form.PBox->Dragging) << "a link is no place to drag from";
    }
}

TEST_F(PreviewLinks, ThePointerOverALinkShowsItAndBesideThemDragsTheView)
{
    Mouse(QEvent::MouseMove, Link(0, 40));
    EXPECT_EQ(form.Label2->text(), LoadFrResString(context, 55004) + QStringLiteral(" 3"));
    EXPECT_EQ(form.PBox->cursor().shape(), Qt::PointingHandCursor);
    Mouse(QEvent::MouseMove, Link(0, 120));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("https://example.org/x"));
    Mouse(QEvent::MouseMove, BoxPoint(0, QPoint(500, 600)));
    EXPECT_EQ(form.PBox->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(form.Label2->text().isEmpty());

    const QPoint from = BoxPoint(0, QPoint(500, 600));
    Mouse(QEvent::MouseButtonPress, from);
    EXPECT_TRUE(form.PBox->Dragging);
    Mouse(QEvent::MouseMove, from - QPoint(0, 50));
    EXPECT_EQ(form.VScrollBar->value(), 50) << "the pages follow the pointer";
    Mouse(QEvent::MouseButtonRelease, from - QPoint(0, 50));
    EXPECT_FALSE(form.PBox->Dragging);
}

} // namespace

#include "PreviewLinksTest.moc"
