#pragma once
// What every part of the program shares: the settings record and the serial port reference, the
// events to the main window, the log helpers, the list of serial ports, the temperature text and
// the history point.
#include "base/HexText.h"
#include "core/ExchangeLog.h"
#include "core/LogFile.h"
#include "core/Parameters.h"
#include "core/TITPoint.h"
#include "core/TemperatureText.h"
#include "core/WindowMessages.h"
#include "platform/posix/ComPorts.h"
