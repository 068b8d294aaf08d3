#include "app/widgets/ColorPickerButton.h"

#include "app/main/ModalRunner.h"
#include "platform/qt/QtColour.h"

#include <QColorDialog>
#include <QMenu>
#include <QPixmap>

namespace {

QIcon Swatch(TColor color, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(ToQColor(color));
    return QIcon(pixmap);
}

} // namespace

const TColor TColorPickerButton::kBasicColors[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

TColorPickerButton::TColorPickerButton(const char* name, QWidget* parent) : QToolButton(parent)
{
    setObjectName(QString::fromLatin1(name));
    setPopupMode(QToolButton::InstantPopup);
    setIconSize(QSize(40, 14));
    auto* menu = new QMenu(this);
    for (TColor color : kBasicColors) {
        QAction* item = menu->addAction(Swatch(color, QSize(16, 16)), QString());
        connect(item, &QAction::triggered, this, [this, color] { SetColor(color); });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Другой цвет...")), &QAction::triggered, this, [this] { ChooseOther(); });
    setMenu(menu);
    SetColor(clBlack);
}

void TColorPickerButton::SetColor(TColor color)
{
    color_ = color & 0xFFFFFF;
    setIcon(Swatch(color_, iconSize()));
}

void TColorPickerButton::ChooseOther()
{
    QColorDialog dialog(ToQColor(color_), this);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (ExecModal(dialog) == QDialog::Accepted)
        SetColor(FromQColor(dialog.selectedColor()));
}
