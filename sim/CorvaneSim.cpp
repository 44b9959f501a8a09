#include "CorvaneSim.h"

#include "SimText.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The in-memory transcript keeps its newest lines within this size.
constexpr std::size_t kMaxTranscript = 4 * 1024 * 1024;
// Bytes waiting for a client that does not read are capped the same way.
constexpr std::size_t kMaxPending = 1024 * 1024;
constexpr std::size_t kBabbleChunk = 256;
const std::string kBabble = "BABBLE. ";

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::string TimeStamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms));
    return text;
}

void CloseFd(int& fd)
{
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Tells when a client closes a simulator's device. One inotify instance
// serves every simulator of the process: closing one waits for a kernel
// grace period (some 20 ms), which each stop would otherwise pay.
class CloseWatcher {
public:
    static CloseWatcher& Instance()
    {
        static CloseWatcher* watcher = new CloseWatcher;  // lives to the end of the process
        return *watcher;
    }

    int Fd() const { return fd_; }

    // Watches the device; its closes clear the exclusive flag through slave.
    int Watch(const std::string& path, int slave)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (fd_ < 0) return -1;
        int wd = ::inotify_add_watch(fd_, path.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE);
        if (wd >= 0) slaves_[wd] = slave;
        return wd;
    }

    // Before the slave descriptor is closed.
    void Unwatch(int wd)
    {
        if (wd < 0) return;
        std::lock_guard<std::mutex> lock(mutex_);
        slaves_.erase(wd);
        ::inotify_rm_watch(fd_, wd);
    }

    // Takes the events that have come, for whichever simulator they are.
    void Drain()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) return;
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                auto it = slaves_.find(e->wd);
                if (it != slaves_.end()) {
                    if (e->mask & IN_IGNORED) slaves_.erase(it);
                    else ::ioctl(it->second, TIOCNXCL);
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }

private:
    CloseWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

    int fd_;
    std::mutex mutex_;
    std::map<int, int> slaves_;
};

SimDeviceConfig DeviceConfig(const SimOptions& o)
{
    SimDeviceConfig c;
    c.kind = o.kind;
    c.firmware = o.firmware;
    c.firmwareDate = o.firmwareDate;
    c.wakeDelayMs = o.wakeDelayMs;
    c.sleepAfterMs = o.sleepAfterMs;
    return c;
}

}  // namespace

CorvaneSim::CorvaneSim(SimOptions options)
    : options_(std::move(options)),
      device_(DeviceConfig(options_), options_.state ? *options_.state : SimState::Defaults(options_.kind))
{
    for (const auto& [fault, argument] : options_.faults) device_.SetFault(fault, argument);
}

CorvaneSim::~CorvaneSim()
{
    Stop();
}

std::string CorvaneSim::Start()
{
    if (Running()) return DevicePath();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!options_.stateFile.empty() && fs::exists(options_.stateFile)) {
            std::ifstream in(options_.stateFile, std::ios::binary);
            if (!in) throw std::runtime_error("cannot read the state file " + options_.stateFile);
            std::stringstream text;
            text << in.rdbuf();
            std::string error;
            if (!device_.State().ApplyText(text.str(), &error))
                warnings_.push_back("state file " + options_.stateFile + ", skipped " + error);
        }
    }
    if (!options_.transcriptFile.empty()) {
        transcriptFile_ = std::fopen(options_.transcriptFile.c_str(), "a");
        if (!transcriptFile_) throw SystemError("cannot open the transcript " + options_.transcriptFile);
    }
    try {
        wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeFd_ < 0) throw SystemError("eventfd");
        Pty pty = CreatePty();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pty_ = pty;
        }
        LinkTo(pty.path);
    } catch (...) {
        ClosePty(pty_);
        CloseFd(wakeFd_);
        if (transcriptFile_) std::fclose(transcriptFile_);
        transcriptFile_ = nullptr;
        throw;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = false;
        running_ = true;
        Note('-', std::string("corvane-sim ") + SimKindName(options_.kind) + " on " + pty_.path +
                      ", identification \"" + device_.Logger().Identification() + "\"");
    }
    thread_ = std::thread([this] { Run(); });
    return DevicePath();
}

void CorvaneSim::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_) return;
        stop_ = true;
    }
    Wake();
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!options_.linkPath.empty()) {
        std::error_code ec;
        if (fs::is_symlink(options_.linkPath, ec) && fs::read_symlink(options_.linkPath, ec) == pty_.path)
            fs::remove(options_.linkPath, ec);
    }
    ClosePty(pty_);
    CloseFd(wakeFd_);
    Note('-', "stopped");
    if (transcriptFile_) std::fclose(transcriptFile_);
    transcriptFile_ = nullptr;
    running_ = false;
    changed_.notify_all();
}

bool CorvaneSim::Running() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

CorvaneSim::Pty CorvaneSim::CreatePty()
{
    Pty pty;
    pty.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.master < 0) throw SystemError("posix_openpt");
    char name[128];
    if (::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0 ||
        ::ptsname_r(pty.master, name, sizeof name) != 0) {
        ClosePty(pty);
        throw SystemError("preparing the pty");
    }
    pty.path = name;
    ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    // Settings made through the master are the slave's: raw from the start,
    // so nothing is echoed or translated before a client sets its own.
    struct termios tio {};
    if (::tcgetattr(pty.master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B19200);
        ::cfsetospeed(&tio, B19200);
        ::tcsetattr(pty.master, TCSANOW, &tio);
    }
    // Holding the slave open keeps the pty alive between the client's opens
    // (the master reads EIO while no slave is open).
    pty.slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pty.slave < 0) {
        const std::string what = std::string("opening ") + name;
        ClosePty(pty);
        throw SystemError(what);
    }
    // The client opens the port exclusively (TIOCEXCL). On a real serial
    // port that ends with its last close; on a pty that stays open it would
    // lock out every later open by an ordinary user, so the flag is cleared
    // each time a client closes the device.
    pty.watch = CloseWatcher::Instance().Watch(name, pty.slave);
    return pty;
}

void CorvaneSim::ClosePty(Pty& pty)
{
    CloseWatcher::Instance().Unwatch(pty.watch);
    pty.watch = -1;
    CloseFd(pty.slave);
    CloseFd(pty.master);
    pty.path.clear();
}

void CorvaneSim::LinkTo(const std::string& slavePath)
{
    if (options_.linkPath.empty()) return;
    const fs::path link = options_.linkPath;
    std::error_code ec;
    auto status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status))
        throw std::runtime_error(options_.linkPath + " exists and is not a symbolic link; not replacing it");
    // A new link beside the old one, renamed over it, so the path never
    // points nowhere.
    const fs::path temp = link.string() + ".new" + std::to_string(::getpid());
    fs::remove(temp, ec);
    fs::create_symlink(slavePath, temp, ec);
    if (!ec) fs::rename(temp, link, ec);
    if (ec) {
        fs::remove(temp);
        throw std::runtime_error("cannot link " + options_.linkPath + " to " + slavePath + ": " + ec.message());
    }
}

std::string CorvaneSim::DevicePath() const
{
    if (!options_.linkPath.empty()) return options_.linkPath;
    return SlavePath();
}

std::string CorvaneSim::SlavePath() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return pty_.path;
}

std::vector<std::string> CorvaneSim::Warnings() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return warnings_;
}

void CorvaneSim::Wake()
{
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) {
        ssize_t n = ::write(wakeFd_, &one, sizeof one);
        (void)n;
    }
}

void CorvaneSim::Run()
{
    char buffer[4096];
    for (;;) {
        int timeout = -1;
        bool wantOut = false;
        int master;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) return;
            master = pty_.master;
            const auto now = Clock::now();
            if (!pending_.empty()) {
                if (pending_.front().due <= now) {
                    wantOut = true;
                } else {
                    auto wait = std::chrono::ceil<std::chrono::milliseconds>(pending_.front().due - now);
                    timeout = static_cast<int>(std::min<long long>(wait.count(), 60000));
                }
            } else if (babbling_) {
                wantOut = true;
            }
        }
        pollfd fds[3] = {{master, static_cast<short>(POLLIN | (wantOut ? POLLOUT : 0)), 0},
                         {CloseWatcher::Instance().Fd(), POLLIN, 0},
                         {wakeFd_, POLLIN, 0}};
        int ready = ::poll(fds, 3, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (fds[2].revents & POLLIN) {
            std::uint64_t count;
            ssize_t n = ::read(wakeFd_, &count, sizeof count);
            (void)n;
        }
        if (fds[1].revents & POLLIN) CloseWatcher::Instance().Drain();
        if (fds[0].revents & POLLIN) {
            ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0 && HandleInput(buffer, static_cast<std::size_t>(n))) HangUp();
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Not expected while the slave is held open; never spin on it.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (fds[0].revents & POLLOUT) WriteDue();
    }
}

bool CorvaneSim::HandleInput(const char* data, std::size_t length)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = Clock::now();
    Note('>', std::string(data, length));
    // A babbling device stops when it is sent anything.
    babbling_ = false;
    SimDevice::Reaction r = device_.Receive(std::string_view(data, length), now);
    if (r.stateChanged) SaveStateLocked();
    if (!r.hangup) {
        std::size_t queued = 0;
        for (const Pending& p : pending_) queued += p.bytes.size() - p.offset;
        for (SimDevice::Output& out : r.outputs) {
            auto due = now + std::chrono::milliseconds(out.delayMs);
            // The device sends one thing after the other, never overtaking.
            if (!pending_.empty() && pending_.back().due > due) due = pending_.back().due;
            if (queued + out.bytes.size() > kMaxPending) break;
            queued += out.bytes.size();
            pending_.push_back({std::move(out.bytes), 0, due});
        }
        if (r.babble) babbling_ = true;
    }
    changed_.notify_all();
    return r.hangup;
}

void CorvaneSim::WriteDue()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (pty_.master < 0) return;
    const auto now = Clock::now();
    while (!pending_.empty() && pending_.front().due <= now) {
        Pending& p = pending_.front();
        ssize_t n = ::write(pty_.master, p.bytes.data() + p.offset, p.bytes.size() - p.offset);
        if (n <= 0) return;  // full; poll says when there is room again
        Note('<', p.bytes.substr(p.offset, static_cast<std::size_t>(n)));
        p.offset += static_cast<std::size_t>(n);
        if (p.offset == p.bytes.size()) pending_.pop_front();
    }
    if (pending_.empty() && babbling_ && device_.HasFault(SimFault::Babble)) {
        std::string chunk;
        while (chunk.size() < kBabbleChunk) chunk += kBabble;
        ssize_t n = ::write(pty_.master, chunk.data(), chunk.size());
        if (n > 0) Note('<', chunk.substr(0, static_cast<std::size_t>(n)));
    } else if (!device_.HasFault(SimFault::Babble)) {
        babbling_ = false;
    }
    changed_.notify_all();
}

void CorvaneSim::HangUp()
{
    // The fresh pty takes the link path first, as the adapter plugged back
    // in; closing both ends of the old one then hangs up the client's
    // descriptor: its reads end and its writes fail, as with an adapter
    // pulled out. A client that sees the hang-up finds the new device.
    Pty fresh;
    std::string error;
    try {
        fresh = CreatePty();
        LinkTo(fresh.path);
    } catch (const std::exception& e) {
        ClosePty(fresh);
        error = e.what();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ++hangups_;
    pending_.clear();
    babbling_ = false;
    Pty old = pty_;
    pty_ = fresh;
    ClosePty(old);
    Note('-', "hung up " + old.path + (error.empty() ? ", now on " + pty_.path : ", no new device: " + error));
    changed_.notify_all();
}

void CorvaneSim::Note(char direction, const std::string& bytes)
{
    std::string line = TimeStamp() + " " + direction + " " +
                       (direction == '-' ? bytes : SimEscape(bytes));
    if (transcriptFile_) {
        std::fputs(line.c_str(), transcriptFile_);
        std::fputc('\n', transcriptFile_);
        std::fflush(transcriptFile_);
    }
    transcriptBytes_ += line.size() + 1;
    transcript_.push_back(std::move(line));
    while (transcriptBytes_ > kMaxTranscript && transcript_.size() > 1) {
        transcriptBytes_ -= transcript_.front().size() + 1;
        transcript_.pop_front();
    }
}

void CorvaneSim::SaveStateLocked()
{
    if (options_.stateFile.empty()) return;
    const std::string temp = options_.stateFile + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << device_.State().ToText();
        if (!out) {
            warnings_.push_back("cannot write the state file " + temp);
            return;
        }
    }
    std::error_code ec;
    fs::rename(temp, options_.stateFile, ec);
    if (ec) warnings_.push_back("cannot replace the state file " + options_.stateFile + ": " + ec.message());
}

// --- Faults and console ---
