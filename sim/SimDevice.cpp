#include "SimDevice.h"

#include "link/Crc16.h"
#include "SimText.h"

#include <cstdio>

namespace {

// A console command line longer than this is garbage: it is dropped whole.
constexpr std::size_t kMaxCommand = 128;
// The wire record cuts a line that never ends, so a flood cannot grow it
// without bound.
constexpr std::size_t kMaxWireLine = 1024;
constexpr std::size_t kMaxLines = 200000;

bool ParseHex(const std::string& text, unsigned& value)
{
    if (text.empty() || text.size() > 4) return false;
    value = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return true;
}

}  // namespace

SimDevice::SimDevice(const SimDeviceConfig& config, SimState state)
    : config_(config),
      logger_(config.kind, config.firmware < 0 ? SimDefaultFirmware(config.kind) : config.firmware),
      state_(std::move(state))
{
}

void SimDevice::SetFault(SimFault fault, int argument)
{
    faults_[fault] = argument;
    if (fault == SimFault::DropReplies) dropCount_ = 0;
    if (fault == SimFault::Hangup) hangupLeft_ = argument;
}

void SimDevice::ClearFault(SimFault fault)
{
    faults_.erase(fault);
}

void SimDevice::ClearFaults()
{
    faults_.clear();
}

bool SimDevice::Awake(Clock::time_point now) const
{
    if (!awake_ || now < readyAt_) return false;
    return config_.sleepAfterMs <= 0 || now - lastInput_ < std::chrono::milliseconds(config_.sleepAfterMs);
}

std::string SimDevice::DateLine() const
{
    std::string date = config_.firmwareDate.substr(0, 11);
    date.resize(11, ' ');
    return date + "\n\r";
}

std::vector<std::uint8_t> SimDevice::Eeprom() const
{
    // A fixed pattern, so a read at the wrong address shows.
    std::vector<std::uint8_t> image(kEepromSize);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    for (std::size_t i = 0; i < kSimTransmitterBytes; ++i) image[0x19 + i] = state_.transmitters[i];
    return image;
}

void SimDevice::RecordWire(char byte)
{
    wireLine_ += byte;
    if (byte == '\n' || wireLine_.size() >= kMaxWireLine) {
        if (lines_.size() >= kMaxLines) lines_.erase(lines_.begin(), lines_.begin() + kMaxLines / 2);
        lines_.push_back(std::move(wireLine_));
        wireLine_.clear();
    }
}

SimDevice::Reaction SimDevice::Receive(std::string_view bytes, Clock::time_point now)
{
    Reaction r;
    for (char b : bytes) {
        RecordWire(b);
        if (HasFault(SimFault::Hangup) && --hangupLeft_ <= 0) {
            faults_.erase(SimFault::Hangup);
            command_.clear();
            overflow_ = false;
            r.hangup = true;
            return r;
        }
        if (HasFault(SimFault::SilentConsole)) continue;

        if (awake_ && now >= readyAt_ && config_.sleepAfterMs > 0 &&
            now - lastInput_ >= std::chrono::milliseconds(config_.sleepAfterMs))
            awake_ = false;

        if (!awake_) {
            if (b == '\n') {
                awake_ = true;
                readyAt_ = now + std::chrono::milliseconds(config_.wakeDelayMs);
                lastInput_ = readyAt_;
                command_.clear();
                overflow_ = false;
                r.outputs.push_back({"\n\r", config_.wakeDelayMs});
            }
            continue;
        }
        if (now < readyAt_) continue;  // still waking up: the byte is lost
        lastInput_ = now;

        if (b != '\n') {
            if (command_.size() < kMaxCommand) command_ += b;
            else overflow_ = true;
            continue;
        }
        std::string line;
        line.swap(command_);
        if (overflow_) {
            overflow_ = false;
            continue;
        }
        Execute(line, r);
    }
    return r;
}

void SimDevice::Execute(const std::string& line, Reaction& r)
{
    if (line.empty()) {
        r.outputs.push_back({"\n\r", 0});
        return;
    }
    if (line == "VER") {
        r.outputs.push_back({"\n\rOK\n\r" + DateLine(), 0});
        return;
    }
    if (line.rfind("EEBRD", 0) == 0) {
        Eebrd(line, r);
        return;
    }
    if (line.rfind("MOD", 0) != 0) return;
    if (config_.kind == SimKind::None || HasFault(SimFault::NoLogger)) return;

    SimModuleReply reply = logger_.Handle(line, state_, HasFault(SimFault::ErrorSets));
    if (reply.changed) r.stateChanged = true;
    ModuleReply(reply, r);
}

void SimDevice::Eebrd(const std::string& line, Reaction& r) const
{
    const std::string nak(1, static_cast<char>(kNak));
    if (HasFault(SimFault::NakEebrd)) {
        r.outputs.push_back({nak, 0});
        return;
    }
    auto fields = SimSplit(line, ' ');
    unsigned address = 0, count = 0;
    if (fields.size() != 3 || fields[0] != "EEBRD" || !ParseHex(fields[1], address) ||
        !ParseHex(fields[2], count) || count == 0 || address + count > kEepromSize) {
        r.outputs.push_back({nak, 0});
        return;
    }
    const auto image = Eeprom();
    std::string block(1, static_cast<char>(kAck));
    block.append(reinterpret_cast<const char*>(image.data()) + address, count);
    std::uint16_t crc = Crc16Xmodem(image.data() + address, count);
    if (HasFault(SimFault::BadCrc)) crc ^= 0x00FF;
    block += static_cast<char>(crc >> 8);
    block += static_cast<char>(crc & 0xFF);
    r.outputs.push_back({block, 0});
}

void SimDevice::ModuleReply(const SimModuleReply& reply, Reaction& r)
{
    if (auto drop = faults_.find(SimFault::DropReplies); drop != faults_.end()) {
        ++dropCount_;
        if (drop->second <= 1 || dropCount_ % drop->second == 0) return;
    }
    if (HasFault(SimFault::Babble)) {
        r.babble = true;
        return;
    }
    std::string text = reply.text;
    if (HasFault(SimFault::Garble)) {
        for (char& c : text) {
            c = static_cast<char>(c ^ 0x20);
            // Never a line end or the byte that reads as a time-out.
            if (c == '\n' || c == '\r' || static_cast<unsigned char>(c) == 0xFF) c = '?';
        }
    }
    if (HasFault(SimFault::FfInReply)) text.insert(text.empty() ? 0 : 1, 1, '\xFF');
    text += HasFault(SimFault::LfWithoutCr) ? "\n" : "\n\r";
    int delay = 0;
    if (auto slow = faults_.find(SimFault::SlowReplies); slow != faults_.end()) delay = slow->second;
    r.outputs.push_back({text, delay});
}
