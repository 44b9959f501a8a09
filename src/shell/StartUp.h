#pragma once
// The program from start to end, in the order the process-wide objects need:
// the settings store (config.txt loaded), then the event log (its directory
// read from the store), then the application object, whose main window is
// shown after the messages the store had to hold back. At the end they go in
// reverse order.

#include <functional>

class CCorvaneModulesApp;

// What runs once the main window is shown: the event loop in the program,
// a check and a quick return in a test. Its result is the program's.
using RunMainWindow = std::function<int(CCorvaneModulesApp& app)>;

int RunCorvaneUtility(int& argc, char** argv, const RunMainWindow& run);
