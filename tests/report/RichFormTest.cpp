// The rich-text editor window: the ruler's markers and indents, the tool bar on the selection,
// files opened and saved, and the object's editor taking the edit only on OK.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>
#include <QWhatsThis>

#include "ReportObjectsFixture.h"
#include "report/file/Cp1251Text.h"
#include "report/file/RtfReader.h"
#include "report/objects/RichView.h"
#include "report/runtime/RunContext.h"
#include "report/ui/FlatComboBox.h"
#include "report/ui/RichForm.h"
#include "report/ui/RichRuler.h"
#include "report/ui/SpeedButton.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget)
{
    SendMouse(widget, QEvent::MouseButtonPress, {5, 5});
    SendMouse(widget, QEvent::MouseButtonRelease, {5, 5});
}

// Runs the answer on the modal window once it shows.
void AnswerWhenShown(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        answer(window);
    });
}

QByteArray Rtf(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0\\fs20 ") + body + "}";
}

TEST(RichRuler, MarkersStandAtTheIndentsAndGiveThemBackWhenDropped)
{
    TrpRichRuler ruler;
    ruler.resize(400, 22);
    const struct {
        TParaIndents indents;
        int first, left, right;   // marker left edges
    } cases[] = {
        {{0, 0, 0}, 2, 2, 400 - 8 - 6},
        {{30, 15, 9}, 42, 62, 400 - 20 - 6},
        {{6, -6, 3}, 10, 2, 400 - 12 - 6},   // a hanging first line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ruler.SetIndents(c.indents);
        EXPECT_EQ(ruler.MarkerX(rmFirst), c.first);
        EXPECT_EQ(ruler.MarkerX(rmLeft), c.left);
        EXPECT_EQ(ruler.MarkerX(rmRight), c.right);
        // Picked up and dropped where they stand, the markers keep the indents.
        TParaIndents dropped{-1, -1, -1};
        ruler.OnIndentsChanged = [&dropped](const TParaIndents& indents) { dropped = indents; };
        for (const TRulerMarker marker : {rmFirst, rmLeft, rmRight}) {
            const QPoint centre(ruler.MarkerX(marker) + TrpRichRuler::kMarkerWidth / 2, marker == rmFirst ? 2 : 19);
            SendMouse(&ruler, QEvent::MouseButtonPress, centre);
            SendMouse(&ruler, QEvent::MouseButtonRelease, centre);
            EXPECT_EQ(dropped, c.indents) << "marker " << marker;
        }
    }

    // Dragging the first-line marker keeps the other lines where the left marker stands.
    ruler.SetIndents({30, 15, 9});
    TParaIndents dropped;
    ruler.OnIndentsChanged = [&dropped](const TParaIndents& indents) { dropped = indents; };
    SendMouse(&ruler, QEvent::MouseButtonPress, {ruler.MarkerX(rmFirst) + 4, 2});
    SendMouse(&ruler, QEvent::MouseMove, {ruler.MarkerX(rmFirst) + 4 - 40, 2});
    SendMouse(&ruler, QEvent::MouseButtonRelease, {ruler.MarkerX(rmFirst) + 4 - 40, 2});
    EXPECT_EQ(dropped.First, 0);
    EXPECT_EQ(dropped.First + dropped.Left, 45);
    EXPECT_EQ(dropped.Right, 9);
}

class RichFormTest : public ::testing::Test {
protected:
    RichFormTest()
    {
        QTextDocument text;
        ReadRtf(Rtf("plain {\\b bold}\\par second"), text);
        form.SetText(text);
    }

    // Selects the characters from..to of the edit.
    void Select(int from, int to)
    {
        QTextCursor cursor = form.RichEdit1->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        form.RichEdit1->setTextCursor(cursor);
    }

    QTextCharFormat FormatAt(int position)
    {
        QTextCursor cursor(form.RichEdit1->document());
        cursor.setPosition(position);
        return cursor.charFormat();
    }

    TrpRunContext context;
    TrpRichForm form{context};
};

TEST_F(RichFormTest, ToolBarShowsAndChangesTheSelectionsFormat)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Форматированный текст"));
    Select(7, 7);   // inside "bold"
    EXPECT_TRUE(form.BoldB->Down());
    EXPECT_EQ(form.FontSizeCB->currentText(), QStringLiteral("10"));
    Select(2, 2);
    EXPECT_FALSE(form.BoldB->Down());

    // Bold, italic and underline go on together as one style.
    Select(0, 5);   // "plain"
    Click(form.ItalicB);
    EXPECT_TRUE(FormatAt(3).fontItalic());
    EXPECT_NE(FormatAt(3).fontWeight(), QFont::Bold);
    EXPECT_FALSE(FormatAt(8).fontItalic()) << "outside the selection";
    Click(form.BoldB);
    EXPECT_EQ(FormatAt(3).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(3).fontItalic());

    const int fontSize = form.FontSizeCB->findText(QStringLiteral("18"));
    form.FontSizeCB->setCurrentIndex(fontSize);
    emit form.FontSizeCB->textActivated(QStringLiteral("18"));
    EXPECT_EQ(FormatAt(3).fontPointSize(), 18);

    // Alignment and indents apply to the paragraph of the cursor.
    Select(13, 13);   // in "second"
    Click(form.RightAlignB);
    EXPECT_TRUE(form.RightAlignB->Down());
    EXPECT_FALSE(form.LeftAlignB->Down());
    EXPECT_EQ(form.RichEdit1->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_NE(form.RichEdit1->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    form.Ruler->OnIndentsChanged({30, 15, 9});
    const QTextBlockFormat indented = form.RichEdit1->document()->lastBlock().blockFormat();
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 60);   // 45 points
    EXPECT_DOUBLE_EQ(indented.textIndent(), -20);
    EXPECT_DOUBLE_EQ(indented.rightMargin(), 12);
    Select(2, 2);
    EXPECT_TRUE(form.LeftAlignB->Down()) << "the first paragraph's alignment shows";
    EXPECT_EQ(form.Ruler->Indents(), TParaIndents{});
    Select(13, 13);
    EXPECT_EQ(form.Ruler->Indents(), (TParaIndents{30, 15, 9}));
}

// The bullets, insert-expression and help buttons: named, with their hints from the engine's
// texts (or the locale's), and doing what they stand for.
TEST_F(RichFormTest, BulletsExpressionAndHelpButtons)
{
    const struct {
        TrpTBButton* button;
        const char* name;
        const char* hint;
        const char* localized;
    } buttons[] = {
        {form.BulletsB, "BulletsB", "Bullets", "Маркеры"},
        {form.ExpressionB, "ExpressionB", "Insert expression", "Выражение"},
        {form.HelpB, "HelpB", "Show help", "Справка"},
    };
    TrpRunContext localizedContext;
    localizedContext.Locale.OnLocalize = [&buttons](int id, QString& text) {
        const int ids[] = {53570, 53575, 53032};
        for (size_t i = 0; i < std::size(ids); ++i)
            if (id == ids[i])
                text = QString::fromUtf8(buttons[i].localized);
    };
    const TrpRichForm localized(localizedContext);
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(form.findChild<TrpTBButton*>(QString::fromLatin1(b.name)), b.button);
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        const auto* other = localized.findChild<TrpTBButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->toolTip(), QString::fromUtf8(b.localized));
    }

    // Bullets go on and off the cursor's paragraph; the button shows the paragraph's state.
    QTextDocument& text = *form.RichEdit1->document();
    Select(13, 13);   // in "second"
    EXPECT_FALSE(form.BulletsB->Down());
    Click(form.BulletsB);
    EXPECT_TRUE(form.BulletsB->Down());
    ASSERT_NE(text.lastBlock().textList(), nullptr);
    EXPECT_EQ(text.lastBlock().textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(text.firstBlock().textList(), nullptr);
    Select(2, 2);
    EXPECT_FALSE(form.BulletsB->Down());
    Select(13, 13);
    EXPECT_TRUE(form.BulletsB->Down());
    Click(form.BulletsB);
    EXPECT_EQ(text.lastBlock().textList(), nullptr);
    EXPECT_EQ(text.lastBlock().blockFormat().indent(), 0);
    // Over a selection of two paragraphs, both.
    Select(2, 13);
    Click(form.BulletsB);
    EXPECT_NE(text.firstBlock().textList(), nullptr);
    EXPECT_EQ(text.firstBlock().textList(), text.lastBlock().textList());

    // The expression asked for goes in brackets in place of the selection; none, nothing.
    QString asked;
    QString answer = QStringLiteral("tbSilo.Silo");
    context.InputBox = [&](const QString& prompt, const QString&) {
        asked = prompt;
        return answer;
    };
    Select(0, 5);   // "plain"
    Click(form.ExpressionB);
    EXPECT_EQ(asked, QStringLiteral("Insert expression"));
    EXPECT_EQ(text.firstBlock().text(), QStringLiteral("[tbSilo.Silo] bold"));
    answer.clear();
    Select(3, 3);
    Click(form.ExpressionB);
    EXPECT_EQ(text.firstBlock().text(), QStringLiteral("[tbSilo.Silo] bold"));
    context.InputBox = nullptr;

    // Help: the help cursor until the next press, which shows the hint of the control pressed.
    Click(form.HelpB);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
    SendMouse(form.BoldB, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form.BoldB->Down()) << "the press was the help's, not the button's";
    QWidget* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QWhatsThat") && window->isVisible())
            shown = window;
    EXPECT_NE(shown, nullptr);
    QWhatsThis::hideText();
    // A press on the help button itself ends the mode without help.
    Click(form.HelpB);
    SendMouse(form.HelpB, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RichFormTest, FilesSavedAndOpenedAsRtfOrText)
{
    QTemporaryDir folder;
    const QString rtf = folder.filePath(QStringLiteral("a.rtf"));
    const QString txt = folder.filePath(QStringLiteral("a.txt"));
    form.SaveFile(rtf, false);
    form.SaveFile(txt, true);
    QFile text(txt);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), QByteArray("plain bold\r\nsecond"));

    form.SetText(*NewRichText());
    form.LoadFile(rtf);
    EXPECT_EQ(form.RichEdit1->toPlainText(), QStringLiteral("plain bold\nsecond"));
    EXPECT_EQ(FormatAt(8).fontWeight(), QFont::Bold) << "the format comes back";
    QFile plain(folder.filePath(QStringLiteral("b.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write(ToCp1251(QStringLiteral("просто текст")));
    plain.close();
    form.LoadFile(plain.fileName());
    EXPECT_EQ(form.RichEdit1->toPlainText(), QStringLiteral("просто текст"));

    // A file that cannot be read is told of, and the text stays.
    QString told;
    AnswerWhenShown([&told](QWidget* window) {
        told = static_cast<QMessageBox*>(window)->text();
        window->close();
    });
    form.LoadFile(folder.filePath(QStringLiteral("missing.rtf")));
    EXPECT_TRUE(told.contains(QStringLiteral("missing.rtf"))) << told.toStdString();
    EXPECT_EQ(form.RichEdit1->toPlainText(), QStringLiteral("просто текст"));
}

class RichEditorTest : public ReportObjects {};

TEST_F(RichEditorTest, TheObjectTakesTheEditOnlyOnOk)
{
    InstallRichEditor(context);
    auto* rich = Add<TrpRichView>();
    ReadRtf(Rtf("before"), *rich->RichEdit);
    for (const bool ok : {false, true}) {
        AnswerWhenShown([ok](QWidget* window) {
            auto* form = dynamic_cast<TrpRichForm*>(window);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->RichEdit1->toPlainText(), QStringLiteral("before"));
            form->RichEdit1->setPlainText(QStringLiteral("after"));
            Click(ok ? form->OkB : form->CancelB);
        });
        rich->ShowEditor();
        EXPECT_EQ(rich->RichEdit->toPlainText(), ok ? QStringLiteral("after") : QStringLiteral("before"));
    }
}

}  // namespace
