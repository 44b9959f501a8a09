#pragma once
// The simulated APRS or irrigation logger the form tests talk to, through
// the program's own serial code: COM1 of the test's settings points at it and
// the port is open for the test's lifetime, as the configure command holds it
// open around a form.

#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <chrono>
#include <string>
#include <vector>

class IrrTestDevice {
public:
    IrrTestDevice(TempWorkDir& dir, SimKind kind) : sim_(kind)
    {
        sim_.UseAsPort(dir);
        opened_ = LinkOpen(1, 19200) == 0;
    }
    ~IrrTestDevice() { LinkClose(); }

    bool Opened() const { return opened_; }
    SimFixture& Sim() { return sim_; }

    // Every line the logger received, a wake-up line feed as "\n".
    std::vector<std::string> Lines() const { return sim_.Lines(); }
    void ClearLines() { sim_.ClearLines(); }

    // The logger answers every set with an error instead of "OK".
    void RefuseSets() { sim_.SetFault(SimFault::ErrorSets); }
    // The console wakes but the logger never answers.
    void Silence() { sim_.SetFault(SimFault::NoLogger); }
    // The circuit's state as the logger reports it ("0" open, "1" closed,
    // anything else a fault).
    void SetCircuit(int circuit, int state) { sim_.SetSwitch(circuit, state); }

    // Circuit sets ("MOD11 c s") received so far.
    static int CountSets(const std::vector<std::string>& lines)
    {
        int n = 0;
        for (const auto& line : lines)
            if (line.rfind("MOD11 ", 0) == 0 && line.find('|') == std::string::npos) ++n;
        return n;
    }
    int SetsSeen() const { return CountSets(Lines()); }
    // Until n circuit sets have arrived (false after a generous minute).
    bool WaitForSets(int n)
    {
        return sim_->WaitForReceived(
            [n](const std::vector<std::string>& lines) { return CountSets(lines) >= n; },
            std::chrono::seconds(60));
    }

private:
    SimFixture sim_;
    bool opened_ = false;
};
