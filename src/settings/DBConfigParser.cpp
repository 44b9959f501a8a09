#include "DBConfigParser.h"

#include "EventLog.h"
#include "UserMessages.h"
#include "NumericText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettingsFile = "config.txt";
constexpr const char* kRewriteFile = "configOld.txt";
constexpr const char* kBackupFile = "configBackup.txt";

constexpr const char* kLoadFailed =
    "Cannot open file Config.txt. Please make sure the file is in the same directory as "
    "CorvaneUtility.exe!";
constexpr const char* kWriteFailed =
    "Cannot open file Config.txt.  Please make sure the file is in the same directory as "
    "CorvaneUtility.exe";

// File errors are reported as exceptions inside the store and end in the
// event log with the operation's name.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void ThrowFileError(const char* what, const fs::path& path, int err)
{
    throw FileError(std::string(what) + " " + path.string() + ": " + std::strerror(err));
}

void LogFileError(const char* origin, const std::exception& e)
{
    std::string text = e.what();
    if (text.size() > 255) text.resize(255);
    Log().WriteError(origin, text);
}

struct FileCloser {
    void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// One line without its line end; a CR before the LF is dropped.
// Returns false at the end of the file.
bool ReadLine(std::FILE* f, std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(f)) != EOF) {
        any = true;
        if (c == '\n') break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

// The key of a settings line: the text before its first "=", or the whole
// line when it has none.
std::string KeyOf(const std::string& line)
{
    return line.substr(0, line.find('='));
}

bool IsCommentOrBlank(const std::string& line)
{
    return line.empty() || line[0] == '#';
}

}  // namespace

DBConfigParser::DBConfigParser()
{
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    Init(ec ? fs::path(".") : cwd);
}

DBConfigParser::DBConfigParser(const fs::path& workingDirectory)
{
    Init(workingDirectory);
}

void DBConfigParser::Init(const fs::path& workingDirectory)
{
    workingDirectory_ = workingDirectory;
    settingsPath_ = workingDirectory_ / kSettingsFile;
    rewritePath_ = workingDirectory_ / kRewriteFile;
    // A safety copy at every start; a failed copy is of no consequence.
    std::error_code ec;
    fs::copy_file(settingsPath_, workingDirectory_ / kBackupFile,
                  fs::copy_options::overwrite_existing, ec);
    Parse(settingsPath_);
}

DBConfigParser::~DBConfigParser()
{
    values_.clear();
}

void DBConfigParser::Parse(const fs::path& path)
{
    if (loaded_) return;
    values_.clear();
    rewritePath_ = workingDirectory_ / kRewriteFile;

    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ShowMessage(kLoadFailed);
        return;
    }
    try {
        ReadLines(file.get());
        loaded_ = true;
    } catch (const FileError& e) {
        LogFileError("DBConfigParser::Parse", e);
        loaded_ = false;
    }
}

void DBConfigParser::ReadLines(std::FILE* file)
{
    std::string line;
    while (ReadLine(file, line)) {
        if (IsCommentOrBlank(line)) continue;
        const auto eq = line.find('=');
        if (eq != std::string::npos && eq + 1 == line.size()) continue;  // empty value
        std::string k = eq == std::string::npos ? line : line.substr(0, eq);
        std::string v = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        // Over-long keys or values are left out of the table rather than cut:
        // a cut value (a directory, say) would be silently wrong. The line
        // itself stays in the file untouched.
        if (k.size() > kMaxKeyLength || v.size() > kMaxValueLength) continue;
        values_[k] = v;
    }
    if (std::ferror(file)) ThrowFileError("Cannot read", settingsPath_, errno ? errno : EIO);
}

void DBConfigParser::GetValue(const std::string& key, std::string& value)
{
    if (!loaded_) Parse(settingsPath_);
    auto it = values_.find(key);
    if (it != values_.end()) value = it->second;
}

std::string DBConfigParser::GetValue(const std::string& key)
{
    std::string value;
    GetValue(key, value);
    return value;
}

int DBConfigParser::GetInt(const std::string& key)
{
    return ReadInt(GetValue(key));
}

void DBConfigParser::SetValue(const std::string& key, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%i", value);
    SetValue(key, std::string(text));
}

void DBConfigParser::SetValue(const std::string& key, const std::string& value)
{
    const std::string newLine = key + "=" + value;

    FilePtr in(std::fopen(settingsPath_.c_str(), "rb"));
    if (!in) {
        ShowMessage(kWriteFailed);
        return;
    }

    try {
        // Refused rather than cut, for the same reason as at load; the
        // table and the file keep their old value.
        if (key.empty() || key.size() > kMaxKeyLength || value.size() > kMaxValueLength ||
            key.find_first_of("=\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos)
            throw FileError("Refused setting " + key.substr(0, kMaxKeyLength) +
                            ": key or value too long or holding a line break");

        FilePtr out(std::fopen(rewritePath_.c_str(), "wb"));
        if (!out) ThrowFileError("Cannot create", rewritePath_, errno);

        values_[key] = value;

        // Only lines whose own key is this key are replaced; a key that has
        // no line yet is appended, so the value survives a restart.
        std::string line;
        bool replaced = false;
        auto put = [&](const std::string& text) {
            if (std::fputs(text.c_str(), out.get()) == EOF || std::fputs("\r\n", out.get()) == EOF)
                ThrowFileError("Cannot write", rewritePath_, errno);
        };
        while (ReadLine(in.get(), line)) {
            if (!IsCommentOrBlank(line) && KeyOf(line) == key) {
                put(newLine);
                replaced = true;
            } else {
                put(line);
            }
        }
        if (std::ferror(in.get())) ThrowFileError("Cannot read", settingsPath_, errno ? errno : EIO);
        if (!replaced) put(newLine);

        // The new file is complete on disk before it takes the old one's
        // place in a single rename: config.txt is never missing or half
        // written, whatever fails.
        if (std::fflush(out.get()) != 0 || ::fsync(fileno(out.get())) != 0)
            ThrowFileError("Cannot write", rewritePath_, errno);
        std::FILE* raw = out.release();
        if (std::fclose(raw) != 0) ThrowFileError("Cannot write", rewritePath_, errno);
        in.reset();
        if (std::rename(rewritePath_.c_str(), settingsPath_.c_str()) != 0)
            ThrowFileError("Cannot replace", settingsPath_, errno);
        loaded_ = true;
    } catch (const FileError& e) {
        LogFileError("DBConfigParser::SetValue", e);
        std::error_code ec;
        fs::remove(rewritePath_, ec);
        loaded_ = true;
    }
}

namespace {
DBConfigParser* g_settings = nullptr;
}

DBConfigParser& Settings()
{
    if (!g_settings) {
        // Only reached when nothing installed a store (a tool or a test that
        // did not care); the program creates its own in main.
        static DBConfigParser fallback;
        g_settings = &fallback;
    }
    return *g_settings;
}

DBConfigParser* ProcessSettings()
{
    return g_settings;
}

DBConfigParser* SetProcessSettings(DBConfigParser* settings)
{
    DBConfigParser* previous = g_settings;
    g_settings = settings;
    return previous;
}
