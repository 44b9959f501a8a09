// config.txt as any bytes: loaded, every key read (the program's keys and
// those the file names), one key rewritten. After the rewrite a fresh load
// gives every other key its old value and the rewritten key its new one.
#include "aom/AomUnits.h"
#include "settings/DBConfigParser.h"
#include "FuzzSupport.h"
#include "settings/SettingsKeys.h"

#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr const char* kKeys[] = {
    key::SerialPort, key::BaudRate, key::IrrigationResidential, key::IrrigationAmount,
    key::IrrigationRainUnit, key::AomTempUnit, key::AomBarUnit, key::AomWindUnit, key::AomRainUnit,
    key::AomStationConfig, key::WorkingDirectory, key::LinkTimeoutMs, "COM1_DEVICE"};

std::map<std::string, std::string> ReadAll(DBConfigParser& store, const std::string& text)
{
    std::map<std::string, std::string> values;
    for (const char* k : kKeys) values[k] = store.GetValue(k);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const std::string k = line.substr(0, line.find('=')); !k.empty()) values[k] = store.GetValue(k);
    return values;
}

// Strict UTF-8: shortest forms, no surrogate halves, nothing past U+10FFFF.
bool Utf16RoundTrips(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        const int n = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (n < 0 || (n > 0 && i + n >= s.size())) return false;
        char32_t c = n == 0 ? b : b & (0x3F >> n);
        for (int k = 1; k <= n; ++k) {
            const unsigned char x = static_cast<unsigned char>(s[i + k]);
            if ((x & 0xC0) != 0x80) return false;
            c = (c << 6) | (x & 0x3F);
        }
        static constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kShortest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzProcess& process = FuzzSetUp();
    FuzzInput input(data, size);
    const std::string change = input.Line();
    const std::string text = input.Rest();
    const auto eq = change.find('=');
    const std::string changedKey = change.substr(0, eq);
    const std::string newValue = eq == std::string::npos ? std::string() : change.substr(eq + 1);
    const std::filesystem::path dir = process.dir.Path();
    process.dir.WriteFile("config.txt", text);

    std::map<std::string, std::string> before;
    {
        DBConfigParser store(dir);
        DBConfigParser* previous = SetProcessSettings(&store);
        before = ReadAll(store, text);
        ReadAomUnitSettings();
        store.SetValue(changedKey, newValue);
        SetProcessSettings(previous);
    }
    DBConfigParser again(dir);
    for (auto& [k, value] : before) {
        if (k == changedKey) continue;
        if (again.GetValue(k) != value) FuzzFinding("rewriting " + changedKey + " changed " + k);
    }
    const bool storable = !changedKey.empty() && changedKey.size() <= DBConfigParser::kMaxKeyLength &&
                          !newValue.empty() && newValue.size() <= DBConfigParser::kMaxValueLength &&
                          changedKey.find_first_of("=\r\n#") == std::string::npos &&
                          changedKey.find('\0') == std::string::npos &&
                          // no key of the program starts like a byte-order mark, which
                          // a new file's first line would then be read as
                          changedKey.compare(0, 2, "\xFF\xFE") != 0 && changedKey.compare(0, 2, "\xFE\xFF") != 0 &&
                          changedKey.compare(0, 3, "\xEF\xBB\xBF") != 0 &&
                          newValue.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
                          newValue.back() != '\r' &&
                          // a UTF-16 file refuses bytes that are no UTF-8
                          ((text.compare(0, 2, "\xFF\xFE") != 0 && text.compare(0, 2, "\xFE\xFF") != 0) ||
                           Utf16RoundTrips(changedKey + "=" + newValue));
    if (storable && again.GetValue(changedKey) != newValue)
        FuzzFinding("the rewritten key " + changedKey + " does not read back");
    return 0;
}
