#pragma once
// What one run of corvane-cli sets up around its command and puts back
// afterwards: the working directory and its settings store, a port or speed
// given on the command line, the transcript of the link, and messages
// written to the terminal instead of message boxes.
#include "settings/DBConfigParser.h"
#include "link/LinkLog.h"
#include "detect/LoggerDetection.h"
#include "link/SerialLink.h"
#include "base/UserMessages.h"
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

// Messages as text on a stream; a question is answered Cancel, since a
// terminal command asks its questions through options (--yes).
class StreamMessages : public UserMessages {
public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}
    MsgAnswer Show(const UserMessage& message) override;

private:
    std::ostream& err_;
};

// Every byte both ways as text lines: "12:00:01.250 > MOD01 60\n", bytes
// outside printable ASCII as \n, \r or \xHH; a line ends where the
// direction changes or a line ending passes.
class LinkTranscript : private TranscriptLines {
public:
    explicit LinkTranscript(const std::string& path);
    ~LinkTranscript() override;
    bool IsOpen() const { return file_.is_open(); }
    void Add(bool sent, const char* bytes, std::size_t count);

private:
    void Line(const std::string& line, Clock::time_point when) override;
    std::mutex mutex_;
    std::ofstream file_;
};

class CliSession {
public:
    CliSession(const std::string& dir, int port, int baud, const std::string& transcript,
               std::ostream& err);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;
    // False when the working directory or the transcript could not be used
    // (said on err).
    bool Ready() const { return ready_; }

private:
    bool ready_ = true;
    std::filesystem::path previousDirectory_;
    std::unique_ptr<DBConfigParser> store_;
    DBConfigParser* previousStore_ = nullptr;
    bool ownStore_ = false;
    StreamMessages messages_;
    UserMessages* previousMessages_ = nullptr;
    std::unique_ptr<LinkTranscript> transcript_;
    FirmwareWarningForm previousWarning_;
};
