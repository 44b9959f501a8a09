#include "detect/LoggerDetection.h"

#include "aom/AomCommands.h"
#include "link/ConsoleLink.h"
#include "settings/DBConfigParser.h"
#include "loggers/LoggerParameters.h"
#include "link/LinkChoice.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"
#include "base/UserMessages.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 8;
constexpr int kIdentificationParameter = 0;
// The console needs this long after the port closes before it takes the
// next open reliably.
constexpr int kAfterClosePauseMs = 2000;

std::string& IdentificationReply()
{
    static std::string reply;
    return reply;
}

FirmwareWarningForm& WarningForm()
{
    static FirmwareWarningForm form;
    return form;
}

bool Contains(const std::string& text, const char* word)
{
    return text.find(word) != std::string::npos;
}

void ShowNoLogger(OwnerWindow owner, const std::string& details = {})
{
    UserMessage message;
    message.text = kNoLoggerFound;
    message.details = details;
    message.parent = owner;
    ShowMessage(message);
}

// The parameter whose query went unanswered in the last read, 0 for none,
// and what was wrong with its reply.
int& SilentParameter()
{
    static int parameter = 0;
    return parameter;
}
const char*& FailedReadText()
{
    static const char* text = kSettingUnanswered;
    return text;
}

// The kind's parameters read into a new record, in the table's order. Every
// setting read here is a number or a text the logger always has, so an
// empty reply means the reply was lost: taking it as a value would put an
// empty or made-up setting in the form, and the form's OK would write it
// back to the logger. Nothing when a query could not be sent or went
// unanswered (port closed), or a reply is no value the logger can hold.
template <class Record>
std::unique_ptr<CLoggerSettings> ReadKind(OwnerWindow owner, const std::string& id,
                                          ParameterTable<Record> table)
{
    std::vector<std::string> replies;
    LinkFlush();
    for (const ModuleParameter<Record>& parameter : table) {
        if (ModuleQuery(parameter.number) != 0) {
            LinkClose();
            return nullptr;
        }
        replies.push_back(ModuleReadLine());
        if (replies.back().empty()) {
            SilentParameter() = parameter.number;
            FailedReadText() = kSettingUnanswered;
            LinkClose();
            return nullptr;
        }
    }
    auto record = std::make_unique<Record>(owner, id);
    for (std::size_t i = 0; i < table.size(); ++i)
        if (!table[i].fromWire(*record, replies[i])) {
            SilentParameter() = table[i].number;
            FailedReadText() = kSettingUnreadable;
            return nullptr;
        }
    return record;
}

}  // namespace

int OpenLink(int port, int baud)
{
    if (LinkOpen(port, baud) != 0) return -1;
    LinkFlush();
    return 0;
}

bool NamesLoggerKind(const std::string& reply)
{
    return Contains(reply, kKindWordAloha) || Contains(reply, kKindWordAprs) ||
           Contains(reply, kKindWordIrrigation) || Contains(reply, kKindWordAom);
}

int IrrigationFirmware(const std::string& reply)
{
    // The number sits in columns 8-10 behind the kind word. A reply cut
    // short gives the digits that arrived; with none there it reads 0 and the
    // logger counts as too old to configure.
    if (reply.size() <= 8) return 0;
    return ReadInt(reply.substr(8, 3));
}

FirmwareWarningForm SetFirmwareWarningForm(FirmwareWarningForm form)
{
    FirmwareWarningForm previous = std::move(WarningForm());
    WarningForm() = std::move(form);
    return previous;
}

std::unique_ptr<CLoggerSettings> DetectAndReadLogger(OwnerWindow owner)
{
    IdentificationReply().clear();
    const int port = ChosenPort();
    const int baud = ChosenBaud();

    if (OpenLink(port, baud) != 0) {
        // The reason the port would not open, where the user looks for it.
        ShowNoLogger(owner, LastPortFailureDetails());
        return nullptr;
    }
    // A console that stays asleep shows up as a silent identification below.
    WakeConsoleQuick();
    if (ModuleQuery(kIdentificationParameter) != 0) {
        LinkClose();
        ShowNoLogger(owner);
        return nullptr;
    }
    const std::string reply = ModuleReadLine();
    IdentificationReply() = reply;
    if (reply.empty()) {
        LinkClose();
        ShowNoLogger(owner);
        return nullptr;
    }

    // Every kind the reply names is read, and the last read that ran decides;
    // an earlier record is released as it is replaced. The firmware warning
    // reads nothing and so leaves an earlier record in place.
    std::unique_ptr<CLoggerSettings> result;
    SilentParameter() = 0;
    if (Contains(reply, kKindWordAloha)) result = ReadKind(owner, reply, AlohaParameters());
    if (Contains(reply, kKindWordAprs)) result = ReadKind(owner, reply, AprsParameters());
    if (Contains(reply, kKindWordIrrigation)) {
        if (IrrigationFirmware(reply) < kMinIrrigationFirmware) {
            if (WarningForm()) WarningForm()(owner);
        } else {
            result = ReadKind(owner, reply, IrrigationParameters());
        }
    }
    if (Contains(reply, kKindWordAom)) result = ReadKind(owner, reply, AomModuleParameters());

    LinkClose();
    PauseMs(kAfterClosePauseMs);
    if (!result && SilentParameter() != 0)
        ShowNoLogger(owner, FormatText(FailedReadText(), SilentParameter()));
    return result;
}

std::string LastIdentificationReply()
{
    return IdentificationReply();
}

int ScanPorts(int baud)
{
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        LinkClose();
        if (LinkOpen(port, baud) != 0) continue;
        WakeConsoleQuick();
        if (ModuleQuery(kIdentificationParameter) != 0) continue;
        const std::string reply = ModuleReadLine();
        if (!reply.empty() && NamesLoggerKind(reply)) {
            char text[16];
            std::snprintf(text, sizeof text, "%d", port);
            Settings().SetValue(key::SerialPort, std::string(text));
            LinkClose();
            return port;
        }
    }
    LinkClose();
    return 0;
}
