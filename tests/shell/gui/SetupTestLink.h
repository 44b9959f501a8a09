#pragma once
// The real serial port for the Setup command tests, with every open noted;
// the nth open can be refused.

#include "LinkTermios.h"

#include <string>
#include <vector>

class SetupTestLink : public LinkBackend {
public:
    SetupTestLink() : previous_(SetLinkBackend(this)) {}
    ~SetupTestLink() override
    {
        real_.Close();
        SetLinkBackend(previous_);
    }
    int Open(int port, int baud) override
    {
        const bool refused = static_cast<int>(opens.size()) + 1 == refuseOpen;
        const int r = refused ? -1 : real_.Open(port, baud);
        opens.push_back("COM" + std::to_string(port) + " " + std::to_string(baud) + (r == 0 ? "" : " failed"));
        return r;
    }
    void Close() override { real_.Close(); }
    void PutByte(int byte) override { real_.PutByte(byte); }
    int GetByte() override { return real_.GetByte(); }
    int PutString(const char* text) override { return real_.PutString(text); }
    void Flush() override { real_.Flush(); }
    bool IsOpen() const { return real_.IsOpen(); }

    std::vector<std::string> opens;  // "COM3 9600", "COM1 9600 failed"
    int refuseOpen = 0;              // 1-based; 0 refuses none

private:
    TermiosLink real_;
    LinkBackend* previous_;
};
