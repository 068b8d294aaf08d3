// The dialogs behind INPUT and MESSAGEBOX, answered as a user would.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "report/runtime/RunContext.h"
#include "report/ui/FunctionDialogs.h"

namespace {

// Runs the answer on the modal dialog once it shows.
void AnswerWhenShown(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

void Press(QMessageBox::StandardButton button)
{
    AnswerWhenShown([button](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box->button(button), nullptr);
        box->button(button)->click();
    });
}

TEST(FunctionDialogs, MessageBoxButtonsAndIconsFromTheFlags)
{
    const struct {
        int flags;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton pressed;
        int result;
    } cases[] = {
        {0, QMessageBox::NoIcon, QMessageBox::Ok, 1},
        {1 + 16, QMessageBox::Critical, QMessageBox::Cancel, 2},
        {3 + 48, QMessageBox::Warning, QMessageBox::Yes, 6},
        {4 + 32, QMessageBox::Question, QMessageBox::No, 7},
    };
    for (const auto& c : cases) {
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QString caption;
        AnswerWhenShown([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            shown = box->icon();
            caption = box->windowTitle();
        });
        Press(c.pressed);
        EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("Текст"), QStringLiteral("Заголовок"), c.flags), c.result)
            << c.flags;
        EXPECT_EQ(shown, c.icon) << c.flags;
        EXPECT_EQ(caption, QStringLiteral("Заголовок"));
    }
}

TEST(FunctionDialogs, InputBoxGivesTheTextTypedOrTheDefault)
{
    TrpRunContext context;
    InstallFunctionDialogs(context);
    AnswerWhenShown([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_TRUE(input->windowTitle().isEmpty());
        EXPECT_EQ(input->labelText(), QStringLiteral("Номер силоса"));
        input->setTextValue(QStringLiteral("С-12"));
        input->accept();
    });
    EXPECT_EQ(context.InputBox(QStringLiteral("Номер силоса"), QStringLiteral("С-1")), QStringLiteral("С-12"));

    AnswerWhenShown([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    EXPECT_EQ(context.InputBox(QStringLiteral("Номер силоса"), QStringLiteral("С-1")), QStringLiteral("С-1"));
}

}  // namespace
