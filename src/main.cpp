// Corvane Utility: configures the Corvane Logger through the weather console.
#include "CCorvaneModulesApp.h"
#include "DBConfigParser.h"
#include "EventLog.h"

int main(int argc, char** argv)
{
    // The settings store and then the event log exist before the application
    // object, and go in reverse order at exit.
    DBConfigParser settings;
    SetProcessSettings(&settings);
    EventLog eventLog("eventLog.txt");
    SetProcessEventLog(&eventLog);

    int rc = 1;
    {
        CCorvaneModulesApp app(argc, argv);
        if (app.InitInstance()) rc = app.exec();
    }
    SetProcessEventLog(nullptr);
    SetProcessSettings(nullptr);
    return rc;
}
