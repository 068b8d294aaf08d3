#pragma once
// The settings file: "Tavik_zuzid.INI" in the program's folder.
#include <string>

std::string SettingsFileName();
