#pragma once
// The serial port's line settings, in place of the system's port dialog: rate, data bits,
// parity and stop bits. The port takes them on OK (an open port is set up anew).
class QWidget;
class TCommPort;

// True when the operator confirmed new settings.
bool ShowPortConfigDialog(TCommPort& port, QWidget* parent);
