#include "app/dialogs/FDataLink.h"

#include "app/main/ModalRunner.h"
#include "app/widgets/DialogButtons.h"
#include "base/Exception.h"
#include "core/DB/ConnectionString.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPostgresPort = 5432;

QLineEdit* Edit(const char* name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

TfmDataLink::TfmDataLink(const QString& connectionString, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmDataLink"));
    setWindowTitle(QStringLiteral("Подключение к базе данных"));

    rbSQLite = new QRadioButton(QStringLiteral("SQLite: файл базы данных"));
    rbSQLite->setObjectName(QStringLiteral("rbSQLite"));
    rbPostgres = new QRadioButton(QStringLiteral("PostgreSQL: сервер базы данных"));
    rbPostgres->setObjectName(QStringLiteral("rbPostgres"));

    auto* sqlitePage = new QWidget;
    edFile = Edit("edFile");
    btFile = new QPushButton(QStringLiteral("..."));
    btFile->setObjectName(QStringLiteral("btFile"));
    connect(btFile, &QPushButton::clicked, this, [this] { ChooseFile(); });
    auto* file = new QHBoxLayout;
    file->addWidget(edFile);
    file->addWidget(btFile);
    auto* sqliteForm = new QFormLayout(sqlitePage);
    sqliteForm->addRow(QStringLiteral("Файл"), file);

    auto* postgresPage = new QWidget;
    edHost = Edit("edHost");
    edPort = new QSpinBox;
    edPort->setObjectName(QStringLiteral("edPort"));
    edPort->setRange(1, 65535);
    edPort->setValue(kPostgresPort);
    edDatabase = Edit("edDatabase");
    edUser = Edit("edUser");
    edPassword = Edit("edPassword");
    edPassword->setEchoMode(QLineEdit::Password);
    auto* postgresForm = new QFormLayout(postgresPage);
    postgresForm->addRow(QStringLiteral("Сервер"), edHost);
    postgresForm->addRow(QStringLiteral("Порт"), edPort);
    postgresForm->addRow(QStringLiteral("База данных"), edDatabase);
    postgresForm->addRow(QStringLiteral("Пользователь"), edUser);
    postgresForm->addRow(QStringLiteral("Пароль"), edPassword);

    pages = new QStackedWidget;
    pages->addWidget(sqlitePage);
    pages->addWidget(postgresPage);
    connect(rbPostgres, &QRadioButton::toggled, pages, [this](bool on) { pages->setCurrentIndex(on ? 1 : 0); });

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rbSQLite);
    layout->addWidget(rbPostgres);
    layout->addWidget(pages);
    layout->addWidget(buttons.Box);

    Fill(connectionString);
}

// A string this dialog cannot show (another driver, or no string at all) starts from SQLite.
void TfmDataLink::Fill(const QString& connectionString)
{
    TDBConnectionParams params;
    try {
        params = ParseConnectionString(connectionString);
    } catch (const Exception&) {
    }
    if (params.Driver == u"QPSQL") {
        rbPostgres->setChecked(true);
        edHost->setText(params.HostName);
        edPort->setValue(params.Port > 0 ? params.Port : kPostgresPort);
        edDatabase->setText(params.DatabaseName);
        edUser->setText(params.UserName);
        edPassword->setText(params.Password);
    } else {
        rbSQLite->setChecked(true);
        if (params.Driver == u"QSQLITE")
            edFile->setText(params.DatabaseName);
    }
}

QString TfmDataLink::ConnectionString() const
{
    TDBConnectionParams params;
    if (rbPostgres->isChecked()) {
        params.Driver = QStringLiteral("QPSQL");
        params.HostName = edHost->text().trimmed();
        params.Port = edPort->value();
        params.DatabaseName = edDatabase->text().trimmed();
        params.UserName = edUser->text();
        params.Password = edPassword->text();
    } else {
        params.Driver = QStringLiteral("QSQLITE");
        params.DatabaseName = edFile->text().trimmed();
    }
    return MakeConnectionString(params);
}

void TfmDataLink::ChooseFile()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("DBFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);   // a new file is made on connecting
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Базы данных SQLite (*.db *.sqlite *.sqlite3)"), QStringLiteral("Все файлы (*)")});
    if (!edFile->text().isEmpty())
        dialog.selectFile(edFile->text());
    if (ExecModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        edFile->setText(dialog.selectedFiles().constFirst());
}
