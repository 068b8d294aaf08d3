#pragma once
// The drop-down colour chooser of the set-point and chart dialogs: a button showing the colour,
// whose menu offers the sixteen basic colours and "Другой цвет..." for any other. System colours
// (the desktop theme's) are not offered: a stored colour is always a plain one.
#include "base/Colour.h"

#include <QToolButton>

class TColorPickerButton : public QToolButton {
public:
    explicit TColorPickerButton(const char* name, QWidget* parent = nullptr);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The basic colours in the menu's order.
    static const TColor kBasicColors[16];

private:
    void ChooseOther();

    TColor color_ = clBlack;
};
