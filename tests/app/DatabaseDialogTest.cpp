// The database export and import from the main window's commands, run on the progress dialog's
// worker against a SQLite file and the PostgreSQL server that scripts/with-postgres.sh starts
// (TZ_TEST_POSTGRES); the operator cancelling halfway; the table dialog and its connection
// chooser.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/dialogs/FDataLink.h"
#include "app/dialogs/FProgress.h"
#include "app/dialogs/FSelectTable.h"
#include "app/dialogs/ProgressThread.h"
#include "app/files/DatabaseActions.h"
#include "base/Exception.h"
#include "core/DB/ConnectionString.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Device.h"
#include "core/Monitor.h"
#include "core/Parameters.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <atomic>
#include <thread>

namespace {

constexpr int kSuspensions = 3;
constexpr int kSensors = 6;
constexpr int kPointsPerSensor = 200;
constexpr qint64 kAllPoints = qint64(kSuspensions) * kSensors * kPointsPerSensor;
constexpr double kFormerValue = 99;   // the points a sensor holds before an import

// A database of the test's own: a SQLite file, or a table of its own on the test server.
class DatabaseTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (IsPostgres()) {
            connection = qEnvironmentVariable("TZ_TEST_POSTGRES");
            if (connection.isEmpty() && qEnvironmentVariableIsSet("CI"))
                FAIL() << "TZ_TEST_POSTGRES is not set although CI is: scripts/run-tests.sh starts the server";
            if (connection.isEmpty())
                GTEST_SKIP() << "TZ_TEST_POSTGRES is not set: run the tests through scripts/with-postgres.sh";
        } else {
            connection = "Provider=SQLite;Data Source=" + folders.HomeFile("readings.db");
        }
        static int counter = 0;
        table = QStringLiteral("dialog_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        TDBConnection db(connection);
        CreateReadingsTable(db, table);
        monitor.HardConfig = std::make_unique<THardConfig>(1, kSuspensions, kSensors);
        monitor.Settings.DBConnection = connection;
        monitor.Settings.DBTable = table;
        QObject::connect(&monitor.Log, &TExchangeLog::Line, &monitor.Log, [this](const QString& text, TColor colour) {
            if (colour == kLogError)
                redLines << text;
        });
    }
    void TearDown() override
    {
        if (IsPostgres() && !connection.isEmpty()) {
            TDBConnection db(connection);
            db.Exec("DROP TABLE IF EXISTS " + table);
        }
    }
    bool IsPostgres() const { return QByteArray(GetParam()) == "PostgreSQL"; }

    TSilos* Silos(int i) const { return monitor.HardConfig->GetMB(0)->GetSilos(i); }
    std::vector<TSilos*> Board() const
    {
        std::vector<TSilos*> all;
        for (int i = 0; i < kSuspensions; ++i)
            all.push_back(Silos(i));
        return all;
    }
    // Every sensor gets points of values that name the sensor and the point.
    void FillHistories(double offset = 0)
    {
        for (int s = 0; s < kSuspensions; ++s)
            for (int t = 0; t < kSensors; ++t) {
                std::vector<TTITPoint> points(kPointsPerSensor);
                for (int p = 0; p < kPointsPerSensor; ++p) {
                    points[p].SetTime(45000 + p / 24.0);
                    points[p].Value = offset + s * 1000 + t * 100 + p * 0.25;
                }
                Silos(s)->GetTIT(t)->AssignPoints(std::move(points));
            }
    }
    void SetFormerPoints()
    {
        for (int s = 0; s < kSuspensions; ++s)
            for (int t = 0; t < kSensors; ++t) {
                TTITPoint point;
                point.SetTime(44000);
                point.Value = kFormerValue;
                Silos(s)->GetTIT(t)->AssignPoints({point});
            }
    }
    qint64 Rows()
    {
        TDBConnection db(connection);
        return CountReadings(db, table);
    }
    TDatabaseActions Actions() { return TDatabaseActions(monitor, {&modal.Window, &modified, nullptr, [this] { return Board(); }}); }

    // Runs the progress dialog for real; once the worker has counted `rows`, presses its cancel
    // button and holds the worker until the dialog has told it to stop, so that the cancellation
    // lands exactly there. Returns the rows counted when it landed.
    void ThenCancelAt(qint64 rows, qint64* counted)
    {
        modal.ThenDialog([rows, counted](QDialog& shown) {
            auto& dialog = static_cast<TfmProgress&>(shown);
            TProgressThread& worker = dialog.Worker();
            QPointer<QPushButton> cancel = dialog.btCancel;
            std::atomic<bool> pressed{false};
            const auto hold = QObject::connect(&worker, &TProgressThread::RowsDoneChanged, &worker,
                [&](qint64 done) {
                    if (done < rows || pressed.exchange(true))
                        return;
                    *counted = done;
                    QMetaObject::invokeMethod(cancel, "click", Qt::QueuedConnection);
                    while (!worker.IsCancelled())
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                },
                Qt::DirectConnection);
            const int result = dialog.exec();
            worker.wait();
            QObject::disconnect(hold);
            EXPECT_TRUE(pressed.load()) << "the work ended before it was cancelled";
            return result;
        });
    }
    void ThenRunToTheEnd(const QString& caption, qint64 maximum)
    {
        modal.ThenDialog([caption, maximum](QDialog& shown) {
            auto& dialog = static_cast<TfmProgress&>(shown);
            EXPECT_EQ(dialog.windowTitle(), caption);
            const int result = dialog.exec();
            EXPECT_EQ(dialog.pbProcess->maximum(), maximum);
            EXPECT_EQ(dialog.pbProcess->value(), maximum);
            return result;
        });
    }

    TAppFolders folders;
    TScriptedModal modal;
    TMonitor monitor;
    QString connection;
    QString table;
    bool modified = false;
    QStringList redLines;
};

// The sensor's values, shortened to the first point's, the last point's and the count.
struct History {
    qint64 count;
    double first, last;
    bool operator==(const History&) const = default;
};
void PrintTo(const History& h, std::ostream* os) { *os << h.count << " points " << h.first << ".." << h.last; }

History HistoryOf(const TTIT& tit)
{
    const std::vector<TTITPoint> points = tit.Points();
    if (points.empty())
        return {0, 0, 0};
    return {qint64(points.size()), points.front().Value, points.back().Value};
}

} // namespace

TEST_P(DatabaseTest, ExportThenImportBringsEveryReadingBack)
{
    FillHistories();
    std::vector<History> exported;
    for (int s = 0; s < kSuspensions; ++s)
        for (int t = 0; t < kSensors; ++t)
            exported.push_back(HistoryOf(*Silos(s)->GetTIT(t)));
    TDatabaseActions actions = Actions();
    // While the worker has the sensors, no pass may start.
    modal.ThenDialog([&actions](QDialog& dialog) {
        EXPECT_TRUE(actions.Busy());
        return dialog.exec();
    });
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acExportExecute();
    EXPECT_FALSE(actions.Busy());
    EXPECT_EQ(Rows(), kAllPoints);

    SetFormerPoints();
    ThenRunToTheEnd(QStringLiteral("Импорт архивных данных"), kAllPoints);
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acImportExecute();
    EXPECT_TRUE(modified);
    // Each ends by telling how many readings went.
    EXPECT_EQ(modal.questions, (std::vector<QString>{"Экспорт завершён: в базу данных выгружено показаний: 3600.",
                                                     "Импорт завершён: из базы данных загружено показаний: 3600."}));
    EXPECT_EQ(modal.icons, (std::vector<QMessageBox::Icon>{QMessageBox::Information, QMessageBox::Information}));
    std::vector<History> imported;
    for (int s = 0; s < kSuspensions; ++s)
        for (int t = 0; t < kSensors; ++t)
            imported.push_back(HistoryOf(*Silos(s)->GetTIT(t)));
    EXPECT_EQ(imported, exported);
    EXPECT_TRUE(redLines.isEmpty()) << redLines.join('\n').toStdString();
}

TEST_P(DatabaseTest, ExportCancelledHalfwayKeepsExactlyTheRowsWritten)
{
    FillHistories();
    TDatabaseActions actions = Actions();
    qint64 counted = 0;
    ThenCancelAt(kAllPoints / 2, &counted);
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acExportExecute();
    EXPECT_GE(counted, kAllPoints / 2);
    EXPECT_LT(counted, kAllPoints);
    EXPECT_EQ(Rows(), counted);
    EXPECT_EQ(modal.questions,
              std::vector<QString>{QStringLiteral("Экспорт прерван: в базу данных выгружено показаний: %1 из 3600.").arg(counted)});
    EXPECT_EQ(modal.icons, std::vector<QMessageBox::Icon>{QMessageBox::Warning});
    EXPECT_TRUE(redLines.isEmpty()) << redLines.join('\n').toStdString();
}

TEST_P(DatabaseTest, ImportCancelledHalfwayLeavesTheSensorsNotReachedAsTheyWere)
{
    FillHistories();
    {
        TDatabaseActions actions = Actions();
        ThenRunToTheEnd(QStringLiteral("Экспорт архивных данных"), kAllPoints);
        modal.ThenAnswer(QMessageBox::Ok);
        actions.acExportExecute();
    }
    SetFormerPoints();
    TDatabaseActions actions = Actions();
    qint64 counted = 0;
    ThenCancelAt(kAllPoints / 2, &counted);
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acImportExecute();
    EXPECT_TRUE(modified);
    EXPECT_EQ(modal.questions.back(),
              QStringLiteral("Импорт прерван: из базы данных загружено показаний: %1 из 3600.").arg(counted));
    // In board order: whole histories taken, then the one being read holds a beginning of its
    // rows, then the former points.
    int whole = 0, part = 0, former = 0;
    for (int s = 0; s < kSuspensions; ++s)
        for (int t = 0; t < kSensors; ++t) {
            const History h = HistoryOf(*Silos(s)->GetTIT(t));
            const double first = s * 1000 + t * 100;
            if (h == History{kPointsPerSensor, first, first + (kPointsPerSensor - 1) * 0.25}) {
                EXPECT_EQ(part + former, 0) << "sensor " << s << "." << t;
                ++whole;
            } else if (h == History{1, kFormerValue, kFormerValue}) {
                ++former;
            } else {
                EXPECT_EQ(former, 0) << "sensor " << s << "." << t;
                EXPECT_EQ(h.first, first);
                EXPECT_LT(h.count, kPointsPerSensor);
                ++part;
            }
        }
    EXPECT_EQ(whole, counted / kPointsPerSensor);
    EXPECT_LE(part, 1);
    EXPECT_GT(former, 0);
    EXPECT_TRUE(redLines.isEmpty()) << redLines.join('\n').toStdString();
}

// An empty table holds no history to take; a missing one cannot be counted, so no dialog shows.
TEST_P(DatabaseTest, ImportFromAnEmptyOrMissingTableLeavesTheHistories)
{
    SetFormerPoints();
    TDatabaseActions actions = Actions();
    ThenRunToTheEnd(QStringLiteral("Импорт архивных данных"), 0);
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acImportExecute();
    EXPECT_EQ(HistoryOf(*Silos(2)->GetTIT(5)), (History{1, kFormerValue, kFormerValue}));
    EXPECT_EQ(modal.questions, std::vector<QString>{"Импорт завершён: из базы данных загружено показаний: 0."});

    monitor.Settings.DBTable = "missing_table";
    EXPECT_THROW(actions.acImportExecute(), Exception);
    EXPECT_EQ(HistoryOf(*Silos(0)->GetTIT(0)), (History{1, kFormerValue, kFormerValue}));
    EXPECT_EQ(modal.shownDialogs.size(), 1u);
}

// An export that fails tells why, instead of a count its lost transaction would belie.
TEST_P(DatabaseTest, AnExportThatFailsSaysWhy)
{
    FillHistories();
    monitor.Settings.DBTable = "missing_table";
    TDatabaseActions actions = Actions();
    modal.ThenDialog([](QDialog& dialog) { return dialog.exec(); });
    modal.ThenAnswer(QMessageBox::Ok);
    actions.acExportExecute();
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_TRUE(modal.questions[0].startsWith(QStringLiteral("Экспорт прерван ошибкой: "))) << modal.questions[0].toStdString();
    EXPECT_EQ(modal.icons[0], QMessageBox::Warning);
    QCoreApplication::processEvents();
    EXPECT_EQ(redLines.size(), 1);
}

// The export after a save appends only what the table lacks, under the same dialog.
TEST_P(DatabaseTest, ExportAfterSaveAppendsOnlyNewerPoints)
{
    FillHistories();
    TDatabaseActions actions = Actions();
    ThenRunToTheEnd(QStringLiteral("Экспорт архивных данных"), kAllPoints);
    actions.ExportAfterSave();
    TTITPoint later;
    later.SetTime(46000);
    later.Value = 5;
    std::vector<TTITPoint> points = Silos(1)->GetTIT(2)->Points();
    points.push_back(later);
    Silos(1)->GetTIT(2)->AssignPoints(points);
    ThenRunToTheEnd(QStringLiteral("Экспорт архивных данных"), 1);
    actions.ExportAfterSave();
    EXPECT_EQ(Rows(), kAllPoints + 1);

    FillHistories(0.125);   // other values at the same times: nothing newer
    ThenRunToTheEnd(QStringLiteral("Экспорт архивных данных"), 0);
    actions.ExportAfterSave();
    EXPECT_EQ(Rows(), kAllPoints + 1);
}

TEST_P(DatabaseTest, TableDialogListsCreatesAndChoosesTables)
{
    monitor.Settings.DBAutoExport = true;
    TfmSelectTable dialog(monitor.Settings, nullptr, &modal.Window);
    dialog.FormShow();
    ASSERT_TRUE(dialog.Connected());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Выбор таблицы"));
    EXPECT_EQ(dialog.edDBPath->text(), connection);
    EXPECT_TRUE(dialog.chAutoExport->isChecked());
    EXPECT_GE(dialog.cbTable->findText(table), 0);
    EXPECT_EQ(dialog.cbTable->currentText(), table);
    EXPECT_FALSE(dialog.acCreateTable->isEnabled()) << "an existing table is chosen";

    const QString fresh = table + "_new";
    dialog.cbTable->setEditText(fresh);
    ASSERT_TRUE(dialog.acCreateTable->isEnabled());
    dialog.acCreateTable->trigger();
    EXPECT_EQ(dialog.cbTable->currentText(), fresh);
    EXPECT_GE(dialog.cbTable->currentIndex(), 0);
    EXPECT_FALSE(dialog.acCreateTable->isEnabled());
    {
        TDBConnection db(connection);
        EXPECT_EQ(CountReadings(db, fresh), 0);
        if (IsPostgres())
            db.Exec("DROP TABLE " + fresh);
    }
    dialog.cbTable->setEditText("");
    EXPECT_FALSE(dialog.acCreateTable->isEnabled());
    dialog.cbTable->setEditText("bad name; drop");
    dialog.acCreateTable->trigger();   // refused, as a red line; the dialog stays
    EXPECT_TRUE(dialog.isEnabled());

    // Cancel keeps the settings; OK takes the three controls.
    dialog.cbTable->setEditText(fresh);
    dialog.chAutoExport->setChecked(false);
    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnCancel), QDialog::Rejected);
    EXPECT_EQ(monitor.Settings.DBTable, table);
    EXPECT_TRUE(monitor.Settings.DBAutoExport);
    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnOk), QDialog::Accepted);
    EXPECT_EQ(monitor.Settings.DBTable, fresh);
    EXPECT_FALSE(monitor.Settings.DBAutoExport);
    EXPECT_EQ(monitor.Settings.DBConnection, connection);
}

// The connection chooser starts from the present string and gives one that reaches the same
// database; choosing the other kind changes the string.
TEST_P(DatabaseTest, ConnectionChooserGivesTheRightConnection)
{
    const TDBConnectionParams before = ParseConnectionString(connection);
    TfmSelectTable dialog(monitor.Settings, nullptr, &modal.Window);
    dialog.FormShow();
    modal.ThenDialog([this](QDialog& shown) {
        auto& link = static_cast<TfmDataLink&>(shown);
        EXPECT_EQ(link.rbPostgres->isChecked(), IsPostgres());
        EXPECT_EQ(link.rbSQLite->isChecked(), !IsPostgres());
        return TScriptedModal::Press(link, link.btnOk);
    });
    dialog.btDBPath->click();
    EXPECT_EQ(ParseConnectionString(dialog.edDBPath->text()), before);
    EXPECT_TRUE(dialog.Connected());

    // The other kind: SQLite by its file, or PostgreSQL by its fields.
    const QString otherFile = folders.HomeFile("other.db");
    modal.ThenDialog([&](QDialog& shown) {
        auto& link = static_cast<TfmDataLink&>(shown);
        if (IsPostgres()) {
            link.rbSQLite->setChecked(true);
            link.edFile->setText(otherFile);
        } else {
            link.rbPostgres->setChecked(true);
            link.edHost->setText(folders.HomeFile("no-server-here"));
            link.edPort->setValue(5999);
            link.edDatabase->setText("grain");
            link.edUser->setText("op");
        }
        return TScriptedModal::Press(link, link.btnOk);
    });
    dialog.btDBPath->click();
    const TDBConnectionParams after = ParseConnectionString(dialog.edDBPath->text());
    if (IsPostgres()) {
        EXPECT_EQ(after.Driver, "QSQLITE");
        EXPECT_EQ(after.DatabaseName, otherFile);
        EXPECT_TRUE(dialog.Connected());
    } else {
        EXPECT_EQ(after.Driver, "QPSQL");
        EXPECT_EQ(after.HostName, folders.HomeFile("no-server-here"));
        EXPECT_EQ(after.Port, 5999);
        EXPECT_EQ(after.DatabaseName, "grain");
        EXPECT_EQ(after.UserName, "op");
        EXPECT_FALSE(dialog.Connected());
        // No server there: the dialog says so itself, with the reason and what to do.
        EXPECT_FALSE(dialog.lbConnection->isHidden());
        EXPECT_TRUE(dialog.lbConnection->text().startsWith(QStringLiteral("Не установлена связь с БД: нет связи с базой данных")))
            << dialog.lbConnection->text().toStdString();
        // Entering the table list without a connection adds no word of its own.
        dialog.cbTableEnter();
    }
    EXPECT_TRUE(modal.questions.empty());
}

// While a connection is being set up, the missing connection is told once, inside the dialog,
// with its reason and what to do: not in boxes before the dialog opens, when the chooser opens
// and again after a choice without a file.
TEST(TableDialog, AMissingConnectionIsToldOnceInTheDialogWithWhatToDo)
{
    TAppFolders folders;
    TScriptedModal modal;
    Parameters settings;
    settings.DBConnection.clear();
    TfmSelectTable dialog(settings, nullptr, &modal.Window);
    const auto told = [&dialog] { return dialog.lbConnection->isHidden() ? QString() : dialog.lbConnection->text(); };

    dialog.FormShow();
    EXPECT_EQ(told(), QStringLiteral("Не установлена связь с БД: строка подключения не задана.\nВыберите базу данных "
                                     "кнопкой \"...\" справа от строки подключения или исправьте строку; затем "
                                     "выберите таблицу или создайте новую."));

    // The chooser opens on the missing connection and comes back with SQLite but no file.
    modal.ThenDialog([&](QDialog& shown) {
        EXPECT_TRUE(told().startsWith(QStringLiteral("Не установлена связь с БД: строка подключения не задана")));
        auto& link = static_cast<TfmDataLink&>(shown);
        link.rbSQLite->setChecked(true);
        link.edFile->clear();
        return TScriptedModal::Press(link, link.btnOk);
    });
    dialog.btDBPath->click();
    EXPECT_FALSE(dialog.Connected());
    EXPECT_TRUE(told().startsWith(QStringLiteral("Не установлена связь с БД: в строке подключения не указан файл базы данных")))
        << told().toStdString();
    dialog.cbTableEnter();
    EXPECT_TRUE(modal.questions.empty());

    // A file: connected, and nothing more to say.
    modal.ThenDialog([&](QDialog& shown) {
        auto& link = static_cast<TfmDataLink&>(shown);
        link.edFile->setText(folders.HomeFile("readings.db"));
        return TScriptedModal::Press(link, link.btnOk);
    });
    dialog.btDBPath->click();
    EXPECT_TRUE(dialog.Connected());
    EXPECT_EQ(told(), QString());
    EXPECT_TRUE(modal.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(Databases, DatabaseTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return std::string(info.param); });

namespace {

TEST(ProgressDialog, CancelStopsTheWorkAtTheNextRowAndTheFinishedWorkClosesTheDialog)
{
    TAppFolders folders;
    TScriptedModal modal;
    TExchangeLog log;
    // Escape while the work runs: the work sees the cancellation and ends without completing.
    std::atomic<int> rowsAfterCancel{0};
    modal.ThenDialog([](QDialog& dialog) {
        QMetaObject::invokeMethod(&dialog, "reject", Qt::QueuedConnection);
        return dialog.exec();
    });
    EXPECT_FALSE(RunUnderProgress(&modal.Window, "work", 10,
        [&](TProgressThread& worker) {
            while (!worker.IsCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            StopIfCancelled(&worker);
            ++rowsAfterCancel;
        },
        log));
    EXPECT_EQ(rowsAfterCancel, 0);

    // A work that ends closes the dialog by itself; its error is a red line, not a completion.
    QStringList red;
    QObject::connect(&log, &TExchangeLog::Line, &log, [&](const QString& text, TColor) { red << text; });
    modal.ThenDialog([](QDialog& dialog) { return dialog.exec(); });
    EXPECT_TRUE(RunUnderProgress(&modal.Window, "work", 3,
        [](TProgressThread& worker) {
            for (int i = 0; i < 3; ++i)
                worker.AdvanceRow();
        },
        log));
    modal.ThenDialog([](QDialog& dialog) { return dialog.exec(); });
    TProgressOutcome outcome;
    EXPECT_FALSE(RunUnderProgress(&modal.Window, "work", 3,
        [](TProgressThread& worker) {
            worker.AdvanceRow();
            throw Exception("нет связи");
        },
        log, &outcome));
    QCoreApplication::processEvents();
    EXPECT_EQ(red, QStringList{"нет связи"});
    EXPECT_FALSE(outcome.Completed);
    EXPECT_EQ(outcome.Rows, 1);
    EXPECT_EQ(outcome.Error, "нет связи");
}

} // namespace
