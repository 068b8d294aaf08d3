#pragma once
// The engine's windows remember where they were: the position, size and maximized state of
// each window class are kept in the user's store under "Software\ReportEngine\Form\<class>"
// as the texts "XPosition", "YPosition", "Width", "Height" and "Maximized" ("1" or "0").
#include <QString>

class KeyValueStore;
class QWidget;

inline constexpr auto kReportEngineKey = "Software\\ReportEngine";

// The store key of a window class.
QString FormPositionKey(const QWidget& form);

// Writes the window's place. A maximized window keeps the place it returns to, so that leaving
// the maximized state after a restore gives the size the user chose. A store that cannot be
// written loses the place without troubling the user (it is only a convenience).
void SaveFormPosition(const QWidget& form, KeyValueStore& store);

// Applies the stored place: a stored "Maximized" of 0 makes the window normal (a missing one
// leaves its state alone), and each of left, top, width and height that is missing or no
// number keeps the window's own. A place that no screen shows any more (a monitor taken away)
// is moved onto the nearest screen, shrunk to fit it.
void RestoreFormPosition(QWidget& form, const KeyValueStore& store);
