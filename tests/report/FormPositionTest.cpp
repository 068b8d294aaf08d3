// Window places kept in the user's store: what is written, what is restored, and places that
// no screen shows any more.
#include "report/ui/FormPosition.h"

#include "platform/qt/KeyValueStore.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

namespace {

class FormPositionTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    KeyValueStore store{dir.filePath(QStringLiteral("user.ini"))};
    const QString key = QStringLiteral("Software\\ReportEngine\\Form\\QDialog");

    QString Stored(const char* name) const { return store.ReadString(key, QString::fromLatin1(name), QStringLiteral("?")); }
    void Store(const char* name, const char* value) { store.WriteString(key, QString::fromLatin1(name), QString::fromLatin1(value)); }
};

} // namespace

TEST_F(FormPositionTest, NormalWindowIsStoredAndRestored)
{
    QDialog closed;
    EXPECT_EQ(FormPositionKey(closed), key);
    closed.move(10, 20);
    closed.resize(600, 400);
    SaveFormPosition(closed, store);
    EXPECT_EQ(Stored("XPosition"), QStringLiteral("10"));
    EXPECT_EQ(Stored("YPosition"), QStringLiteral("20"));
    EXPECT_EQ(Stored("Width"), QStringLiteral("600"));
    EXPECT_EQ(Stored("Height"), QStringLiteral("400"));
    EXPECT_EQ(Stored("Maximized"), QStringLiteral("0"));

    QDialog opened;
    opened.setWindowState(Qt::WindowMaximized);
    RestoreFormPosition(opened, KeyValueStore(store.FileName()));
    EXPECT_FALSE(opened.isMaximized());
    EXPECT_EQ(opened.pos(), QPoint(10, 20));
    EXPECT_EQ(opened.size(), QSize(600, 400));
}

TEST_F(FormPositionTest, MissingOrMalformedValuesKeepTheWindowsOwn)
{
    QDialog maximized;   // nothing stored: a window that opens maximized stays so
    maximized.setWindowState(Qt::WindowMaximized);
    RestoreFormPosition(maximized, store);
    EXPECT_TRUE(maximized.isMaximized());

    Store("XPosition", "12px");
    Store("YPosition", "");
    Store("Width", "450");
    Store("Maximized", "yes");   // no number: counts as maximized
    RestoreFormPosition(maximized, store);
    EXPECT_TRUE(maximized.isMaximized());

    Store("Maximized", "0");
    QDialog normal;
    normal.move(30, 40);
    normal.resize(300, 200);
    RestoreFormPosition(normal, store);
    EXPECT_EQ(normal.pos(), QPoint(30, 40));
    EXPECT_EQ(normal.size(), QSize(450, 200));
}

TEST_F(FormPositionTest, PlaceOffEveryScreenIsBroughtBack)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* left;
        const char* top;
        const char* width;
        const char* height;
    } cases[] = {
        {"5000", "5000", "300", "200"},   // a monitor that has gone
        {"-2000", "10", "300", "200"},
        {"20", "-500", "300", "200"},     // title strip above the screen: cannot be grabbed
        {"9000", "0", "20000", "9000"},   // larger than the screen as well
    };
    for (const auto& c : cases) {
        Store("XPosition", c.left);
        Store("YPosition", c.top);
        Store("Width", c.width);
        Store("Height", c.height);
        Store("Maximized", "0");
        QDialog form;
        RestoreFormPosition(form, store);
        EXPECT_TRUE(screen.contains(QRect(form.pos(), form.size()))) << c.left << " " << c.top;
    }
}

TEST_F(FormPositionTest, MaximizedWindowKeepsThePlaceItReturnsTo)
{
    QDialog form;
    form.move(40, 50);
    form.resize(320, 240);
    form.show();
    form.setWindowState(Qt::WindowMaximized);
    SaveFormPosition(form, store);
    EXPECT_EQ(Stored("Maximized"), QStringLiteral("1"));
    EXPECT_EQ(Stored("Width"), QStringLiteral("320"));
    EXPECT_EQ(Stored("Height"), QStringLiteral("240"));
}
