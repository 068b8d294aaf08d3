#include "app/dialogs/FSelectTable.h"

#include "app/dialogs/FDataLink.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "base/Exception.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TfmSelectTable::TfmSelectTable(Parameters& settings, TExchangeLog& log, IniFile* placement, QWidget* parent)
    : QDialog(parent), Settings(settings), Log(log)
{
    setObjectName(QStringLiteral("TfmSelectTable"));
    setWindowTitle(QStringLiteral("Выбор таблицы"));

    edDBPath = new QLineEdit;
    edDBPath->setObjectName(QStringLiteral("edDBPath"));
    connect(edDBPath, &QLineEdit::editingFinished, this, [this] { edDBPathExit(); });
    btDBPath = new QToolButton;
    btDBPath->setObjectName(QStringLiteral("btDBPath"));
    btDBPath->setText(QStringLiteral("..."));
    connect(btDBPath, &QToolButton::clicked, this, [this] { edDBPathButtonClick(); });

    cbTable = new QComboBox;
    cbTable->setObjectName(QStringLiteral("cbTable"));
    cbTable->setEditable(true);
    cbTable->setInsertPolicy(QComboBox::NoInsert);
    cbTable->installEventFilter(this);
    connect(cbTable, &QComboBox::currentTextChanged, this, [this] { acCreateTableUpdate(); });

    acCreateTable = new QAction(QStringLiteral("Создать новую"), this);
    acCreateTable->setObjectName(QStringLiteral("acCreateTable"));
    connect(acCreateTable, &QAction::triggered, this, [this] { RunGuarded(this, [this] { acCreateTableExecute(); }); });
    btCreateTable = new QToolButton;
    btCreateTable->setObjectName(QStringLiteral("btCreateTable"));
    btCreateTable->setDefaultAction(acCreateTable);
    btCreateTable->setToolButtonStyle(Qt::ToolButtonTextOnly);

    chAutoExport = new QCheckBox(QStringLiteral("Выполнять автоматический экспорт при сохранении архива"));
    chAutoExport->setObjectName(QStringLiteral("chAutoExport"));

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Строка подключения к базе данных")), 0, 0, 1, 2);
    grid->addWidget(edDBPath, 1, 0);
    grid->addWidget(btDBPath, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Таблица")), 2, 0, 1, 2);
    grid->addWidget(cbTable, 3, 0);
    grid->addWidget(btCreateTable, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(chAutoExport);
    layout->addStretch();
    layout->addWidget(buttons.Box);
    resize(520, sizeHint().height());

    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmSelectTable");
    acCreateTableUpdate();
}

TfmSelectTable::~TfmSelectTable() = default;

void TfmSelectTable::FormShow()
{
    edDBPath->setText(Settings.DBConnection);
    chAutoExport->setChecked(Settings.DBAutoExport);
    cbTable->setEditText(Settings.DBTable);
    if (!Connect(Settings.DBConnection)) {
        NoConnection();
        return;
    }
    FillTables();
    cbTable->setCurrentIndex(cbTable->findText(Settings.DBTable));
    cbTable->setEditText(Settings.DBTable);
}

void TfmSelectTable::edDBPathButtonClick()
{
    connection_.reset();
    TfmDataLink link(edDBPath->text(), this);
    if (ExecModal(link) == QDialog::Accepted)
        edDBPath->setText(link.ConnectionString());
    if (!Connect(edDBPath->text()))
        NoConnection();
    acCreateTableUpdate();
}

// A string typed by hand counts as soon as the edit is left.
void TfmSelectTable::edDBPathExit()
{
    if (Connected() && edDBPath->text() == applied_)
        return;
    if (!Connect(edDBPath->text()))
        NoConnection();
    acCreateTableUpdate();
}

void TfmSelectTable::cbTableEnter()
{
    if (!Connected()) {
        edDBPath->setFocus();   // first, so that the box's closing does not bring the focus back here
        NoConnection();
        return;
    }
    FillTables();
}

void TfmSelectTable::acCreateTableUpdate()
{
    const QString name = cbTable->currentText();
    acCreateTable->setEnabled(Connected() && !name.isEmpty() && cbTable->findText(name) < 0);
}

// An error of the statement goes to the log as a red line, the dialog stays.
void TfmSelectTable::acCreateTableExecute()
{
    acCreateTableUpdate();
    if (!acCreateTable->isEnabled())
        return;
    const QString name = cbTable->currentText();
    CreateReadingsTable(*connection_, name);
    FillTables();
    cbTable->setCurrentIndex(cbTable->findText(name));
    acCreateTableUpdate();
}

void TfmSelectTable::done(int result)
{
    if (result == QDialog::Accepted) {
        Settings.DBConnection = edDBPath->text();
        Settings.DBTable = cbTable->currentText();
        Settings.DBAutoExport = chAutoExport->isChecked();
    }
    QDialog::done(result);
}

bool TfmSelectTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cbTable && event->type() == QEvent::FocusIn)
        cbTableEnter();
    return QDialog::eventFilter(watched, event);
}

bool TfmSelectTable::Connect(const QString& connectionString)
{
    connection_.reset();
    applied_ = connectionString;
    try {
        connection_ = std::make_unique<TDBConnection>(connectionString);
        return true;
    } catch (const Exception& e) {
        Log.Post(QString::fromStdString(e.Message()), kLogError);
        return false;
    }
}

// The list is refilled; what the edit holds stays.
void TfmSelectTable::FillTables()
{
    const QString text = cbTable->currentText();
    QStringList tables = connection_->Tables();
    tables.sort(Qt::CaseInsensitive);
    cbTable->blockSignals(true);
    cbTable->clear();
    cbTable->addItems(tables);
    cbTable->setCurrentIndex(cbTable->findText(text));
    cbTable->setEditText(text);
    cbTable->blockSignals(false);
    acCreateTableUpdate();
}

void TfmSelectTable::NoConnection()
{
    AskUser(this, QMessageBox::Warning, QStringLiteral("Не установлена связь с БД"));
}

void ShowSelectTable(Parameters& settings, TExchangeLog& log, IniFile* placement, QWidget* parent)
{
    TfmSelectTable dialog(settings, log, placement, parent);
    dialog.FormShow();
    ExecModal(dialog);
}
