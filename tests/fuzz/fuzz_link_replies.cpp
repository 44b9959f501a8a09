// Bytes from the device through a scripted port. The first byte picks the
// exchange: the console's wake-up, fixed-length and CRC checked receives,
// the firmware date, EEPROM reads and the transmitter block take the rest
// as the bytes that arrive; detection (identification and the kind's
// settings, whose writes after "set timeout=60" the simulated logger must
// take) and an alarm output module's outputs take it as one reply per
// line sent, replies separated by 0x1E.
#include "aom/AomSettings.h"
#include "cli/CliLogger.h"
#include "link/ConsoleLink.h"
#include "FuzzSupport.h"
#include "detect/LoggerDetection.h"
#include "link/ModuleCommands.h"
#include "link/SerialLink.h"

#include <deque>
#include <sstream>

namespace {

void Converse(FakeLink& link, const std::string& bytes)
{
    auto replies = std::make_shared<std::deque<std::string>>();
    std::istringstream in(bytes);
    for (std::string reply; std::getline(in, reply, '\x1e');) replies->push_back(reply);
    if (bytes.empty() || bytes.back() == '\x1e') replies->emplace_back();  // the empty last reply
    link.RespondWith([replies](const std::string&) -> std::optional<std::string> {
        if (replies->empty()) return std::nullopt;
        std::string reply = std::move(replies->front());
        replies->pop_front();
        return reply;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    const int exchange = input.Pick(8);
    const int n = input.Byte() * 3;  // beyond the receive buffer too
    const std::string bytes = input.Rest();
    FakeLink link;
    if (exchange < 6) link.QueueBytes(bytes);
    if (LinkOpen(1, 19200) != 0) return 0;
    switch (exchange) {
    case 0: WakeConsole(); break;
    case 1: ReceiveBytes(n); break;
    case 2: ReceiveWithCrc(n); break;
    case 3: {
        FirmwareDate date;
        ReadFirmwareDate(date);
        break;
    }
    case 4: {
        std::uint8_t block[kReceiveBufferSize];
        EepromRead(block, n, n % 64 + 1);
        break;
    }
    case 5: ReadTransmitterEeprom(); break;
    case 6: {
        LinkClose();
        Converse(link, bytes);
        const auto record = DetectAndReadLogger(nullptr);
        const std::string reply = LastIdentificationReply();
        NamesLoggerKind(reply);
        IrrigationFirmware(reply);
        if (!record) return 0;
        SettingsOf(*record);
        // What was read goes back with a changed time-out when the form's
        // checks pass: the logger must take every write of it.
        const ApplyOutcome outcome = ApplySettings(*record, {{"timeout", "60"}});
        constexpr SimKind kKinds[] = {SimKind::None, SimKind::Aloha, SimKind::Irr, SimKind::Aprs, SimKind::Aom};
        if (outcome.result == ApplyOutcome::Ok)
            if (const auto line = FirstRefusedWrite(kKinds[record->kind], outcome.plan))
                FuzzFinding("replies read as a record whose write \"" + *line + "\" the logger refuses");
        return 0;
    }
    default: {
        Converse(link, bytes);
        CliLogger logger;
        logger.record = std::make_unique<CAomSettings>(nullptr, "AOM     100", "60", true);
        ReadAomOutputs(logger, AomUnitSettings{});
        break;
    }
    }
    LinkClose();
    return 0;
}
