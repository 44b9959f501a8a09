#include "link/LinkTermios.h"

#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "settings/SettingsKeys.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// Without LINK_TIMEOUT_MS the read time-out is one second. An awake console
// answers a line feed within a few byte times and the logger's replies come
// without gaps, so one second is far beyond any pause inside a reply. A
// console that sleeps can take more than a second to answer its first line
// feed; that attempt then fails and the wake-up retries (five, or three for
// the quick wake-up) give it several seconds in all. A longer time-out would
// only slow down every silent logger, since each read of a missing reply
// costs one time-out.

namespace {

constexpr const char* kOrigin = "LinkOpen";

std::atomic<int> g_timeoutOverride{0};

struct Speed {
    int baud;
    speed_t code;  // B0 when the rate needs a custom setting
};
constexpr Speed kSpeeds[] = {
    {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600}, {14400, B0}, {19200, B19200},
};

const Speed* FindSpeed(int baud)
{
    for (const Speed& s : kSpeeds)
        if (s.baud == baud) return &s;
    return nullptr;
}

std::string PortName(int port)
{
    return "COM" + std::to_string(port);
}

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

int SetLinkTimeoutMs(int milliseconds)
{
    return g_timeoutOverride.exchange(milliseconds > 0 ? milliseconds : 0);
}

bool IsLinkSpeed(int baud)
{
    return FindSpeed(baud) != nullptr;
}

std::string LinkOpenFailure(const std::string& port, const std::string& device, int error)
{
    std::string text = port + " (" + device + ") could not be opened: ";
    switch (error) {
    case EACCES:
    case EPERM:
        text += std::strerror(EACCES);
        text += ". The user must be in the dialout group to use serial ports"
                " (sudo usermod -aG dialout $USER, then log in again).";
        break;
    case EBUSY:
    case EWOULDBLOCK:
        text += std::strerror(EBUSY);
        text += ". Another program holds the port; close it and try again.";
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        text += std::strerror(error);
        text += ". Check that the adapter is plugged in and that " + port +
                "_DEVICE in config.txt names it.";
        break;
    default:
        text += std::strerror(error);
        text += ".";
        break;
    }
    return text;
}

TermiosLink::~TermiosLink()
{
    Close();
}

bool TermiosLink::IsOpen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return fd_ >= 0;
}

int TermiosLink::Open(int port, int baud)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // The link holds one port at a time, so a new open replaces the old one.
    CloseLocked();
    return OpenLocked(port, baud);
}

int TermiosLink::Fail(PortFault fault, int port, const std::string& device, int baud, int error,
                      const std::string& logText)
{
    lastFault_ = PortOpenFault{fault, port, device, baud, error};
    Log().WriteError(kOrigin, logText);
    return -1;
}

PortOpenFault TermiosLink::LastOpenFault() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastFault_;
}

int TermiosLink::OpenLocked(int port, int baud)
{
    lastFault_ = {};
    if (port < 1 || port > 8) {
        return Fail(PortFault::NoSuchPort, port, {}, baud, 0,
                    "Serial port " + std::to_string(port) +
                        " is not one of COM1 to COM8; choose the port again.");
    }
    const std::string name = PortName(port);
    char keyName[32];
    std::snprintf(keyName, sizeof keyName, key::ComDeviceFormat, port);
    std::string device;
    Settings().GetValue(keyName, device);
    if (device.empty()) {
        return Fail(PortFault::NoDevice, port, {}, baud, 0,
                    name + " has no device: " + keyName + " is missing from config.txt.");
    }
    const Speed* speed = FindSpeed(baud);
    if (!speed) {
        return Fail(PortFault::BadSpeed, port, device, baud, 0,
                    name + " (" + device + ") could not be opened: " + std::to_string(baud) +
                        " baud is not one of 1200, 2400, 4800, 9600, 14400 and 19200.");
    }

    int timeout = Settings().GetInt(key::LinkTimeoutMs);
    timeoutMs_ = (timeout >= 1 && timeout <= kMaxLinkTimeoutMs) ? timeout : kDefaultLinkTimeoutMs;

    // Non-blocking from the start: a modem line that is not ready must not
    // stall the open, and every read and write below is bounded by poll().
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return Fail(PortFault::System, port, device, baud, error, LinkOpenFailure(name, device, error));
    }
    auto fail = [&](int error) {
        ::close(fd);
        return Fail(PortFault::System, port, device, baud, error, LinkOpenFailure(name, device, error));
    };

    // TIOCEXCL keeps out later opens by ordinary users but not by root, and
    // says nothing about a holder that came first without it; terminal
    // programs that lock the device with flock() are seen here.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return fail(EBUSY);

    struct termios tio {};
    if (::tcgetattr(fd, &tio) != 0) return fail(errno);
    ::ioctl(fd, TIOCEXCL);

    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    // 14400 is first set to its neighbour 19200, then to the exact rate.
    const speed_t code = speed->code != B0 ? speed->code : B19200;
    ::cfsetispeed(&tio, code);
    ::cfsetospeed(&tio, code);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);
    if (speed->code == B0) {
        if (int error = SetTtySpeed(fd, baud); error != 0) return fail(error);
    }

    fd_ = fd;
    baud_ = baud;
    return 0;
}

void TermiosLink::Close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
}

void TermiosLink::CloseLocked()
{
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

int TermiosLink::TimeoutMs() const
{
    int override = g_timeoutOverride.load();
    return override > 0 ? override : timeoutMs_;
}

int TermiosLink::GetByte()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ < 0) return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs());
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (ready == 0) return -1;
        if (p.revents & POLLIN) {
            unsigned char byte = 0;
            ssize_t n = ::read(fd_, &byte, 1);
            if (n == 1) return byte;
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            return -1;  // end of file or EIO: the device has gone
        }
        // A hang-up (adapter unplugged, far end closed) reads as a time-out,
        // at once rather than after waiting for it.
        return -1;
    }
}

std::string TermiosLink::TakePending()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::string bytes;
    while (fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, 0);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || !(p.revents & POLLIN)) break;
        char chunk[256];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool TermiosLink::WriteAll(const unsigned char* bytes, std::size_t length)
{
    if (fd_ < 0) return false;
    // The bytes' own time on the wire plus one time-out: a port whose output
    // never drains fails the send instead of blocking the caller for good.
    const long wireMs = static_cast<long>(length) * 10 * 1000 / (baud_ > 0 ? baud_ : 1200);
    const auto deadline = Clock::now() + std::chrono::milliseconds(wireMs + TimeoutMs());
    std::size_t sent = 0;
    while (sent < length) {
        ssize_t n = ::write(fd_, bytes + sent, length - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        pollfd p{fd_, POLLOUT, 0};
        int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
    }
    return true;
}

void TermiosLink::PutByte(int byte)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const unsigned char b = static_cast<unsigned char>(byte);
    WriteAll(&b, 1);
}

int TermiosLink::PutString(const char* text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!text) return -1;
    return WriteAll(reinterpret_cast<const unsigned char*>(text), std::strlen(text)) ? 0 : -1;
}

void TermiosLink::Flush()
{
    std::lock_guard<std::mutex> lock(mutex_);
    // TCIFLUSH empties the driver's receive buffer as well as the line
    // discipline's, so nothing received before this call comes back.
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}
