#pragma once
// Which device a serial port number names: the link "COM<N>" in the program's folder when a
// person (or a test) made one, e.g. COM3 -> /dev/ttyUSB0; else the N-th built-in UART.
#include <string>

std::string SerialDevicePath(int number);

// The device itself behind a port's path, every link followed: the one name under which
// instances with different program folders (and so different COM<N> links) know the same
// device. A link to a device that is gone ends at that device's name all the same.
std::string CanonicalDevicePath(const std::string& path);
