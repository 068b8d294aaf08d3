#pragma once
// The system's own text for an errno value, as the program shows it to the user.
#include <string>

std::string SystemErrorText(int error);
