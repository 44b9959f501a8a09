#include "link/LinkChoice.h"

#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"

#include <atomic>

namespace {

std::atomic<int> g_port{0};
std::atomic<int> g_baud{0};

}  // namespace

void SetLinkChoiceOverride(int port, int baud)
{
    g_port.store(port);
    g_baud.store(baud);
}

int ChosenPort()
{
    const int port = g_port.load();
    return port != 0 ? port : Settings().GetInt(key::SerialPort);
}

int ChosenBaud()
{
    const int baud = g_baud.load();
    return baud != 0 ? baud : Settings().GetInt(key::BaudRate);
}
