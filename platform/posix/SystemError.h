#pragma once
// The system's text for an errno value, as the program shows it to the user: in Russian,
// whatever the machine's locale, since the operator reads Russian. The values that serial
// lines and files give have their own texts; any other reads "Неизвестная ошибка" and its number.
#include <string>

std::string SystemErrorText(int error);
