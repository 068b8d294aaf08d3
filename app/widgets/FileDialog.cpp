#include "app/widgets/FileDialog.h"

#include "app/main/ModalRunner.h"

QString AskFileName(QWidget* parent, const QString& objectName, QFileDialog::AcceptMode mode,
                    const QStringList& nameFilters, const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(defaultSuffix);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
