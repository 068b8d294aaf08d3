#include "report/ui/TextExportForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/export/TextExport.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormRoutines.h"

namespace {

QCheckBox* CheckBox(const TrpRunContext& context, QWidget* parent, const char* name, int textId)
{
    auto* box = new QCheckBox(LoadFrResString(context, textId), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QString ShortestText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

TrpTXTExportForm::TrpTXTExportForm(const TrpTextExport& filter, QWidget* parent) : QDialog(parent)
{
    const TrpRunContext& context = filter.Context();
    setObjectName(QStringLiteral("rpTXTExportForm"));
    setWindowTitle(LoadFrResString(context, 54800));
    auto* group = new QGroupBox(this);
    CB1 = CheckBox(context, group, "CB1", 54801);
    CB2 = CheckBox(context, group, "CB2", 54802);
    CBCodePage = new QComboBox(group);
    CBCodePage->setObjectName(QStringLiteral("CBCodePage"));
    CBCodePage->addItems({QStringLiteral("UTF-8"), QStringLiteral("Windows-1251")});
    CB3 = CheckBox(context, group, "CB3", 54803);
    CB4 = CheckBox(context, group, "CB4", 54804);
    CB5 = CheckBox(context, group, "CB5", 54805);
    Label1 = new QLabel(LoadFrResString(context, 54806), group);
    Label1->setObjectName(QStringLiteral("Label1"));
    E1 = new QLineEdit(group);
    E1->setObjectName(QStringLiteral("E1"));
    E2 = new QLineEdit(group);
    E2->setObjectName(QStringLiteral("E2"));
    QHBoxLayout* buttons = MakeOkCancel(*this, context, OK, Cancel);

    auto* grid = new QGridLayout(group);
    grid->addWidget(CB1, 0, 0, 1, 3);
    grid->addWidget(CB2, 1, 0, 1, 2);
    grid->addWidget(CBCodePage, 1, 2);
    grid->addWidget(CB3, 2, 0, 1, 3);
    grid->addWidget(CB4, 3, 1, 1, 2);   // indented under CB3
    grid->addWidget(CB5, 4, 0, 1, 3);
    grid->addWidget(Label1, 5, 0);
    grid->addWidget(E1, 5, 1);
    grid->addWidget(E2, 5, 2);
    grid->setColumnMinimumWidth(0, 16);
    auto* column = new QVBoxLayout(this);
    column->addWidget(group);
    column->addLayout(buttons);
    resize(229, 209);

    connect(CB2, &QCheckBox::toggled, CBCodePage, [this](bool dos) { CBCodePage->setEnabled(!dos); });
    connect(CB3, &QCheckBox::clicked, this, &TrpTXTExportForm::CB3Click);
    Load(filter);
}

void TrpTXTExportForm::Load(const TrpTextExport& filter)
{
    CB1->setChecked(filter.KillEmptyLines);
    CB2->setChecked(filter.ConvertToOEM);
    CBCodePage->setCurrentIndex(filter.CodePage);
    CBCodePage->setEnabled(!filter.ConvertToOEM);
    CB3->setChecked(filter.ExportFrames);
    CB4->setChecked(filter.UsePseudographic);
    CB5->setChecked(filter.PageBreaks);
    E1->setText(ShortestText(filter.ScaleX));
    E2->setText(ShortestText(filter.ScaleY));
    CB3Click();
}

void TrpTXTExportForm::Store(TrpTextExport& filter) const
{
    filter.KillEmptyLines = CB1->isChecked();
    filter.ConvertToOEM = CB2->isChecked();
    filter.CodePage = TTextCodePage(CBCodePage->currentIndex());
    filter.ExportFrames = CB3->isChecked();
    filter.UsePseudographic = CB4->isChecked();
    filter.PageBreaks = CB5->isChecked();
    filter.ScaleX = ReadTextExportScale(E1->text());
    filter.ScaleY = ReadTextExportScale(E2->text());
}

void TrpTXTExportForm::CB3Click()
{
    CB4->setEnabled(CB3->isChecked());
}

void TrpTXTExportForm::reject()
{
    done(mrCancel);
}

int ShowTextExportOptions(TrpTextExport& filter)
{
    TrpTXTExportForm form(filter, QApplication::activeWindow());
    const int result = form.exec();
    form.Store(filter);
    return result;
}
