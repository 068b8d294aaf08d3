#include "report/ui/PdfFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include "report/runtime/RunContext.h"

void InstallPdfFileDialog(TrpRunContext& context, QWidget* parent)
{
    context.PdfFileDialog = [window = QPointer<QWidget>(parent)](const QString& suggestedName) {
        // A title may hold a slash, which a file name cannot.
        QString suggested = suggestedName;
        suggested.replace(QLatin1Char('/'), QLatin1Char('_'));
        QString fileName = QFileDialog::getSaveFileName(window, QStringLiteral("Печать в файл PDF"),
                                                        suggested + QStringLiteral(".pdf"),
                                                        QStringLiteral("Документы PDF (*.pdf)"));
        if (!fileName.isEmpty() && QFileInfo(fileName).suffix().isEmpty())
            fileName += QStringLiteral(".pdf");
        return fileName;
    };
}
