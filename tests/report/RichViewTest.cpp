// The rich-text object: its registration, expansion of its expressions, its records, the rich
// text it takes from a data field, its height, its split across prepared pages and its drawing.
#include <gtest/gtest.h>

#include <map>

#include <QImage>
#include <QtEndian>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

#include "FakeTable.h"
#include "PageBuildFixture.h"
#include "ReportObjectsFixture.h"
#include "report/data/MemoryTable.h"
#include "report/file/Cp1251Text.h"
#include "report/file/RtfReader.h"
#include "report/objects/ObjectRegistry.h"
#include "report/objects/RichView.h"
#include "report/runtime/ReportErrors.h"

namespace {

// An RTF document in Arial 12 whose body is the given RTF text.
QByteArray Rtf(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24 ") +
           body + "}";
}

void SetRich(TrpRichView& view, const QByteArray& rtf)
{
    ReadRtf(rtf, *view.RichEdit);
}

// The paragraphs of a rich text, "|" between them.
QString Paragraphs(const QTextDocument& text)
{
    return text.toPlainText().replace(QLatin1Char('\n'), QLatin1Char('|'));
}

class RichView : public ReportObjects {
protected:
    RichView()
    {
        context.PrintModeFlag = true;
        context.CurrentPage = page;
        rich = Add<TrpRichView>();
        rich->Name = QStringLiteral("Rich1");
        rich->PrintedForm = true;   // as the page set-up switches its objects before a build
        rich->SetBounds(0, 0, 300, 100);
        context.OnLog = [this](const QString& message) { log << message; };
        fieldValue = QStringLiteral("5");
        ServeField();
    }

    // Prints the object; the entry written.
    QByteArray Print()
    {
        return PrintEntry(*rich);
    }

    TrpRichView* rich = nullptr;
    QStringList log;
};

TEST_F(RichView, RegisteredAsTheEnginesAddIn)
{
    const auto& addIns = AddInObjects();
    const auto entry = std::find_if(addIns.begin(), addIns.end(), [](const TrpAddInObjectInfo& info) {
        return info.ClassRef.ClassName == QLatin1String("TrpRichView");
    });
    ASSERT_NE(entry, addIns.end());
    EXPECT_EQ(entry->ButtonHint, QStringLiteral("55223"));
    EXPECT_EQ(entry->ButtonBitmap.size(), QSize(16, 16));
    std::unique_ptr<TrpView> made = CreateReportObject(context, otAddIn, QStringLiteral("TrpRichView"));
    ASSERT_TRUE(dynamic_cast<TrpRichView*>(made.get()));
    EXPECT_EQ(made->TypeCode, otAddIn);
    EXPECT_EQ(made->BaseName, QStringLiteral("Rich"));
    EXPECT_EQ(static_cast<TrpRichView*>(made.get())->MinHeight(), 8);
}

TEST_F(RichView, TextOnlyPropertyIsItsFlagBit)
{
    const struct {
        QVariant set;
        bool flag;
    } cases[] = {{1, true}, {0, false}, {true, true}, {false, false}};
    for (const auto& c : cases) {
        rich->SetPropertyValue(QStringLiteral("TextOnly"), c.set);
        EXPECT_EQ(bool(rich->Flags & rfTextOnly), c.flag) << c.set.toString().toStdString();
        EXPECT_EQ(rich->GetPropertyValue(QStringLiteral("TEXTONLY")), QVariant(c.flag));
    }
    EXPECT_EQ(rich->Flags & kFlagStretched, kFlagStretched) << "other bits stay";
}

TEST_F(RichView, ExpansionReplacesEachBracketOnceInItsFormat)
{
    const struct {
        const char* body;
        bool textOnly;
        QVariant value;
        const char* expanded;   // paragraphs joined by "|"
        int expansions;
    } cases[] = {
        {"\\'d2 = [FIELD] C", false, "5", "Т = 5 C", 1},
        {"[FIELD]/[FIELD]", false, "5", "5/5", 2},
        {"\\'d2 = [FIELD]", true, "5", "Т = [FIELD]", 0},   // text only: brackets stay
        {"[FIELD]!", false, "[FIELD]", "[FIELD]!", 1},      // a value's own brackets stay
        {"a [FIELD] b", false, "1\r\n2\r3\n4", "a 1|2|3|4 b", 1},
        {"\\'e1\\'e5\\'e7 \\'f1\\'ea\\'ee\\'e1\\'ee\\'ea", false, "5", "без скобок", 0},
        {"", false, "5", "", 0},
        {"x [", false, "5", "x [", 0},   // a "[" that ends the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        rich->Flags = c.textOnly ? rfTextOnly : 0;
        fieldValue = c.value;
        expansions = 0;
        QTextDocument text;
        ReadRtf(Rtf(c.body), text);
        rich->ExpandRichTextExpressions(text);
        EXPECT_EQ(Paragraphs(text), QString::fromUtf8(c.expanded));
        EXPECT_EQ(expansions, c.expansions);
    }

    // The value takes the character format of its "[".
    fieldValue = QStringLiteral("жирно");
    rich->Flags = 0;
    QTextDocument text;
    ReadRtf(Rtf("a {\\b\\cf1 [FIELD]} b"), text);
    rich->ExpandRichTextExpressions(text);
    ASSERT_EQ(text.toPlainText(), QStringLiteral("a жирно b"));
    QTextCursor cursor(&text);
    cursor.setPosition(3);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(Qt::red));
    cursor.setPosition(9);
    EXPECT_NE(cursor.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(RichView, RecordsReadBackInBothForms)
{
    for (const bool printed : {false, true}) {
        SCOPED_TRACE(printed);
        rich->PrintedForm = printed;
        rich->Memo = QStringList{QStringLiteral("[tbSilo.Note]")};
        rich->WorkText = rich->Memo;
        SetRich(*rich, Rtf("\\qc \\'d1\\'e8\\'eb\\'ee\\'f1 {\\b 1}\\par \\ql \\'e2\\'f2\\'ee\\'f0\\'ee\\'e9"));
        const QByteArray record = Record(*rich);
        auto* read = Read<TrpRichView>(record, printed);
        EXPECT_EQ(Paragraphs(*read->RichEdit), QStringLiteral("Силос 1|второй"));
        EXPECT_EQ(read->RichEdit->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QTextCursor cursor(read->RichEdit.get());
        cursor.setPosition(7);
        EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
        EXPECT_EQ(read->Memo, rich->Memo);
    }

    // An empty rich text: the byte 0 and the position where the record ends.
    rich->RichEdit = NewRichText();
    rich->PrintedForm = false;
    const QByteArray record = Record(*rich);
    EXPECT_EQ(record.at(record.size() - 5), 0);
    EXPECT_EQ(qFromLittleEndian<int32_t>(record.constData() + record.size() - 4), record.size());
    EXPECT_TRUE(Read<TrpRichView>(record)->RichEdit->isEmpty());
}

TEST_F(RichView, PrintedEntryHoldsTheExpandedTextUnderItsClassName)
{
    SetRich(*rich, Rtf("\\'d2 = [FIELD]"));
    const QByteArray entry = Print();
    QBuffer buffer;
    buffer.setData(entry);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_EQ(ReadFrByte(buffer), otAddIn);
    const QString className = ReadFrString(buffer);
    EXPECT_EQ(className, QStringLiteral("TrpRichView"));
    std::unique_ptr<TrpView> made = CreateReportObject(context, otAddIn, className);
    made->Report = report.get();
    made->PrintedForm = true;
    made->LoadFromStream(buffer);
    EXPECT_TRUE(buffer.atEnd());
    EXPECT_EQ(Paragraphs(*static_cast<TrpRichView*>(made.get())->RichEdit), QStringLiteral("Т = 5"));
    EXPECT_EQ(Paragraphs(*rich->RichEdit), QStringLiteral("Т = [FIELD]")) << "the template's text stays";

    rich->Visible = false;
    EXPECT_TRUE(Print().isEmpty()) << "an invisible object writes nothing";
}

TEST_F(RichView, UntrustedRichTextShowsWhatCanBeShown)
{
    rich->PrintedForm = false;
    // A design record with the octets as its rich text, ending where end says (-1: after them).
    const QByteArray head = Record(*rich).chopped(5);
    const auto record = [&head](const QByteArray& octets, qint64 end = -1) {
        QByteArray bytes = head;
        bytes.append(char(1));
        const auto stored = int32_t(end >= 0 ? end : bytes.size() + 4 + octets.size());
        bytes.append(reinterpret_cast<const char*>(&stored), 4);
        return bytes + octets;
    };
    EXPECT_EQ(Paragraphs(*Read<TrpRichView>(record(ToCp1251(QStringLiteral("просто текст\r\nвторая"))))->RichEdit),
              QStringLiteral("просто текст|вторая"))
        << "octets that are not RTF show as text";
    EXPECT_TRUE(log.isEmpty());

    const QByteArray tooLarge = "{\\rtf1 " + QByteArray(kMaxRtfSize, 'x') + "}";
    EXPECT_TRUE(Read<TrpRichView>(record(tooLarge))->RichEdit->isEmpty());
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().contains(QStringLiteral("слишком велик"))) << log.first().toStdString();

    const QByteArray octets = Rtf("x");
    for (const qint64 end : {qint64(head.size()), qint64(head.size() + 6 + octets.size())}) {
        QBuffer buffer;
        buffer.setData(record(octets, end));
        buffer.open(QIODevice::ReadOnly);
        EXPECT_THROW(Add<TrpRichView>()->LoadFromStream(buffer), EReadError) << "an end outside the record: " << end;
    }
}

TEST(RichXml, AttributesHoldTheRichTextItsSwitchesAndItsField)
{
    TrpRunContext context;
    QObject mainForm;
    mainForm.setObjectName(QStringLiteral("fmMain"));
    auto* table = new FakeTable(QStringLiteral("dmReport"), &mainForm);
    table->AddField(QStringLiteral("Note"), ftMemo);
    auto* report = new TrpReport(context, &mainForm);
    context.CurrentReport = report;
    TrpPage* page = report->AddPage();
    auto* rich = static_cast<TrpRichView*>(page->AddObject(std::make_unique<TrpRichView>()));
    ReadRtf(Rtf("{\\b \\'e6\\'e8\\'f0\\'ed\\'ee}"), *rich->RichEdit);
    const auto xml = [rich] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        rich->SaveToXml(buffer);
        return QString::fromUtf8(buffer.data());
    };
    const auto attribute = [](const QString& text, const char* name) {
        const QRegularExpression pattern(QStringLiteral(" %1=\"([^\"]*)\"").arg(QLatin1String(name)));
        const QRegularExpressionMatch match = pattern.match(text);
        return match.hasMatch() ? match.captured(1) : QStringLiteral("<none>");
    };

    rich->Flags = kFlagStretched | rfTextOnly;
    rich->Memo = QStringList{QStringLiteral("[dmReport.\"Note\"]")};
    QString text = xml();
    // Propdata: the component block of the binary property "RichEdit" holding the RTF.
    const QByteArray block = QByteArray::fromHex(attribute(text, "Propdata").toLatin1());
    ASSERT_GT(block.size(), 14);
    EXPECT_EQ(block.left(10), QByteArray("\x08RichEdit\x0a"));
    EXPECT_EQ(qFromLittleEndian<int32_t>(block.constData() + 10), block.size() - 14);
    QTextDocument stored;
    ReadRtf(block.mid(14), stored);
    EXPECT_EQ(stored.toPlainText(), QStringLiteral("жирно"));
    EXPECT_EQ(attribute(text, "StretchMode"), QStringLiteral("smMaxHeight"));
    EXPECT_EQ(attribute(text, "AllowExpressions"), QStringLiteral("False"));
    EXPECT_EQ(attribute(text, "DataSet"), QStringLiteral("fmMain.dmReport"));
    EXPECT_EQ(attribute(text, "DataField"), QStringLiteral("Note"));

    rich->Flags = 0;
    rich->Memo = QStringList{QStringLiteral("[dmReport.\"Missing\"]")};
    text = xml();
    for (const char* absent : {"StretchMode", "AllowExpressions", "DataSet", "DataField"})
        EXPECT_EQ(attribute(text, absent), QStringLiteral("<none>")) << absent;
}

TEST_F(RichView, DataFieldHoldsRtfOrPlainText)
{
    TMemoryTable table;
    TMemoryField* note = table.AddField(QStringLiteral("Note"), ftMemo);
    table.Open();
    const struct {
        QVariant value;
        const char* shown;
        bool bold;
    } cases[] = {
        {Rtf("{\\b \\'e6\\'e8\\'f0\\'ed\\'ee}"), "жирно", true},
        {QStringLiteral("просто текст"), "просто текст", false},
        {QVariant(), "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        table.Append();
        note->SetValue(c.value);
        table.Post();
        rich->LoadFromBlob(note);
        EXPECT_EQ(Paragraphs(*rich->RichEdit), QString::fromUtf8(c.shown));
        QTextCursor cursor(rich->RichEdit.get());
        cursor.movePosition(QTextCursor::NextCharacter);
        EXPECT_EQ(cursor.charFormat().fontWeight() == QFont::Bold, c.bold);
    }
}

TEST_F(RichView, HeightIsTheHeightOfTheLines)
{
    rich->GapY = 3;
    const auto height = [this](int lines) {
        QByteArray body;
        for (int i = 0; i < lines; ++i)
            body += (i ? "\\par " : "") + QByteArray::number(i);
        SetRich(*rich, Rtf(body.constData()));
        return rich->CalcHeight();
    };
    EXPECT_EQ(height(0), 8 + 2 * 3) << "an empty text takes the floor height";
    const int line = height(1) - 2 * 3;
    EXPECT_GT(line, 8) << "a line taller than the floor is measured, not taken to fit there";
    for (const int lines : {3, 40, 2000})
        EXPECT_EQ(height(lines), lines * line + 2 * 3) << lines << " lines";
    EXPECT_EQ(rich->MinHeight(), 8);
    rich->Visible = false;
    EXPECT_EQ(rich->CalcHeight(), 0);
}

TEST_F(RichView, DrawsItsTextScaledInsideItsRectangle)
{
    SetRich(*rich, Rtf("{\\cf1\\fs40 \\'c6\\'c6\\'c6}"));   // red "ЖЖЖ", 20 points
    rich->SetBounds(10, 10, 200, 60);
    rich->FrameTyp = frAllSides;
    // The rightmost column with red ink at each zoom.
    std::map<double, int> rightmost;
    for (const double zoom : {1.0, 2.0}) {
        QImage image(500, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        rich->ZoomX = rich->ZoomY = zoom;
        {
            QPainter painter(&image);
            rich->Draw(&painter);
        }
        int right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel(image.pixel(x, y));
                if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) {
                    right = std::max(right, x);
                    EXPECT_TRUE(QRect(10 * zoom, 10 * zoom, 200 * zoom, 60 * zoom).contains(x, y))
                        << "ink outside the object at " << x << "," << y;
                }
            }
        rightmost[zoom] = right;
        EXPECT_EQ(QColor(image.pixel(int(10 * zoom), int(40 * zoom))), QColor(Qt::black)) << "the left frame line";
    }
    ASSERT_GT(rightmost[1.0], 30) << "the text is drawn";
    EXPECT_NEAR(rightmost[2.0] - 20, 2 * (rightmost[1.0] - 10), 6) << "and scaled with the zoom";
}

// The texts of the rich objects a build printed, page by page, each checked to lie on its page.
QStringList PrintedParts(ReportBuild& build)
{
    QStringList parts;
    TrpEMFPages& pages = *build.report->EMFPages;
    for (int p = 0; p < build.PageCount(); ++p) {
        pages.RestoreObjects(p);
        for (const auto& view : pages.Page(p).LivePage->Objects)
            if (auto* printed = dynamic_cast<TrpRichView*>(view.get())) {
                EXPECT_GE(printed->Top, 0);
                EXPECT_LE(printed->Top + printed->Height, ReportBuild::kPageHeight) << "page " << p;
                parts << Paragraphs(*printed->RichEdit);
                if (!printed->RichEdit->isEmpty()) {
                    EXPECT_EQ(printed->RichEdit->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                              Qt::AlignHCenter)
                        << "a part keeps its paragraphs' format";
                }
            }
        pages.ReleaseObjects(p);
    }
    return parts;
}

TEST(RichSplit, EveryLinePrintsOnceAcrossThePages)
{
    const struct {
        int lines;
        int spacer;   // the height of the band above
        const char* size;
        int parts;
    } cases[] = {
        {80, 900, "\\qc\\fs24 ", 2},
        {150, 100, "\\qc\\fs24 ", 3},
        {600, 100, "\\qc\\fs24 ", 11},
        // Lines taller than a page ("1 " and "x" of each paragraph) print clipped, one a page.
        {2, 100, "\\qc\\fs1800 ", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        build.AddBand(btReportTitle, 0, c.spacer);
        build.AddBand(btMasterData, c.spacer + 10, 20)->Flags |= kFlagStretched;
        auto* view = static_cast<TrpRichView*>(build.page->AddObject(std::make_unique<TrpRichView>()));
        view->Name = QStringLiteral("Rich");
        view->SetBounds(10, c.spacer + 10, 300, 20);
        QByteArray body;
        QStringList lines;
        for (int i = 1; i <= c.lines; ++i) {
            body += (i > 1 ? "\\par " : c.size) + QByteArray::number(i) + " [FIELD]";
            lines << QStringLiteral("%1 x").arg(i);
        }
        build.report->OnGetValue = [](const QString& name, QVariant& value) {
            if (name == QLatin1String("FIELD"))
                value = QStringLiteral("x");
        };
        ReadRtf(Rtf(body.constData()), *view->RichEdit);
        build.Build();
        ASSERT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
        QStringList parts = PrintedParts(build);
        parts.removeAll(QString());   // a part in which not even one line fits
        EXPECT_EQ(parts.size(), c.parts);
        // Parts may end inside a paragraph: the characters count, without blanks and breaks.
        const auto characters = [](const QStringList& texts) {
            return texts.join(QString()).remove(QLatin1Char('|')).remove(QLatin1Char(' '));
        };
        EXPECT_EQ(characters(parts), characters(lines)) << "every line once, in order";
        // The split positions: the last part ended at the end of the expanded text.
        EXPECT_EQ(view->PrevEndPos, lines.join(QLatin1Char('|')).size());
        EXPECT_EQ(view->EndPos, view->PrevEndPos);
        EXPECT_EQ(Paragraphs(*view->RichEdit).count(QStringLiteral("[FIELD]")), c.lines) << "the template's text stays";
    }
}

}  // namespace
