#include "app/dialogs/FSelectTable.h"

#include "app/dialogs/FDataLink.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "base/Exception.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsTable.h"
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

TfmSelectTable::TfmSelectTable(Parameters& settings, IniFile* placement, QWidget* parent)
    : QDialog(parent), Settings(settings)
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

    lbConnection = new QLabel;
    lbConnection->setObjectName(QStringLiteral("lbConnection"));
    lbConnection->setWordWrap(true);
    lbConnection->setStyleSheet(QStringLiteral("color: #b00000"));
    lbConnection->hide();

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
    grid->addWidget(lbConnection, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Таблица")), 3, 0, 1, 2);
    grid->addWidget(cbTable, 4, 0);
    grid->addWidget(btCreateTable, 4, 1);
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
    if (!Connect(Settings.DBConnection))
        return;
    FillTables();
    cbTable->setCurrentIndex(cbTable->findText(Settings.DBTable));
    cbTable->setEditText(Settings.DBTable);
}

// The connection in use stays while the chooser is open: the focus leaving the edit for it is
// no reason to connect again.
void TfmSelectTable::edDBPathButtonClick()
{
    TfmDataLink link(edDBPath->text(), this);
    if (ExecModal(link) != QDialog::Accepted)
        return;
    edDBPath->setText(link.ConnectionString());
    Connect(edDBPath->text());
    acCreateTableUpdate();
}

// A string typed by hand counts as soon as the edit is left.
void TfmSelectTable::edDBPathExit()
{
    if (Connected() && edDBPath->text() == applied_)
        return;
    Connect(edDBPath->text());
    acCreateTableUpdate();
}

// Without a connection there are no tables to list: the dialog already says why.
void TfmSelectTable::cbTableEnter()
{
    if (!Connected()) {
        edDBPath->setFocus();
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
        if (connectionString.trimmed().isEmpty())
            throw Exception("строка подключения не задана");
        connection_ = std::make_unique<TDBConnection>(connectionString);
        ShowConnectionState({});
        return true;
    } catch (const Exception& e) {
        ShowConnectionState(QString::fromStdString(e.Message()));
        return false;
    }
}

void TfmSelectTable::ShowConnectionState(const QString& failure)
{
    lbConnection->setVisible(!failure.isEmpty());
    if (!failure.isEmpty())
        lbConnection->setText(QStringLiteral("Не установлена связь с БД: %1.\nВыберите базу данных кнопкой \"...\" "
                                             "справа от строки подключения или исправьте строку; затем выберите "
                                             "таблицу или создайте новую.")
                                  .arg(failure));
    // The wrapped lines need the height they take at the dialog's width.
    layout()->activate();
    if (const int needed = heightForWidth(width()); needed > height())
        resize(width(), needed);
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

void ShowSelectTable(Parameters& settings, IniFile* placement, QWidget* parent)
{
    TfmSelectTable dialog(settings, placement, parent);
    dialog.FormShow();
    ExecModal(dialog);
}
