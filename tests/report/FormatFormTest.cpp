// The display-format dialog: how a format word opens, and what OK makes of the choices; and
// the password dialog.
#include "report/ui/FormatForm.h"
#include "report/ui/PasswordForm.h"

#include "report/expr/ValueFormat.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QString Selected(const QListWidget* list)
{
    return list->currentItem() ? list->currentItem()->text() : QStringLiteral("<none>");
}

void ClickRow(QListWidget* list, int row)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), list->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &event);
    }
}

void Type(QLineEdit* edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

} // namespace

TEST(FormatForm, OpensOnTheWordsCategoryAndType)
{
    const TrpRunContext context;
    const struct {
        uint32_t format;
        const char* text;
        const char* category;
        const char* type;
        int types;
        const char* digits;      // "-" when the edit is disabled (and empty)
        const char* separator;
        const char* custom;      // "-" when disabled
    } cases[] = {
        {MakeFormat(fcNumber, 0, 2, ','), "", "Number", "1234,5", 5, "2", ",", "-"},
        {MakeFormat(fcNumber, 4, 3, '.'), "#,##0.000", "Number", "Custom", 5, "3", ".", "#,##0.000"},
        {MakeFormat(fcNumber, 1, 0, 0), "", "Number", "1234,50", 5, "0", "", "-"},
        {MakeFormat(fcText, 0), "left over", "Text", "[None]", 1, "-", "-", "-"},
        {MakeFormat(fcDate, 4, 2, ','), "dd.mm", "Date", "Custom", 5, "-", "-", "dd.mm"},
        {MakeFormat(fcTime, 2), "", "Time", "02:43", 5, "-", "-", "-"},
        {MakeFormat(fcBoolean, 1), "", "Boolean", "No;Yes", 5, "-", "-", "-"},
        {MakeFormat(fcBoolean, 9), "", "Boolean", "0;1", 5, "-", "-", "-"},   // no such type: the first
        {MakeFormat(7, 0), "", "<none>", "<none>", 0, "-", "-", "-"},         // no such category
    };
    for (const auto& c : cases) {
        TrpFmtForm form(context);
        form.Format = c.format;
        form.FormatText = QString::fromUtf8(c.text);
        form.show();
        SCOPED_TRACE(c.category + std::string(" ") + c.type);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Display format"));
        EXPECT_EQ(Selected(form.CatLB), QString::fromUtf8(c.category));
        EXPECT_EQ(Selected(form.TypeLB), QString::fromUtf8(c.type));
        EXPECT_EQ(form.TypeLB->count(), c.types);
        const auto shown = [](const QLineEdit* edit) { return edit->isEnabled() ? edit->text() : QStringLiteral("-"); };
        EXPECT_EQ(shown(form.DecEdit), QString::fromUtf8(c.digits));
        EXPECT_EQ(shown(form.SplEdit), QString::fromUtf8(c.separator));
        EXPECT_EQ(shown(form.FormatEdit), QString::fromUtf8(c.custom));
        EXPECT_EQ(form.DecLabel->isEnabled(), form.DecEdit->isEnabled());
        EXPECT_EQ(form.FormatLabel->isEnabled(), form.FormatEdit->isEnabled());
        EXPECT_TRUE(form.DecEdit->isEnabled() || form.DecEdit->text().isEmpty());
        EXPECT_TRUE(form.FormatEdit->isEnabled() || form.FormatEdit->text().isEmpty());
    }
}

TEST(FormatForm, OkStoresTheChoicesAndCancelNothing)
{
    const TrpRunContext context;
    const uint32_t number = MakeFormat(fcNumber, 0, 2, ',');
    const struct {
        const char* what;
        uint32_t format;
        int category;            // row clicked, -1 none
        int type;                // row clicked after the category, -1 none
        const char* digits;      // typed over the edit's text; nullptr leaves it
        const char* separator;
        const char* custom;
        bool ok;
        uint32_t expected;
        const char* expectedText;
    } cases[] = {
        {"to text", number, fcText, -1, nullptr, nullptr, nullptr, true, MakeFormat(fcText, 0, 0, ','), "old"},
        {"digits and point", number, -1, 1, "3", ".", nullptr, true, MakeFormat(fcNumber, 1, 3, '.'), "old"},
        {"edits emptied", number, -1, -1, "", "", nullptr, true, MakeFormat(fcNumber, 0, 0, ','), "old"},
        {"digits no number", number, -1, -1, "x", nullptr, nullptr, true, MakeFormat(fcNumber, 0, 0, ','), "old"},
        {"too many digits", number, -1, -1, "300", nullptr, nullptr, true, MakeFormat(fcNumber, 0, 255, ','), "old"},
        {"custom date", number, fcDate, 4, nullptr, nullptr, "dd/mm/yy", true, MakeFormat(fcDate, 4, 0, ','), "dd/mm/yy"},
        {"custom cancelled", number, -1, 4, nullptr, nullptr, "0.0", false, number, "old"},
        {"cancelled", number, fcBoolean, 2, nullptr, nullptr, nullptr, false, number, "old"},
        {"unknown kept", MakeFormat(7, 3), -1, -1, nullptr, nullptr, nullptr, true, MakeFormat(7, 3, 0, ','), "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TrpFmtForm form(context);
        form.Format = c.format;
        form.FormatText = QStringLiteral("old");
        form.show();
        if (c.category >= 0)
            ClickRow(form.CatLB, c.category);
        if (c.type >= 0)
            ClickRow(form.TypeLB, c.type);
        if (c.digits) {
            form.DecEdit->clear();
            Type(form.DecEdit, QString::fromUtf8(c.digits));
        }
        if (c.separator) {
            form.SplEdit->clear();
            Type(form.SplEdit, QString::fromUtf8(c.separator));
        }
        if (c.custom) {
            EXPECT_TRUE(form.FormatEdit->isEnabled());
            form.FormatEdit->setText(QString::fromUtf8(c.custom));
        }
        form.setResult(mrNone);
        (c.ok ? form.OK : form.Cancel)->click();
        EXPECT_EQ(form.result(), c.ok ? mrOk : mrCancel);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.Format, c.expected) << std::hex << form.Format;
        EXPECT_EQ(form.FormatText, QString::fromUtf8(c.expectedText));
    }
}

TEST(FormatForm, LeavingCustomEmptiesTheFormatEditAndOkKeepsTheText)
{
    const TrpRunContext context;
    TrpFmtForm form(context);
    form.Format = MakeFormat(fcNumber, 0, 2, ',');
    form.FormatText = QStringLiteral("#0.00");
    form.show();
    ClickRow(form.TypeLB, 4);
    EXPECT_TRUE(form.FormatEdit->isEnabled());
    EXPECT_EQ(form.FormatEdit->text(), QStringLiteral("#0.00"));
    form.FormatEdit->setText(QStringLiteral("changed"));
    ClickRow(form.TypeLB, 1);
    EXPECT_FALSE(form.FormatEdit->isEnabled());
    EXPECT_TRUE(form.FormatEdit->text().isEmpty());
    form.OK->click();
    EXPECT_EQ(form.Format, MakeFormat(fcNumber, 1, 2, ','));
    EXPECT_EQ(form.FormatText, QStringLiteral("#0.00"));
}

TEST(PasswordForm, AsksWithTheEnginesTextsAndHidesWhatIsTyped)
{
    const TrpRunContext context;
    TrpPasswForm form(context);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Password"));
    EXPECT_EQ(form.L1->text(), QStringLiteral("Enter password for opening report"));
    EXPECT_EQ(form.L2->text(), QStringLiteral("Retype password for validate"));
    EXPECT_EQ(form.E1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.OK->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.Cancel->text(), QStringLiteral("Cancel"));
    form.show();
    EXPECT_TRUE(form.L2->isHidden());
    EXPECT_EQ(form.focusWidget(), form.E1);
    Type(form.E1, QStringLiteral("секрет"));
    form.OK->click();
    EXPECT_EQ(form.result(), mrOk);
    EXPECT_EQ(form.E1->text(), QStringLiteral("секрет"));

    form.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &escape);
    EXPECT_EQ(form.result(), mrCancel);
}
