#pragma once
// The Russian names of event codes and the text of a controller's state octet.
#include <cstdint>
#include <string>

// The name of an event code; a code without a name gives the code in decimal.
void GetNameEvent(uint8_t code, std::string& text);
// The same with the arguments the other way round, as other programs call it.
void GetEventName(std::string& text, uint8_t code);

// "Нормальное состояние" for 0, else the texts of the set bits in bit order, run together.
void DecodeDevState(uint8_t state, std::string& text);
