#pragma once
// The no-port switch (command-line word "no_com"): exchanges are emulated instead of going to the
// serial line. One process-wide flag; the settings record's `NoCom` field reads and writes this
// same flag, so the communication layer sees what the program set without depending on it.

// Safe from any thread.
bool IsNoCom();
void SetNoCom(bool on);
