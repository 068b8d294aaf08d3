// The data file from the main window: "save as" does not pass for saving the main file, a
// partly read file is written over only with the operator's word, and the export after a save
// appends only the readings the table does not hold yet.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/files/AutoExport.h"
#include "app/board/BoardHost.h"
#include "app/files/DataFileActions.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Device.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DataFileActionsTest : public ::testing::Test {
protected:
    ~DataFileActionsTest() override
    {
        if (window) {
            window->Modified = false;
            window->close();
            window.reset();
        }
    }
    TfmMain& StartDemo()
    {
        window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com"}, modal);
        window->show();
        QCoreApplication::processEvents();
        window->aList.UpdateAll();
        return *window;
    }
    // Gives one sensor of the board a new point.
    void NewPoint(TDateTime time, double value)
    {
        TTIT& tit = *window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(0);
        tit.AddValue(true, time, value, window->Settings);
        tit.StorePoint(time, window->Monitor.ReadingRules());
    }
    // Answers the next file dialog with a path.
    void ThenFile(const QString& path)
    {
        modal.ThenDialog([path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(path);
            return int(QDialog::Accepted);
        });
    }

    TAppFolders folders;
    TScriptedModal modal;
    std::unique_ptr<TfmMain> window;
};

} // namespace

TEST_F(DataFileActionsTest, SavingAsAnotherFileLeavesTheReadingsUnsavedInTheMainFile)
{
    TfmMain& main = StartDemo();
    NewPoint(45000.5, 12);
    main.Modified = true;
    const QString other = folders.HomeFile("copy.dxml");
    ThenFile(other);
    ASSERT_TRUE(main.Execute(main.acSaveAsDAT));
    EXPECT_TRUE(ReadAll(other).contains("<point "));
    EXPECT_TRUE(main.Modified);
    EXPECT_EQ(window->Settings.DataFile, folders.HomeFile("demo.dxml"));
    ASSERT_TRUE(main.Execute(main.acSaveDAT));
    EXPECT_FALSE(main.Modified);
    EXPECT_TRUE(ReadAll(window->Settings.DataFile).contains("<point "));
}

TEST_F(DataFileActionsTest, APartlyReadFileIsWrittenOverOnlyWithTheOperatorsWord)
{
    const QByteArray partial =
        "<devices><device Addr=\"0\" No=\"0\"><tit No=\"0\"><point time=\"01.03.2024 10:00:00\" value=\"12.5\"/>"
        "</tit></device><device Addr=\"0\" No=\"1\"><tit No=\"0\"><point value=\"1\"/></tit></device></devices>";
    {
        QFile file(folders.HomeFile("demo.dxml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(partial);
    }
    TfmMain& main = StartDemo();
    ASSERT_EQ(main.DataFileActions->PartlyReadFile(), window->Settings.DataFile);
    // The save after a pass leaves the file alone.
    EXPECT_FALSE(main.SaveDataFile(window->Settings.DataFile));
    EXPECT_EQ(ReadAll(window->Settings.DataFile), partial);
    // The menu's save asks; No keeps the file, Yes writes it.
    modal.ThenAnswer(QMessageBox::No);
    main.Execute(main.acSaveDAT);
    EXPECT_EQ(ReadAll(window->Settings.DataFile), partial);
    modal.ThenAnswer(QMessageBox::Yes);
    main.Execute(main.acSaveDAT);
    EXPECT_NE(ReadAll(window->Settings.DataFile), partial);
    EXPECT_TRUE(main.DataFileActions->PartlyReadFile().isEmpty());
    EXPECT_EQ(modal.questions.size(), 2u);
}

TEST_F(DataFileActionsTest, TheExportAfterASaveAppendsOnlyNewReadings)
{
    const QString database = folders.HomeFile("readings.db");
    const QString connection = "Provider=SQLite;Data Source=" + database;
    {
        TDBConnection db(connection);
        CreateReadingsTable(db, "Readings");
    }
    TfmMain& main = StartDemo();
    window->Settings.DBConnection = connection;
    window->Settings.DBTable = "Readings";
    window->Settings.DBAutoExport = true;
    // Each export runs under the progress dialog, which closes when its worker is done.
    for (int save = 0; save < 3; ++save)
        modal.ThenDialog([](QDialog& progress) {
            EXPECT_EQ(progress.windowTitle(), QStringLiteral("Экспорт архивных данных"));
            return progress.exec();
        });
    NewPoint(45000.25, 11);
    NewPoint(45000.5, 12);
    ASSERT_TRUE(main.Execute(main.acSaveDAT));
    NewPoint(45001.5, 13);
    ASSERT_TRUE(main.Execute(main.acSaveDAT));
    ASSERT_TRUE(main.Execute(main.acSaveDAT));
    EXPECT_TRUE(modal.dialogs.empty());
    TDBConnection db(connection);
    EXPECT_EQ(CountReadings(db, "Readings"), 3);

    // A suspension placed in two cells is exported once; a new table takes every point.
    std::vector<TSilos*> twice = {window->HardConfig->GetMB(0)->GetSilos(0), window->HardConfig->GetMB(0)->GetSilos(0)};
    CreateReadingsTable(db, "Fresh");
    EXPECT_EQ(ExportNewReadings(twice, connection, "Fresh"), 3);
    EXPECT_EQ(ExportNewReadings(twice, connection, "Fresh"), 0);
    EXPECT_THROW(ExportNewReadings(twice, connection, "Missing"), Exception);
}
