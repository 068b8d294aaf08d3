#include "app/files/FBackup.h"

#include "app/files/BackupCopy.h"
#include "app/main/ModalRunner.h"

#include <QAction>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfmBackup::TfmBackup(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("fmBackup"));
    setWindowTitle(QStringLiteral("Сохранение конфигурации"));

    auto* text = new QLabel(QStringLiteral("Прошло больще месяца с последнего сохранения конфигурации."));
    text->setWordWrap(true);
    auto* label = new QLabel(QStringLiteral("Папка сохранения бэкапа конфигурации"));
    edBackupDir = new QLineEdit;
    edBackupDir->setObjectName(QStringLiteral("edBackupDir"));
    edBackupDir->setMinimumWidth(320);
    label->setBuddy(edBackupDir);
    acChooseDir = edBackupDir->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    connect(acChooseDir, &QAction::triggered, this, [this] { ChooseDir(); });

    btSave = new QPushButton(QStringLiteral("Сохранить"));
    btSave->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Отмена"));
    connect(btSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSave);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(label);
    layout->addWidget(edBackupDir);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

QString TfmBackup::BackupDir() const
{
    return edBackupDir->text();
}

void TfmBackup::done(int result)
{
    if (result == QDialog::Accepted) {
        const QString problem = BackupFolderProblem(BackupDir());
        if (!problem.isEmpty()) {
            AskUser(this, QMessageBox::Warning, problem);
            return;
        }
    }
    QDialog::done(result);
}

void TfmBackup::ChooseDir()
{
    QFileDialog chooser(this, QStringLiteral("Папка сохранения бэкапа конфигурации"), edBackupDir->text());
    chooser.setObjectName(QStringLiteral("BackupDirChooser"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (ExecModal(chooser) == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        edBackupDir->setText(chooser.selectedFiles().first());
}

void OfferBackup(QWidget* parent, const QStringList& files, TDateTime& lastBackup)
{
    if (!BackupDue(Now(), lastBackup))
        return;
    TfmBackup dialog(parent);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const QString folder = BackupFolderName(dialog.BackupDir(), QDate::currentDate(), QLocale());
    const TBackupResult result = MakeBackup(folder, files);
    if (result.Complete())
        lastBackup = Now();
    const QString problems = result.Problems();
    if (!problems.isEmpty())
        AskUser(parent, QMessageBox::Warning, problems);
}
