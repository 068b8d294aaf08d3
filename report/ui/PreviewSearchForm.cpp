#include "report/ui/PreviewSearchForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "report/runtime/ModalResult.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormRoutines.h"

TrpPreviewSearchForm::TrpPreviewSearchForm(const TrpRunContext& context, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("rpPreviewSearchForm"));
    setWindowTitle(LoadFrResString(context, 53000));   // "Find text"
    resize(262, 158);
    Label1 = Named(new QLabel(LoadFrResString(context, 53001), this), "Label1");
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Label1->setBuddy(Edit1);
    GroupBox1 = Named(new QGroupBox(LoadFrResString(context, 53002), this), "GroupBox1");
    CB1 = Named(new QCheckBox(LoadFrResString(context, 53003), GroupBox1), "CB1");
    (new QVBoxLayout(GroupBox1))->addWidget(CB1);
    GroupBox2 = Named(new QGroupBox(LoadFrResString(context, 53004), this), "GroupBox2");
    RB1 = Named(new QRadioButton(LoadFrResString(context, 53005), GroupBox2), "RB1");
    RB2 = Named(new QRadioButton(LoadFrResString(context, 53006), GroupBox2), "RB2");
    RB1->setChecked(true);
    auto* origin = new QVBoxLayout(GroupBox2);
    origin->addWidget(RB1);
    origin->addWidget(RB2);

    auto* column = new QVBoxLayout(this);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(Label1);
    textRow->addWidget(Edit1, 1);
    column->addLayout(textRow);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(GroupBox1);
    boxes->addWidget(GroupBox2);
    column->addLayout(boxes);
    column->addLayout(MakeOkCancel(*this, context, Button1, Button2));
}

void TrpPreviewSearchForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TrpPreviewSearchForm::reject()
{
    done(mrCancel);
}
