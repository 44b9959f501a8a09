#include "detect/LoggerDetection.h"

#include "loggers/AlohaSettings.h"
#include "aom/AomSettings.h"
#include "loggers/AprsSettings.h"
#include "link/ConsoleLink.h"
#include "settings/DBConfigParser.h"
#include "loggers/IrrigationSettings.h"
#include "link/LinkChoice.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"
#include "base/UserMessages.h"

#include <cstdio>
#include <initializer_list>
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

std::string Hundredths(int number)
{
    return FormatText("%.2f", number * 0.01);
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

// One reply per parameter, in the order given; false (port closed) when a
// query could not be sent or went unanswered. Every setting read here is a
// number or a text the logger always has, so an empty reply means the reply
// was lost: taking it as a value would put an empty or made-up setting in
// the form, and the form's OK would write it back to the logger.
bool ReadParameters(std::initializer_list<int> parameters, std::vector<std::string>& replies)
{
    LinkFlush();
    for (int parameter : parameters) {
        if (ModuleQuery(parameter) != 0) {
            LinkClose();
            return false;
        }
        replies.push_back(ModuleReadLine());
        if (replies.back().empty()) {
            SilentParameter() = parameter;
            FailedReadText() = kSettingUnanswered;
            LinkClose();
            return false;
        }
    }
    return true;
}

std::unique_ptr<CLoggerSettings> ReadAloha(OwnerWindow owner, const std::string& id)
{
    std::vector<std::string> r;
    if (!ReadParameters({1, 2}, r)) return nullptr;
    return std::make_unique<CAlohaSettings>(owner, id, r[0], r[1]);
}

std::unique_ptr<CLoggerSettings> ReadAprs(OwnerWindow owner, const std::string& id)
{
    std::vector<std::string> r;
    if (!ReadParameters({1, 12, 13, 14}, r)) return nullptr;
    return std::make_unique<CAprsSettings>(owner, id, r[0], r[1], r[2], r[3]);
}

std::unique_ptr<CLoggerSettings> ReadIrrigation(OwnerWindow owner, const std::string& id)
{
    std::vector<std::string> r;
    if (!ReadParameters({1, 8, 9, 10, 25, 26, 27, 3, 4, 5, 6, 7}, r)) return nullptr;
    // A number beyond an int is no setting the logger holds: the form would
    // write back a value it never had.
    static constexpr int kNumbered[] = {8, 9, 10, 25, 26, 27, 0, 0, 0, 6, 7};
    for (std::size_t i = 1; i < r.size(); ++i)
        if (kNumbered[i - 1] != 0 && !ReadWholeNumber(r[i])) {
            SilentParameter() = kNumbered[i - 1];
            FailedReadText() = kSettingUnreadable;
            return nullptr;
        }
    const std::string& p1 = r[0];
    const std::string& p8 = r[1];
    const int p9 = ReadInt(r[2]);
    const int p10 = ReadInt(r[3]);
    const int p25 = ReadInt(r[4]);
    const int p26 = ReadInt(r[5]);
    const int p27 = ReadInt(r[6]);
    const std::string &p3 = r[7], &p4 = r[8], &p5 = r[9];
    const int p6 = ReadInt(r[10]);
    const int p7 = ReadInt(r[11]);
    // 255 hundredths is the logger's "no rain-rate cut-off", kept as the word.
    const std::string cutoff = p10 == 255 ? "255" : Hundredths(p10);
    return std::make_unique<CIrrigationSettings>(
        owner, id, p1, ReadInt(p8) != 0, p8, Hundredths(p9), Hundredths(p25), Hundredths(p26),
        Hundredths(p27), cutoff, p3, p4, p5, p6 != 0, p7 == 0);
}

std::unique_ptr<CLoggerSettings> ReadAom(OwnerWindow owner, const std::string& id)
{
    std::vector<std::string> r;
    if (!ReadParameters({1, 24}, r)) return nullptr;
    return std::make_unique<CAomSettings>(owner, id, r[0], ReadInt(r[1]) == 1);
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
    if (Contains(reply, kKindWordAloha)) result = ReadAloha(owner, reply);
    if (Contains(reply, kKindWordAprs)) result = ReadAprs(owner, reply);
    if (Contains(reply, kKindWordIrrigation)) {
        if (IrrigationFirmware(reply) < kMinIrrigationFirmware) {
            if (WarningForm()) WarningForm()(owner);
        } else {
            result = ReadIrrigation(owner, reply);
        }
    }
    if (Contains(reply, kKindWordAom)) result = ReadAom(owner, reply);

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
