#pragma once
// Which device a serial port number names: the link "COM<N>" in the program's folder when a
// person (or a test) made one, e.g. COM3 -> /dev/ttyUSB0; else the N-th built-in UART.
#include <string>

std::string SerialDevicePath(int number);
