// Prepared pages: objects printed into pages come back as live objects, draw scaled into a
// rectangle, answer the pointer (links opened only for web and mail addresses), and survive a
// prepared-report file; older files and damaged ones are read or refused as a whole.
#include <gtest/gtest.h>

#include <functional>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "SampleGraphics.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/MemoView.h"
#include "report/objects/PictureView.h"
#include "report/objects/ReportFont.h"
#include "report/objects/TextMeasure.h"
#include "report/objects/ReportColor.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr TColor kRed = 0x0000FF;   // 0x00BBGGRR

class PreparedPages : public ::testing::Test {
protected:
    PreparedPages()
    {
        context.OnLog = [this](const QString& message) { log << message; };
        design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
    }

    TrpEMFPages& Pages() { return *report.EMFPages; }

    // A memo made on the design page and printed into prepared page `page`.
    TrpMemoView& PrintMemo(int page, const QString& name, QRect r, TColor fill = clTransparent)
    {
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->Name = name;
        memo->SetBounds(r.x(), r.y(), r.width(), r.height());
        memo->Memo = QStringList{name};
        memo->FillColor = fill;
        Print(page, *memo);
        return *memo;
    }

    void Print(int page, TrpView& view)
    {
        view.PrintedForm = true;
        view.PrintToStream(Pages().Page(page).ObjectStream);
    }

    // The page drawn into an image of the given size, into the rectangle given.
    QImage Drawn(int page, QSize size, QRect rect)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        Pages().Page(page).Visible = true;
        Pages().Draw(page, painter, rect);
        return image;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* design = nullptr;
    QStringList log;
};

TEST_F(PreparedPages, ANewPageTakesTheDesignPagesPaperAndTellsTheReport)
{
    design->ApplyPaper(kPaperA4, 0, 0, -1, poLandscape);
    design->MarginsOn = false;
    design->LeftMargin = 36;
    design->BottomMargin = 18;
    std::vector<int> begun;
    report.OnBeginPage = [&begun](int pageNo) { begun.push_back(pageNo); };
    context.CurrentReport = &report;
    context.PageNo = 4;
    Pages().AddPage(*design);

    const TrpEMFPage& page = Pages().Page(0);
    EXPECT_EQ(page.Orientation, poLandscape);
    EXPECT_EQ(page.PaperWidth, design->PaperWidth);
    EXPECT_EQ(page.PaperHeight, design->PaperHeight);
    EXPECT_FALSE(page.MarginsOn);
    EXPECT_EQ(page.LeftMargin, 36);
    EXPECT_EQ(page.BottomMargin, 18);
    EXPECT_EQ(page.PaperGeometry.PageWidth, design->PaperGeometry.PageWidth);
    EXPECT_EQ(page.ObjectStream.data(), QByteArray(1, char(kCurrentTemplateVersion)));
    EXPECT_FALSE(page.Visible);
    EXPECT_EQ(begun, std::vector<int>{4});
}

TEST_F(PreparedPages, InsertingAndDeletingKeepTheOrder)
{
    for (int i = 0; i < 3; ++i) {
        Pages().AddPage(*design);
        PrintMemo(i, QStringLiteral("M%1").arg(i), QRect(10, 10, 50, 20));
    }
    Pages().InsertPage(1, *design);
    Pages().InsertPage(99, *design);   // beyond the end: appended
    Pages().Delete(0);
    ASSERT_EQ(Pages().Count(), 4);
    const auto firstName = [this](int index) {
        Pages().RestoreObjects(index);
        const TrpPage& live = *Pages().Page(index).LivePage;
        return live.Objects.empty() ? QString() : live.Objects.front()->Name;
    };
    EXPECT_EQ(firstName(0), QString());
    EXPECT_EQ(firstName(1), QStringLiteral("M1"));
    EXPECT_EQ(firstName(2), QStringLiteral("M2"));
    EXPECT_EQ(firstName(3), QString());
}

TEST_F(PreparedPages, LiveObjectsAreBuiltWhenDrawnAndReleasedWhenNotVisible)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Title"), QRect(20, 30, 200, 40));
    PrintMemo(0, QStringLiteral("Body"), QRect(20, 80, 300, 60));
    TrpEMFPage& page = Pages().Page(0);
    EXPECT_EQ(page.LivePage, nullptr) << "printing leaves only the stream";

    Drawn(0, QSize(100, 100), QRect(0, 0, 100, 140));
    ASSERT_NE(page.LivePage, nullptr);
    ASSERT_EQ(page.LivePage->Objects.size(), 2u);
    const TrpView& body = *page.LivePage->Objects[1];
    EXPECT_EQ(body.Name, QStringLiteral("Body"));
    EXPECT_EQ(QRect(body.Left, body.Top, body.Width, body.Height), QRect(20, 80, 300, 60));
    EXPECT_FALSE(body.PrintedForm);
    EXPECT_EQ(context.CurrentPage, nullptr) << "the page is current only while it is drawn";

    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    page.Visible = false;
    Pages().Draw(0, painter, QRect());
    EXPECT_EQ(page.LivePage, nullptr);
    EXPECT_EQ(context.CurrentPage, nullptr) << "no run variable points at the freed page";
    EXPECT_EQ(context.CurrentView, nullptr);

    Drawn(0, QSize(100, 100), QRect(0, 0, 100, 140));
    EXPECT_NE(page.LivePage, nullptr) << "drawn again, the objects come back";
}

TEST_F(PreparedPages, APageDrawsScaledIntoItsRectangle)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Cell"), QRect(100, 100, 50, 20), kRed);
    const int pw = design->PaperGeometry.PageWidth;
    const int ph = design->PaperGeometry.PageHeight;
    ASSERT_GT(pw, 0);

    // Zoom 1, shifted by (10, 20): the cell covers 110..160 x 120..140.
    const QImage one = Drawn(0, QSize(pw + 20, ph + 40), QRect(10, 20, pw, ph));
    EXPECT_EQ(one.pixelColor(135, 130), QColor(Qt::red));
    EXPECT_EQ(one.pixelColor(105, 130), QColor(Qt::white));
    EXPECT_EQ(one.pixelColor(135, 145), QColor(Qt::white));

    // Zoom 2: the cell covers 200..300 x 200..240.
    const QImage two = Drawn(0, QSize(2 * pw, 2 * ph), QRect(0, 0, 2 * pw, 2 * ph));
    EXPECT_EQ(two.pixelColor(290, 235), QColor(Qt::red));
    EXPECT_EQ(two.pixelColor(190, 220), QColor(Qt::white));
    EXPECT_EQ(two.pixelColor(250, 250), QColor(Qt::white));
}

// A sheet drawn into a rectangle narrower than its height gives it (a page without margins in
// the printable area inside them) narrows its text with its boxes: a value that fits its box at
// zoom 1 is drawn as wide as the same value in a box far wider than it, at every zoom.
TEST_F(PreparedPages, AnUnevenlyStretchedPageNarrowsItsTextWithItsBoxes)
{
    Pages().AddPage(*design);
    const QString value = QStringLiteral("255-256-12");
    const auto cell = [&](int top, int width) {
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->Memo = QStringList{value};
        memo->Font.Size = 8;
        memo->Alignment = taCenter;
        memo->SetBounds(100, top, width, 20);
        Print(0, *memo);
    };
    TrpFont font;
    font.Size = 8;
    const int textWidth =
        context.TextMeasures.Measure(font, FontPixelHeight(8), &context.ScratchBitmap, 0).Width(value);
    cell(100, textWidth + 2 * 2);   // just wide enough: the text and its gaps of 2
    cell(200, 300);
    // The columns holding ink in the rows from top to bottom.
    const auto inkWidth = [](const QImage& image, int top, int bottom) {
        int first = image.width(), last = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return last - first + 1;
    };
    const int pw = design->PaperGeometry.PageWidth;
    const int ph = design->PaperGeometry.PageHeight;
    for (const double zoom : {1.0, 2.0}) {
        SCOPED_TRACE(testing::Message() << "zoom " << zoom);
        const QSize size(int(pw * zoom), int(ph * zoom));
        const QImage image = Drawn(0, size, QRect(0, 0, int(pw * zoom * 3 / 4), size.height()));
        const int whole = inkWidth(image, int(200 * zoom), int(220 * zoom));
        // Narrowed with the sheet, to three quarters.
        EXPECT_GT(whole, int(textWidth * zoom / 2));
        EXPECT_LE(whole, int(textWidth * zoom * 3 / 4) + 1);
        EXPECT_GE(inkWidth(image, int(100 * zoom), int(120 * zoom)), whole - 1);
    }
}

TEST_F(PreparedPages, StoringLiveObjectsWritesTheirEditsBack)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Edited"), QRect(10, 10, 50, 20));
    Pages().RestoreObjects(0);
    Pages().Page(0).LivePage->Objects.front()->Left = 333;
    Pages().StoreObjects(0);
    Pages().ReleaseObjects(0);
    Pages().RestoreObjects(0);
    EXPECT_EQ(Pages().Page(0).LivePage->Objects.front()->Left, 333);
}

TEST_F(PreparedPages, HitTestTakesTheObjectPrintedLast)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Under"), QRect(10, 10, 100, 50));
    PrintMemo(0, QStringLiteral("Over"), QRect(50, 30, 100, 50));
    QString clicked;
    report.OnObjectClick = [&clicked](TrpView* view) { clicked = view->Name; };
    const auto click = [&](QPoint p) {
        clicked.clear();
        TrpObjectHit hit;
        const bool handled = Pages().ObjectAt(0, p, true, hit);
        return handled ? clicked : QStringLiteral("-");
    };
    EXPECT_EQ(click(QPoint(60, 40)), QStringLiteral("Over"));
    EXPECT_EQ(click(QPoint(20, 20)), QStringLiteral("Under"));
    EXPECT_EQ(click(QPoint(149, 79)), QStringLiteral("Over"));
    EXPECT_EQ(click(QPoint(150, 80)), QStringLiteral("-")) << "the far edges lie outside";
    EXPECT_EQ(click(QPoint(500, 500)), QStringLiteral("-"));
}

TEST_F(PreparedPages, LinkObjectsShowTheirTagAndOpenOnlyWebAndMailAddresses)
{
    const struct {
        const char* tag;
        const char* opened;     // the address a click opens
        const char* pageLink;   // the page reference a click gives back
    } cases[] = {
        {"https://example.org/a?b=1", "https://example.org/a?b=1", ""},
        {"mailto:silo@example.org", "mailto:silo@example.org", ""},
        {"@3", "", "@3"},
        {"file:///etc/passwd", "", ""},
        {"/usr/bin/xterm", "", ""},
    };
    Pages().AddPage(*design);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        TrpMemoView* link = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        link->Name = QStringLiteral("URL%1").arg(i);
        link->SetBounds(0, 20 * i, 100, 10);
        link->Tag = QString::fromUtf8(cases[i].tag);
        Print(0, *link);
    }
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QPoint inside(5, 20 * i + 5);
        TrpObjectHit over;
        ASSERT_TRUE(Pages().ObjectAt(0, inside, false, over));
        EXPECT_EQ(over.Cursor, Qt::PointingHandCursor);
        EXPECT_EQ(over.Text, QString::fromUtf8(cases[i].tag));

        TrpObjectHit click;
        ASSERT_TRUE(Pages().ObjectAt(0, inside, true, click)) << cases[i].tag;
        EXPECT_EQ(click.OpenUrl.toString(), QString::fromUtf8(cases[i].opened)) << cases[i].tag;
        EXPECT_EQ(click.Text, QString::fromUtf8(cases[i].pageLink)) << cases[i].tag;
    }
}

TEST(OpenableLink, OnlyWebAndMailAddresses)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://example.org", true},       {"HTTPS://example.org/x", true},  {" https://example.org ", true},
        {"mailto:a@example.org", true},     {"file:///etc/passwd", false},     {"javascript:alert(1)", false},
        {"ftp://example.org/x", false},     {"http://", false},                {"mailto:", false},
        {"/bin/sh", false},                 {"calc.exe", false},               {"", false},
    };
    for (const auto& [tag, openable] : cases)
        EXPECT_EQ(OpenableLink(QString::fromUtf8(tag)).isValid(), openable) << tag;
}

class PreparedReportFiles : public PreparedPages {
protected:
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

TEST_F(PreparedReportFiles, PagesSurviveAFile)
{
    const struct {
        int size;
        uint8_t orientation;
        bool marginsOn;
    } papers[] = {{kPaperA4, poPortrait, true}, {kPaperA4, poLandscape, false}, {11, poPortrait, true}};
    for (int i = 0; i < 3; ++i) {
        design->ApplyPaper(papers[i].size, 0, 0, -1, papers[i].orientation);
        design->MarginsOn = papers[i].marginsOn;
        design->TopMargin = 10 * i;
        Pages().AddPage(*design);
        PrintMemo(i, QStringLiteral("Page%1Memo").arg(i), QRect(10 + i, 20, 100, 30), kRed);
    }
    TrpPictureView& picture = static_cast<TrpPictureView&>(*design->AddObject(std::make_unique<TrpPictureView>()));
    picture.SetBounds(5, 200, 40, 40);
    picture.Picture = TrpGraphic(gkBitmap, SampleImageFile("PNG", Qt::blue));
    Print(1, picture);
    report.ReportInfo.Generator = 77;
    Pages().SaveToFile(Path("three.rpp"));

    TrpReport reader(context);
    reader.EMFPages->LoadFromFile(Path("three.rpp"));
    ASSERT_EQ(reader.EMFPages->Count(), 3);
    EXPECT_EQ(reader.ReportInfo.Generator, 77);
    for (int i = 0; i < 3; ++i) {
        const TrpEMFPage& a = Pages().Page(i);
        const TrpEMFPage& b = reader.EMFPages->Page(i);
        EXPECT_EQ(b.Size, a.Size);
        EXPECT_EQ(b.PaperWidth, a.PaperWidth);
        EXPECT_EQ(b.PaperHeight, a.PaperHeight);
        EXPECT_EQ(b.Orientation, a.Orientation);
        EXPECT_EQ(b.PaperBin, a.PaperBin);
        EXPECT_EQ(b.MarginsOn, a.MarginsOn);
        EXPECT_EQ(b.TopMargin, a.TopMargin);
        EXPECT_EQ(b.PaperGeometry.PageWidth, a.PaperGeometry.PageWidth);
        EXPECT_EQ(b.ObjectStream.data(), a.ObjectStream.data());
    }
    reader.EMFPages->RestoreObjects(1);
    const TrpPage& live = *reader.EMFPages->Page(1).LivePage;
    ASSERT_EQ(live.Objects.size(), 2u);
    const auto* read = dynamic_cast<const TrpPictureView*>(live.Objects[1].get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Picture.Data(), picture.Picture.Data());
}

TEST_F(PreparedReportFiles, AReportOfNoPagesReadsBackAsNoPages)
{
    Pages().SaveToFile(Path("empty.rpp"));
    TrpReport reader(context);
    reader.EMFPages->AddPage(*design);
    reader.EMFPages->LoadFromFile(Path("empty.rpp"));
    EXPECT_EQ(reader.EMFPages->Count(), 0);
}

TEST_F(PreparedReportFiles, ADamagedFileLeavesThePagesAsTheyWere)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Kept"), QRect(10, 10, 50, 20));
    Pages().AddPage(*design);
    Pages().SaveToFile(Path("whole.rpp"));
    QFile file(Path("whole.rpp"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 3);
    file.close();

    try {
        Pages().LoadFromFile(Path("whole.rpp"));
        FAIL() << "a truncated file was read";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Сохранённый отчёт повреждён на странице 2");
    }
    ASSERT_EQ(Pages().Count(), 2);
    Pages().RestoreObjects(0);
    EXPECT_EQ(Pages().Page(0).LivePage->Objects.front()->Name, QStringLiteral("Kept"));
}

TEST_F(PreparedReportFiles, AFileWhoseObjectsTheEngineCannotLayOutIsRefusedAtOnce)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Kept"), QRect(10, 10, 50, 20));
    const struct {
        const char* what;
        std::function<void(TrpMemoView&)> spoil;
    } cases[] = {
        {"far outside any page", [](TrpMemoView& m) { m.Left = 1'000'001; }},
        {"of a negative height beyond a thousand pages", [](TrpMemoView& m) { m.Height = -1'000'001; }},
        {"with a frame wider than a thousand pages", [](TrpMemoView& m) { m.FrameWidth = 2e6f; }},
        {"with a font of a hundred thousand points", [](TrpMemoView& m) { m.Font.Size = 100'000; }},
        {"with characters a page apart and more", [](TrpMemoView& m) { m.CharSpacing = 1001; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TrpReport writer(context);
        TrpPage* page = writer.AddPage();
        writer.EMFPages->AddPage(*page);
        writer.EMFPages->AddPage(*page);
        auto* memo = static_cast<TrpMemoView*>(page->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(10, 10, 50, 20);
        c.spoil(*memo);
        memo->PrintedForm = true;
        memo->WriteEntry(writer.EMFPages->Page(1).ObjectStream);
        writer.EMFPages->SaveToFile(Path("spoilt.rpp"));
        try {
            Pages().LoadFromFile(Path("spoilt.rpp"));
            FAIL() << "read without complaint";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), "Сохранённый отчёт повреждён на странице 2");
        }
        ASSERT_EQ(Pages().Count(), 1) << "the pages stay as they were";
    }
}

TEST_F(PreparedReportFiles, AFailedSaveKeepsThePreviousFile)
{
    const QString path = Path("previous.rpp");
    {
        QFile previous(path);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous contents");
    }
    Pages().AddPage(*design);
    // A printer name longer than a file's string can hold fails the write half-way.
    TrpPrinter& printer = context.ReportPrinter;
    printer.Printers[printer.CurrentIndex] = QString(70000, QLatin1Char('x'));
    EXPECT_THROW(Pages().SaveToFile(path), EWriteError);
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("previous contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("previous.rpp")});
}

TEST_F(PreparedReportFiles, ADamagedObjectStreamFailsThatPageOnly)
{
    Pages().AddPage(*design);
    PrintMemo(0, QStringLiteral("Fine"), QRect(10, 10, 50, 20));
    Pages().AddPage(*design);
    WriteFrByte(Pages().Page(1).ObjectStream, 7);   // no object has type 7
    try {
        Pages().RestoreObjects(1);
        FAIL() << "an unknown entry was read";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Сохранённый отчёт повреждён на странице 2");
    }
    EXPECT_EQ(Pages().Page(1).LivePage, nullptr);
    Pages().RestoreObjects(0);
    EXPECT_EQ(Pages().Page(0).LivePage->Objects.size(), 1u);
}

TEST_F(PreparedReportFiles, TheOldestLayoutBecomesAPictureOverEachPage)
{
    QByteArray bytes("Printer\r\0", 9);
    const auto putInt = [&bytes](int v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char(v >> (8 * i)));
    };
    const QByteArray metafile = SampleMetafile(qRgb(0, 0, 255), 200, 100);
    putInt(1);
    putInt(int(bytes.size()) + 16 + int(metafile.size()));
    bytes.append(char(kPaperA4)).append('\0');
    putInt(2100), putInt(2970);
    bytes.append('\0').append('\1');
    bytes += metafile;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Pages().LoadFromStream(&buffer);

    ASSERT_EQ(Pages().Count(), 1);
    EXPECT_EQ(Pages().Page(0).PaperBin, -1);
    Pages().RestoreObjects(0);
    const TrpPage& live = *Pages().Page(0).LivePage;
    ASSERT_EQ(live.Objects.size(), 1u);
    const TrpView& picture = *live.Objects.front();
    EXPECT_EQ(picture.TypeCode, otPicture);
    const TPaperGeometry& g = Pages().Page(0).PaperGeometry;
    EXPECT_EQ(QRect(picture.Left, picture.Top, picture.Width, picture.Height), QRect(0, 0, g.PageWidth, g.PageHeight));
    const QImage image = Drawn(0, QSize(g.PageWidth, g.PageHeight), QRect(0, 0, g.PageWidth, g.PageHeight));
    EXPECT_EQ(image.pixelColor(g.PageWidth / 2, g.PageHeight / 4), QColor(Qt::blue));
}

}  // namespace
