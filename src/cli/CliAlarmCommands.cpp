// corvane-cli's alarm output module commands: the alarm log's download and
// clear, and the relays.
#include "cli/CliCommands.h"

#include "aom/AlarmDownload.h"
#include "aom/AomCommands.h"
#include "aom/AomSettings.h"
#include "aom/OutputTest.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "cli/CorvaneCli.h"
#include "link/SerialLink.h"
#include "detect/LoggerDetection.h"

#include <atomic>
#include <csignal>
#include <filesystem>

namespace {

// Ctrl-C (or a TERM) during a download stops it between two records: the
// entries read so far stay in their file and the log is not cleared.
class StopOnSignals {
public:
    StopOnSignals()
    {
        Flag().store(false);
        struct sigaction action {};
        action.sa_handler = &StopOnSignals::Handle;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopOnSignals()
    {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;
    static std::atomic<bool>& Flag()
    {
        static std::atomic<bool> stop{false};
        return stop;
    }

private:
    static void Handle(int) { Flag().store(true); }
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

int CliCommand::AlarmLog()
{
    LoadAomUnitSettings();
    const auto logger = Read(true, AomUnits());
    if (!logger) return kCliLinkFailed;
    if (!RequireAom(*logger)) return kCliLinkFailed;
    ConditionRowSummaries rows;
    for (int n = 0; n < kAomOutputs; ++n)
        for (const ConditionRowSummary& row : logger->outputs[static_cast<std::size_t>(n)].rows)
            rows.emplace(n, row);
    const StopOnSignals signals;
    const std::atomic<bool>& stop = StopOnSignals::Flag();
    if (!Open()) return kCliLinkFailed;
    const int code = DownloadAndClear(rows, stop);
    LinkClose();
    return code;
}

int CliCommand::DownloadAndClear(const ConditionRowSummaries& rows, const std::atomic<bool>& stop)
{
    const std::optional<int> count = GetAlarmRecordCount();
    if (!count) {
        // Not "no records": an unread count must never let --clear go ahead.
        err_ << kAlarmCountUnreadable << "\n";
        return kCliLinkFailed;
    }
    if (*count == 0) {
        err_ << kNoAlarmRecords << "\n";
    } else {
        AlarmDownloadHooks hooks;
        hooks.progress = [&](int done) {
            err_ << "\r" << DownloadingText(done, *count) << std::flush;
        };
        // The file is written where asked, so the day's file (perhaps the
        // desktop's earlier download) stays as it is.
        const AlarmDownloadResult result =
            DownloadAlarmLog(*count, rows, stop, LocalNow(), hooks, CallerPath(o_.output));
        err_ << "\n";
        switch (result.end) {
        case DownloadEnd::Complete: break;
        case DownloadEnd::FileFailed:
            err_ << AlarmFileFailedText(result) << "\n";
            return kCliPartWrite;
        case DownloadEnd::ReadFailed:
            err_ << AlarmDownloadStoppedText(result) << "\n";
            return kCliLinkFailed;
        case DownloadEnd::Cancelled:
            err_ << AlarmDownloadStoppedText(result) << "\n";
            return kCliInterrupted;
        }
        err_ << kDownloadComplete << "\n";
        out_ << result.path << "\n";
    }
    if (!o_.clear) return kCliDone;
    if (stop.load()) {
        err_ << "Interrupted: the alarm log was not cleared.\n";
        return kCliInterrupted;
    }
    // An event logged while the records were read is in no file yet.
    const std::optional<int> now = GetAlarmRecordCount();
    if (now != count) {
        err_ << (now ? FormatText("The module now holds %d alarm records, not %d; ", *now, *count)
                     : std::string(kAlarmCountUnreadable) + "\n")
             << "the alarm log was not cleared.\n";
        return kCliLinkFailed;
    }
    const bool cleared = ClearAlarmLog();
    err_ << (cleared ? kLogsCleared : kLogsClearFailed) << "\n";
    return cleared ? kCliDone : kCliLinkFailed;
}

static const char* PositionWord(int state)
{
    return state == 1 ? "closed" : state == 0 ? "open" : "unknown";
}

int CliCommand::Relays()
{
    const auto logger = Read(false, AomUnits());
    if (!logger || !RequireAom(*logger)) return kCliLinkFailed;
    if (!Open()) return kCliLinkFailed;
    const std::optional<RelayPositions> positions = ReadRelayPositions();
    LinkClose();
    if (!positions) {
        err_ << kNoLoggerFound << "\n";
        return kCliLinkFailed;
    }
    CliJson json = CliJson::object();
    for (int n = 0; n < kRelayCount; ++n)
        json[FormatText("output %d", n + 1)] = PositionWord((*positions)[static_cast<std::size_t>(n)]);
    if (o_.json) {
        out_ << JsonText(json) << "\n";
    } else {
        for (const auto& [name, value] : json.items())
            out_ << name << ": " << value.get<std::string>() << "\n";
    }
    return kCliDone;
}

int CliCommand::Relay()
{
    const auto logger = Read(false, AomUnits());
    if (!logger || !RequireAom(*logger)) return kCliLinkFailed;
    if (!Open()) return kCliLinkFailed;
    const int state = o_.position == "closed" ? 1 : 0;
    SetOutputState(o_.relay - 1, state);
    const int now = ReadOutputState(o_.relay - 1);
    LinkClose();
    // The module settles after the last write before the port is used again.
    PauseMs(kAfterOutputTestMs);
    if (now != state) {
        err_ << FormatText("Output %d did not change to %s.", o_.relay, o_.position.c_str()) << "\n";
        return kCliLinkFailed;
    }
    out_ << FormatText("output %d: %s", o_.relay, PositionWord(now)) << "\n";
    return kCliDone;
}
