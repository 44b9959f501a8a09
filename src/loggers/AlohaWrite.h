#pragma once
#include "loggers/AlohaSettings.h"

// Wakes the console once and writes the time-out (parameter 1), then the
// station number (2). Stops at the first write the logger does not confirm;
// nothing is undone. True when both were confirmed.
bool WriteAlohaSettings(const CAlohaSettings& settings);
