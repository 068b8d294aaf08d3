// The print dialog: its page-range choices and copies as the caller reads them after OK, and the
// printer it chooses at once, kept by OK and chosen back by Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "QtPrinters.h"
#include "report/engine/Report.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/ui/PrintForm.h"
#include "report/ui/SpeedButton.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type)
{
    const QPointF point(2, 2);
    QMouseEvent event(type, point, widget->mapToGlobal(point), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

class PrintFormTest : public ::testing::Test {
protected:
    PrintFormTest()
    {
        context.PlatformPrinter = std::make_unique<TrpQtPrinter>([this] { return installed; });
        StartReportPrinter(context);
    }

    // Shows the dialog, lets act do what the user does, and ends it with the button given.
    int Run(TrpPrintForm& form, const std::function<void()>& act, QPushButton* TrpPrintForm::*button)
    {
        QTimer::singleShot(0, &form, [&] {
            act();
            (form.*button)->click();
        });
        return form.exec();
    }

    void Choose(TrpPrintForm& form, int index)
    {
        form.CB1->setCurrentIndex(index);
        emit form.CB1->activated(index);
    }

    QStringList installed{QStringLiteral("PDF A"), QStringLiteral("PDF B")};
    TrpRunContext context;
    TrpPrinter& printer = context.ReportPrinter;
};

TEST_F(PrintFormTest, OffersThePrintersAndItsChoices)
{
    TrpPrintForm form(context);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Print"));
    EXPECT_EQ(form.GroupBox2->title(), QStringLiteral("Page range"));
    ASSERT_EQ(form.CB1->count(), 3);
    EXPECT_EQ(form.CB1->itemText(2), QStringLiteral("Virtual printer"));
    EXPECT_EQ(form.CB1->currentIndex(), 0);
    EXPECT_TRUE(form.RB1->isChecked());
    EXPECT_TRUE(form.CollateCB->isChecked());
    EXPECT_EQ(form.E1->text(), QStringLiteral("1"));
    EXPECT_EQ(form.CB2->count(), 3);
    EXPECT_EQ(form.CB2->itemText(1), QStringLiteral("Odd pages"));
    form.show();
    EXPECT_EQ(form.CB2->x() - form.Label5->geometry().right() - 1, 11);
    for (const char* name : {"CB1", "PropButton", "RB3", "E2", "E1", "rpSpeedButton1", "rpSpeedButton2", "CollateCB",
                             "Label3", "PB1", "CollateImg", "NonCollateImg", "Image1", "CB2", "Button1", "Button2"})
        EXPECT_NE(form.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(PrintFormTest, PageRangeChoicesAsTheCallerReadsThem)
{
    TrpPrintForm form(context);
    form.show();
    EXPECT_EQ(form.PageNumbers(4), QString());
    form.RB2->setChecked(true);
    EXPECT_EQ(form.PageNumbers(4), QStringLiteral("4"));
    // Going into the list's field chooses the list.
    form.E2->setText(QStringLiteral("1,3,5-7"));
    form.activateWindow();
    form.E2->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(form.RB3->isChecked());
    EXPECT_EQ(form.PageNumbers(4), QStringLiteral("1,3,5-7"));
    form.CB2->setCurrentIndex(ppEven);
    EXPECT_EQ(form.PrintPages(), ppEven);
}

TEST_F(PrintFormTest, CopiesArrowsAndCollation)
{
    TrpPrintForm form(context);
    struct Case {
        const char* before;
        bool up;
        const char* after;
    };
    const Case cases[] = {{"1", true, "2"}, {"1", false, "1"}, {"0", false, "1"}, {"5", false, "4"}, {"", true, "1"}};
    for (const Case& c : cases) {
        form.E1->setText(QString::fromLatin1(c.before));
        (c.up ? form.rpSpeedButton1 : form.rpSpeedButton2)->Click();
        EXPECT_EQ(form.E1->text(), QString::fromLatin1(c.after)) << c.before << (c.up ? " up" : " down");
    }
    form.E1->setText(QStringLiteral("3"));
    EXPECT_EQ(form.Copies(), 3);
    form.E1->setText(QString());
    EXPECT_EQ(form.Copies(), 1);
    // Letters cannot be typed among the copies.
    form.E1->clear();
    Type(form.E1, QStringLiteral("2x"));
    EXPECT_EQ(form.E1->text(), QStringLiteral("2"));

    // A click on the collation's label turns it over, as does each click of a double click.
    SendMouse(form.Label3, QEvent::MouseButtonPress);
    SendMouse(form.Label3, QEvent::MouseButtonRelease);
    EXPECT_FALSE(form.Collate());
    SendMouse(form.Label3, QEvent::MouseButtonDblClick);
    EXPECT_TRUE(form.Collate());
}

TEST_F(PrintFormTest, CancelChoosesBackThePrinterOkKeepsTheChoice)
{
    struct Case {
        QPushButton* TrpPrintForm::*button;
        int result;
        int printerAfter;
    };
    const Case cases[] = {{&TrpPrintForm::Button2, mrCancel, 0}, {&TrpPrintForm::Button1, mrOk, 1}};
    for (const Case& c : cases) {
        printer.ChoosePrinter(0);
        TrpPrintForm form(context);
        const int result = Run(
            form,
            [&] {
                Choose(form, 1);
                // The printer is chosen at once, and stays while another window has the focus.
                EXPECT_EQ(printer.CurrentIndex, 1);
                QWidget other;
                other.show();
                other.activateWindow();
                QApplication::processEvents();
                EXPECT_EQ(printer.CurrentIndex, 1);
            },
            c.button);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(printer.CurrentIndex, c.printerAfter);
    }

    // Escape cancels as well.
    TrpPrintForm form(context);
    QTimer::singleShot(0, &form, [&] {
        Choose(form, 0);
        form.reject();
    });
    form.exec();
    EXPECT_EQ(printer.CurrentIndex, 1);
}

TEST_F(PrintFormTest, APrinterThatIsGoneShowsAsTheVirtualOne)
{
    TrpPrintForm form(context);
    EXPECT_TRUE(form.PropButton->isEnabled());
    installed = QStringList{QStringLiteral("PDF A")};
    Choose(form, 1);
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_EQ(form.CB1->currentIndex(), 2);
    // The virtual printer has no properties of its own.
    EXPECT_FALSE(form.PropButton->isEnabled());
}

} // namespace
