#include "app/widgets/SpinEdit.h"

#include <QSpinBox>

QSpinBox* MakeSpinEdit(const char* name, int low, int high)
{
    auto* edit = new QSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(low, high);
    return edit;
}

QSpinBox* MakeSpinEdit(const char* name, int low, int high, int value)
{
    QSpinBox* edit = MakeSpinEdit(name, low, high);
    edit->setValue(value);
    return edit;
}
