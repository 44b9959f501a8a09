#pragma once
// The six operations of the console maker's serial library, as the rest of
// the program uses them. The real backend is termios on the device named by
// COM<n>_DEVICE; tests install a scripted backend instead.

// 0 when the port is open; any other value is failure.
int LinkOpen(int port, int baud);
// Harmless when nothing is open.
void LinkClose();
void LinkPutByte(int byte);
// The next received byte 0-255, or -1 when none arrives within the time-out.
int LinkGetByte();
// 0 when every character (without the NUL) was sent; any other value is failure.
int LinkPutString(const char* text);
// Bytes received before the call are no longer returned.
void LinkFlush();

#include <cstddef>
#include <functional>
#include <string>

// Why the last LinkOpen failed, in the terms the user can act on.
enum class PortFault { None, NoSuchPort, NoDevice, BadSpeed, System };
struct PortOpenFault {
    PortFault fault = PortFault::None;
    int port = 0;
    std::string device;  // as COM<n>_DEVICE names it
    int baud = 0;
    int error = 0;  // errno of the open or of the set-up that followed it (System)
};

class LinkBackend {
public:
    virtual ~LinkBackend() = default;
    virtual int Open(int port, int baud) = 0;
    virtual void Close() = 0;
    virtual void PutByte(int byte) = 0;
    virtual int GetByte() = 0;
    virtual int PutString(const char* text) = 0;
    virtual void Flush() = 0;
    // The bytes already received and not yet read, taken without waiting
    // (what a Flush would throw away). A backend that cannot tell gives none.
    virtual std::string TakePending() { return {}; }
    // The last Open's failure; None after a successful open or when the
    // backend keeps no record.
    virtual PortOpenFault LastOpenFault() const { return {}; }
};

PortOpenFault LinkLastOpenFault();

// Routes the six operations to backend; nullptr restores the termios one.
// Returns the previous backend (nullptr for the termios one).
LinkBackend* SetLinkBackend(LinkBackend* backend);

// Read time-out of LinkGetByte when LINK_TIMEOUT_MS is absent, not a number
// or outside 1..kMaxLinkTimeoutMs (see LinkTermios.cpp for the choice).
inline constexpr int kDefaultLinkTimeoutMs = 1000;
inline constexpr int kMaxLinkTimeoutMs = 60000;

// Overrides LINK_TIMEOUT_MS for the open port and later opens (tests, tools);
// 0 goes back to the settings key. Returns the previous override.
int SetLinkTimeoutMs(int milliseconds);

// Sees every byte both ways (a transcript of the exchange): sent is true for
// bytes going to the console. An empty tap removes it; returns the previous.
using LinkTap = std::function<void(bool sent, const char* bytes, std::size_t count)>;
LinkTap SetLinkTap(LinkTap tap);
