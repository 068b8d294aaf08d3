#pragma once
// A window icon with a small state mark in its lower right corner, the way a taskbar button
// shows an overlay on Windows. On Linux the taskbar shows the window's own icon, so the mark is
// painted into that icon.
#include <QColor>
#include <QIcon>

// The base icon at each of its sizes (16, 32 and 48 pixels when it has none) with the overlay
// drawn over its lower right quarter. A null overlay gives the base icon unchanged.
QIcon ComposeOverlayIcon(const QIcon& base, const QIcon& overlay);

// A round state mark of the given colour, at 16, 32 and 48 pixels.
QIcon StateMarkIcon(const QColor& colour);
