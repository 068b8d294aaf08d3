// Greying dialog controls and finding the control under a point.
#include "report/ui/FormRoutines.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

TEST(FormRoutines, SetControlsEnabledGreysLabelsAndEdits)
{
    QWidget form;
    auto* label = new QLabel(QStringLiteral("Decimal digits"), &form);
    auto* edit = new QLineEdit(&form);
    const QPalette system = QApplication::palette();

    SetControlsEnabled({label, edit}, false);
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(label->palette().color(QPalette::Disabled, QPalette::WindowText),
              system.color(QPalette::Disabled, QPalette::WindowText));
    EXPECT_EQ(edit->palette().color(QPalette::Disabled, QPalette::Base), system.color(QPalette::Active, QPalette::Button));

    SetControlsEnabled({label, edit}, true);
    EXPECT_TRUE(label->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText),
              system.color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), system.color(QPalette::Active, QPalette::Base));
}

TEST(FormRoutines, FindControlAtSearchesTopmostFirstAndLooksIntoContainers)
{
    QWidget parent;
    parent.resize(200, 200);
    auto* leaf = new QWidget(&parent);
    leaf->setGeometry(0, 0, 100, 100);
    auto* container = new QWidget(&parent);   // made later, so it lies on top of leaf
    container->setGeometry(50, 50, 100, 100);
    auto* inner = new QWidget(container);
    inner->setGeometry(10, 10, 20, 20);
    auto* hidden = new QWidget(&parent);
    hidden->setGeometry(0, 0, 200, 200);
    hidden->hide();

    const struct {
        QPoint point;
        QWidget* found;
    } cases[] = {
        {{65, 65}, inner},      // inside the container's child, relative to the container
        {{55, 55}, leaf},       // in the container but on none of its children: the next sibling
        {{120, 120}, nullptr},  // the container alone, which is never the answer
        {{10, 10}, leaf},
        {{199, 5}, nullptr},    // only the hidden one
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindControlAt(&parent, c.point), c.found) << c.point.x() << "," << c.point.y();

    leaf->raise();
    EXPECT_EQ(FindControlAt(&parent, {65, 65}), leaf);
    inner->hide();
    leaf->lower();
    EXPECT_EQ(FindControlAt(&parent, {65, 65}), leaf);
}
