#pragma once
// A temperature as the board, the trees and the reports show it.
#include <QString>

struct Parameters;

// Precision 0 to 3: the value with that many decimals; 4 or more: rounded to a half degree
// (fraction up to 0.35 down, below 0.66 to .5, else up; negative values are cut toward zero)
// with one decimal. Right-aligned in at least five characters, with the locale's decimal
// separator. Ties in the decimals go to the even neighbour.
QString FormatTemperature(int precision, double value);

// A sensor's value as the program shows it: empty for no data (-999), the settings' short-circuit
// text below -36 and open-line text above 70, else the temperature with the settings' precision.
QString SensorValueText(double value, const Parameters& settings);
