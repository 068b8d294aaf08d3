#pragma once
// What the program says about itself: the product name is the main window's caption.
#include <QString>

inline QString ProductName() { return QStringLiteral("Tavik_zuzid"); }
// The program's version, "major.minor.patch" as the build sets it.
QString ProductVersion();
