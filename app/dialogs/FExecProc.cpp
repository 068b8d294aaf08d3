#include "app/dialogs/FExecProc.h"

#include "app/dialogs/PascalHighlighter.h"
#include "app/main/UnhandledException.h"
#include "app/settings/FormPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "platform/posix/IniFile.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kPlacement = "TfmExecProc";
}

TfmExecProc::TfmExecProc(IniFile& settings, QWidget* parent) : QDialog(parent), FSettings(settings)
{
    setObjectName(QStringLiteral("TfmExecProc"));
    setWindowTitle(QStringLiteral("Процедура расчета температуры"));
    resize(640, 480);

    Memo = new QPlainTextEdit;
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Highlighter = new TPascalHighlighter(Memo->document());

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOK", QStringLiteral("Отмена"));
    btnOK = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo, 1);
    layout->addWidget(buttons.Box);
    RestoreFormPlacement(FSettings, *this, kPlacement);
}

TfmExecProc::~TfmExecProc()
{
    RunGuarded(this, [this] {
        FSettings.BeginUpdate();
        SaveFormPlacement(FSettings, *this, kPlacement);
        FSettings.EndUpdate();
    });
}

void TfmExecProc::SetProcedure(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo->setPlainText(lines);
}

QString TfmExecProc::Procedure() const
{
    QString text = Memo->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}
