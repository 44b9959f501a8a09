#pragma once
// A plain raw client of the simulator's pty for the simulator's own tests:
// writes bytes, reads with a bound, and notices a hang-up.

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

// Generous: these bound a failure, a passing test never waits for them.
inline constexpr std::chrono::milliseconds kRawPortBound{5000};

class RawPort {
public:
    explicit RawPort(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        struct termios tio {};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~RawPort()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    bool IsOpen() const { return fd_ >= 0; }

    bool Write(const std::string& bytes)
    {
        return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Up to count bytes; returns early when the far end hangs up or the
    // bound passes.
    std::string Read(std::size_t count, std::chrono::milliseconds bound = kRawPortBound)
    {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            if (p.revents & POLLIN) {
                char buffer[4096];
                ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
                if (n <= 0) {
                    hungUp_ = true;
                    break;
                }
                got.append(buffer, static_cast<std::size_t>(n));
            } else {
                hungUp_ = true;
                break;
            }
        }
        return got;
    }

    // Reads until the text ends with `tail`.
    std::string ReadUntil(const std::string& tail, std::size_t most = 1 << 20)
    {
        std::string got;
        while (got.size() < most && (got.size() < tail.size() || got.compare(got.size() - tail.size(), tail.size(), tail) != 0)) {
            std::string byte = Read(1);
            if (byte.empty()) break;
            got += byte;
        }
        return got;
    }

    bool HungUp() const { return hungUp_; }

private:
    int fd_ = -1;
    bool hungUp_ = false;
};

