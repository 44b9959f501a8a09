#pragma once
// A scripted serial port for unit tests of everything that talks to the
// console and the logger. While a FakeLink is alive every Link* call goes to
// it; its destructor puts the previous backend back.
//
//   FakeLink link;
//   link.Respond("\n", "\n\r");                   // the console answers every LF
//   link.Respond("MOD00\n", "IRR     202\n\r", 1); // the logger answers once
//   ... run the code under test ...
//   EXPECT_EQ(link.Written(), "\nMOD00\n");
//   EXPECT_EQ(link.Lines(), (std::vector<std::string>{"\n", "MOD00\n"}));
//
// Receiving: a queue of bytes. GetByte takes the next one; it returns -1 (a
// time-out) when the queue is empty or when the next entry is a silence
// queued with QueueSilence. Flush empties the queue: everything queued so far
// counts as received before the flush.
//
// Sending: PutByte and PutString append to Written() alike. The bytes are cut
// into lines after every line feed (a wake-up's lone LF is the line "\n").
// Each finished line is matched against the responders in the order they
// were added; the first one that matches and is not used up queues its reply
// behind whatever is queued already. When no fixed responder matches, the
// handler given to RespondWith (if any) is asked.
//
// Everything is guarded by one mutex, so worker-thread tests may use it.

#include "link/SerialLink.h"

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class FakeLink : public LinkBackend {
    // Runs f under the lock (defined first: the accessors below use it).
    template <class F>
    auto Locked(F f) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f();
    }

public:
    static constexpr int kAlways = -1;

    FakeLink() : previous_(SetLinkBackend(this)) {}
    ~FakeLink() override { SetLinkBackend(previous_); }
    FakeLink(const FakeLink&) = delete;
    FakeLink& operator=(const FakeLink&) = delete;

    // --- Script ---
    // Bytes that have arrived and wait to be read.
    void QueueBytes(const std::string& bytes) { Locked([&] { for (unsigned char c : bytes) queue_.push_back(c); }); }
    // When the written line `line` (line feed included) is finished, queue
    // `reply`; `times` uses, or for ever with kAlways. An empty reply models
    // a device that stays silent for that line.
    void Respond(const std::string& line, const std::string& reply, int times = kAlways)
    {
        Locked([&] { rules_.push_back({line, reply, times}); });
    }
    // Asked for finished lines that no Respond rule took; nullopt = no reply.
    // It runs under the fake's lock, so it must not call the fake itself.
    using Handler = std::function<std::optional<std::string>(const std::string& line)>;
    void RespondWith(Handler handler) { Locked([&] { handler_ = std::move(handler); }); }
    // Result of later PutString calls; a nonzero result sends nothing.
    void SetPutStringResult(int result) { Locked([&] { putStringResult_ = result; }); }

    // --- What happened ---
    std::string Written() const { return Locked([&] { return written_; }); }  // every byte sent
    std::vector<std::string> Lines() const { return Locked([&] { return lines_; }); }  // finished lines
    // One entry per call, in order: "Open 1 19200", "Close", "Flush",
    // "PutByte \n", "PutString MOD01 |\n", "PutString failed MOD01 |\n",
    // "Get 10", "Get -1". Control bytes show as \n, \r or \xHH.
    std::vector<std::string> Events() const { return Locked([&] { return events_; }); }
    int GetCount() const { return Locked([&] { return gets_; }); }  // reads, time-outs included
    std::size_t Pending() const { return Locked([&] { return queue_.size(); }); }  // bytes not yet read

    // Readable form of bytes, as used in Events().
    static std::string Escape(const std::string& bytes);

    // --- LinkBackend ---
    int Open(int port, int baud) override
    {
        Locked([&] { events_.push_back("Open " + std::to_string(port) + " " + std::to_string(baud)); });
        return 0;
    }
    void Close() override { Locked([&] { events_.push_back("Close"); }); }
    void PutByte(int byte) override;
    int GetByte() override;
    int PutString(const char* text) override;
    void Flush() override { Locked([&] { events_.push_back("Flush"); queue_.clear(); }); }
    // The bytes queued before the first silence.
    std::string TakePending() override
    {
        return Locked([&] {
            std::string bytes;
            for (; !queue_.empty() && queue_.front() >= 0; queue_.pop_front())
                bytes += static_cast<char>(queue_.front());
            return bytes;
        });
    }

private:
    struct Rule {
        std::string line;
        std::string reply;
        int left;
    };
    void SentLocked(const std::string& bytes);

    mutable std::mutex mutex_;
    std::deque<int> queue_;
    std::vector<Rule> rules_;
    Handler handler_;
    int putStringResult_ = 0;
    std::string written_;
    std::string partial_;
    std::vector<std::string> lines_;
    std::vector<std::string> events_;
    int gets_ = 0;
    LinkBackend* previous_;
};
