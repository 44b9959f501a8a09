// Corvane Utility: configures the Corvane Logger through the weather console.
#include "CCorvaneModulesApp.h"
#include "StartUp.h"

int main(int argc, char** argv)
{
    return RunCorvaneUtility(argc, argv, [](CCorvaneModulesApp& app) { return app.exec(); });
}
