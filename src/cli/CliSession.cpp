#include "cli/CliSession.h"

#include "loggers/FirmwareLink.h"
#include "link/LinkChoice.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"
#include "settings/WorkingDirectory.h"

#include <chrono>
#include <ctime>

MsgAnswer StreamMessages::Show(const UserMessage& message)
{
    err_ << message.text << "\n";
    if (!message.details.empty()) err_ << message.details << "\n";
    return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

LinkTranscript::LinkTranscript(const std::string& path) : file_(path, std::ios::app) {}

LinkTranscript::~LinkTranscript()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Finish();
}

void LinkTranscript::Add(bool sent, const char* bytes, std::size_t count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    TranscriptLines::Add(sent, bytes, count);
}

void LinkTranscript::Line(const std::string& line, Clock::time_point)
{
    file_ << line;
    file_.flush();
}

CliSession::CliSession(const std::string& dir, int port, int baud, const std::string& transcript,
                       std::ostream& err)
    : messages_(err)
{
    previousMessages_ = SetUserMessages(&messages_);
    std::error_code ec;
    previousDirectory_ = std::filesystem::current_path(ec);
    if (!dir.empty()) {
        std::filesystem::current_path(dir, ec);
        if (ec) {
            err << "Cannot use " << dir << " as the working directory: " << ec.message() << "\n";
            ready_ = false;
            return;
        }
        // Without config.txt the port is unknown; said once, here, rather
        // than by every settings read.
        if (!std::filesystem::exists("config.txt", ec)) {
            err << "Cannot use " << dir << " as the working directory: it holds no config.txt\n";
            ready_ = false;
            return;
        }
        ownStore_ = true;
    } else if (!ProcessSettings()) {
        // As the program: config.txt here, or the per-user folder.
        EnterWorkingDirectory();
        ownStore_ = true;
    }
    if (ownStore_) {
        store_ = std::make_unique<DBConfigParser>();
        previousStore_ = SetProcessSettings(store_.get());
    }
    // A port or speed given for this run only stays in memory: config.txt
    // keeps its own values even when the run is killed.
    SetLinkChoiceOverride(port, baud);
    if (!transcript.empty()) {
        transcript_ = std::make_unique<LinkTranscript>(transcript);
        if (!transcript_->IsOpen()) {
            err << "Cannot write the transcript " << transcript << "\n";
            ready_ = false;
            return;
        }
        LinkTranscript* t = transcript_.get();
        SetLinkTap([t](bool sent, const char* bytes, std::size_t count) { t->Add(sent, bytes, count); });
    }
    previousWarning_ = SetFirmwareWarningForm([&err](OwnerWindow) {
        err << kFirmwareWarningText << kFirmwareDownloadAddress << "\n";
    });
}

CliSession::~CliSession()
{
    LinkClose();
    SetFirmwareWarningForm(std::move(previousWarning_));
    if (transcript_) SetLinkTap({});
    transcript_.reset();
    SetLinkChoiceOverride(0, 0);
    if (ownStore_) {
        SetProcessSettings(previousStore_);
        store_.reset();
    }
    std::error_code ec;
    if (!previousDirectory_.empty()) std::filesystem::current_path(previousDirectory_, ec);
    SetUserMessages(previousMessages_);
}
