// Corvane Utility: configures the Corvane Logger through the weather console.
#include "shell/CCorvaneModulesApp.h"
#include "shell/StartUp.h"
#include "settings/WorkingDirectory.h"

int main(int argc, char** argv)
{
    // Started away from a config.txt (from the desktop menu, say), the
    // program works in its per-user folder; the settings store reads the
    // current directory, so this comes first.
    EnterWorkingDirectory();
    return RunCorvaneUtility(argc, argv, [](CCorvaneModulesApp& app) { return app.exec(); });
}
