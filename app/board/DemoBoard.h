#pragma once
// The silo board of the demonstration configuration (two silo blocks over two local blocks of
// six suspensions with six sensors each): a layout file placing every suspension, named and
// calibrated, and a "nocom.log" whose replies give each sensor a temperature, so that a pass
// in the no-port mode colours the board: most sensors normal, a few above the maximum
// set-point, one open line, one short circuit, and one sensor that never answers.
// Files that already exist are left as they are.
class IniFile;

// Writes the files into the program's folder, and settings for quick no-port passes.
void CreateDemoBoardFiles(IniFile& ini);

// The demonstration's temperature of a sensor (local block, suspension, sensor); NaN for the
// sensor that does not answer.
double DemoTemperature(int block, int silos, int tit);
