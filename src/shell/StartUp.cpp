#include "shell/StartUp.h"

#include "shell/CCorvaneModulesApp.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "link/LinkLog.h"
#include "base/ui/QtNumberRules.h"

namespace {

// Installs one process-wide object for the lifetime of the scope.
template <class T, T* (*Install)(T*)>
class Installed {
public:
    explicit Installed(T& object) : previous_(Install(&object)) {}
    ~Installed() { Install(previous_); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    T* previous_;
};

}  // namespace

int RunCorvaneUtility(int& argc, char** argv, const RunMainWindow& run)
{
    // Neither object builds the other, nor anything else, when config.txt
    // cannot be read: the store's errors are held until the log exists.
    DBConfigParser settings;
    Installed<DBConfigParser, SetProcessSettings> settingsInstalled(settings);
    EventLog eventLog("eventLog.txt");
    Installed<EventLog, SetProcessEventLog> eventLogInstalled(eventLog);
    eventLog.TakeHeldEntries();
    // The last minutes of link traffic stay in memory for Save Link Log;
    // nothing reaches the disk unless the user saves it.
    KeepProgramLinkLog();

    CCorvaneModulesApp app(argc, argv);
    UseCNumberRulesInQt();
    if (!app.InitInstance()) return 1;
    return run(app);
}
