// Test entry point for the Qt layers: one application object for the whole run.
#include <gtest/gtest.h>

#include <clocale>

#ifdef TZ_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    // The application object adopts the user's locale for the C library; numbers in files and
    // logs must not follow it, exactly as in the program itself.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
