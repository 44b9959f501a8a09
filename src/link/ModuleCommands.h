#pragma once
// The module command transport: "MOD" lines out, LF CR terminated lines back.

#include <string>

// Query lines; each flushes first and pauses 250 ms after sending.
// 0 when sent, otherwise LinkPutString's nonzero result.
int ModuleQuery(int parameter);
int ModuleQueryArg(int parameter, const std::string& argument);
int ModuleQueryInt(int parameter, int value);

// One reply line without its LF CR; empty when the logger is silent.
std::string ModuleReadLine();

// 0 when the logger's reply contains "OK", -1 otherwise. No flush, no pause.
int ModuleSet(int parameter, const std::string& argument);
int ModuleCommand(int parameter);

// The line layouts, without sending (for tests and the simulator's checks).
std::string ModuleQueryLine(int parameter);
std::string ModuleQueryArgLine(int parameter, const std::string& argument);
std::string ModuleSetLine(int parameter, const std::string& argument);
std::string ModuleCommandLine(int parameter);
