#pragma once
// A spin edit of the dialogs: its object name, its range, and the value it starts with (the
// range's low end unless given).
class QSpinBox;

QSpinBox* MakeSpinEdit(const char* name, int low, int high);
QSpinBox* MakeSpinEdit(const char* name, int low, int high, int value);
