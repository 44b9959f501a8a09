#include "link/SerialDevices.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Names that start with prefix and end in a number, that number first.
std::vector<std::pair<long, std::string>> Numbered(const fs::path& dev, const std::string& prefix)
{
    std::vector<std::pair<long, std::string>> found;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dev, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        found.emplace_back(std::stol(digits), name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<std::string> ListSerialDevices(const fs::path& root)
{
    std::vector<std::string> devices;
    std::vector<std::string> byId;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(root / "dev/serial/by-id", ec))
        byId.push_back("/dev/serial/by-id/" + e.path().filename().string());
    std::sort(byId.begin(), byId.end());
    devices = std::move(byId);
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"})
        for (const auto& [number, name] : Numbered(root / "dev", prefix)) devices.push_back("/dev/" + name);
    return devices;
}
