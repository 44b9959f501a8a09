#pragma once
// The settings store: config.txt in the working directory, loaded into a
// table at start and rewritten line by line on every change, so comments,
// blank lines and the order of lines survive.

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

// Not locked. The UI thread and the link worker both use the store, never
// at once: a sequence reads it (the port's device and time-out) while RunLink
// keeps the UI thread in a loop that only paints and runs the sequence's own
// calls, and the worker's jobs that run beside a live window (the alarm
// download, the switch tests' pollers and presses) do not touch it. Code that
// would use it from such a job must add a lock first.
class DBConfigParser {
public:
    // Longer keys and values are refused (see the .cpp).
    static constexpr std::size_t kMaxKeyLength = 79;
    static constexpr std::size_t kMaxValueLength = 511;

    // Uses the process's current directory.
    DBConfigParser();
    // Uses the given directory as the working directory.
    explicit DBConfigParser(const std::filesystem::path& workingDirectory);
    ~DBConfigParser();

    DBConfigParser(const DBConfigParser&) = delete;
    DBConfigParser& operator=(const DBConfigParser&) = delete;

    void Parse(const std::filesystem::path& path);

    // Leaves value exactly as passed in when the key is absent.
    void GetValue(const std::string& key, std::string& value);
    // Convenience: the value, or empty text when absent.
    std::string GetValue(const std::string& key);
    // The value read as a decimal number, 0 when absent or not a number.
    int GetInt(const std::string& key);

    void SetValue(const std::string& key, const std::string& value);
    void SetValue(const std::string& key, int value);

    bool IsLoaded() const { return loaded_; }
    const std::filesystem::path& WorkingDirectory() const { return workingDirectory_; }
    const std::filesystem::path& SettingsPath() const { return settingsPath_; }

private:
    void Init(const std::filesystem::path& workingDirectory);
    void ReadLines(std::FILE* file);

    std::map<std::string, std::string> values_;
    std::filesystem::path workingDirectory_;
    std::filesystem::path settingsPath_;
    std::filesystem::path rewritePath_;
    bool loaded_ = false;
};

// Process-wide instance, created at start-up before the application object.
// Settings() makes a store on the current directory when none is installed
// (a tool or a test that did not care); ProcessSettings() never makes one.
DBConfigParser& Settings();
DBConfigParser* ProcessSettings();
DBConfigParser* SetProcessSettings(DBConfigParser* settings);
