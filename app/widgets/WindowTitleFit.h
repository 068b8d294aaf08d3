#pragma once
// A window manager cuts a title its window is too narrow for ("Подключени… базе данных"): a
// dialog is made at least as wide as its title needs in the title font, with room for the title
// bar's icon and buttons.
class QString;
class QWidget;

// The width a window needs for its title to show whole.
int TitleBarWidth(const QString& title);
// Widens the window to that width: its minimum width (and a fixed width), or, where its layout
// fixes its size, the layout's.
void FitWindowTitle(QWidget& window);
