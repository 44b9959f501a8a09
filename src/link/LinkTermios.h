#pragma once
// The serial port behind the link operations: the device named by
// COM<n>_DEVICE, opened exclusively, raw 8N1 without flow control, with a
// bounded read and write so an unplugged adapter never hangs the program.

#include "link/SerialLink.h"

#include <mutex>
#include <string>

class TermiosLink : public LinkBackend {
public:
    TermiosLink() = default;
    ~TermiosLink() override;
    TermiosLink(const TermiosLink&) = delete;
    TermiosLink& operator=(const TermiosLink&) = delete;

    int Open(int port, int baud) override;
    void Close() override;
    void PutByte(int byte) override;
    int GetByte() override;
    int PutString(const char* text) override;
    void Flush() override;
    std::string TakePending() override;
    PortOpenFault LastOpenFault() const override;

    bool IsOpen() const;

private:
    int OpenLocked(int port, int baud);
    void CloseLocked();
    int Fail(PortFault fault, int port, const std::string& device, int baud, int error,
             const std::string& logText);
    int TimeoutMs() const;
    bool WriteAll(const unsigned char* bytes, std::size_t length);

    mutable std::mutex mutex_;
    int fd_ = -1;
    int baud_ = 0;
    int timeoutMs_ = kDefaultLinkTimeoutMs;
    PortOpenFault lastFault_;
};

// The speeds the console offers: 1200, 2400, 4800, 9600, 14400, 19200.
bool IsLinkSpeed(int baud);
// Sets the device's line speed in bits per second; 0 or the errno value.
int SetTtySpeed(int fd, int baud);
// The line speed the device reports in bits per second, -1 on failure.
int ReadTtySpeed(int fd);

// The one event-log entry text of a failed open, without the origin.
std::string LinkOpenFailure(const std::string& port, const std::string& device,
                            int error);
