#pragma once
#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

// The bodies of the Setup commands, run by the view's handlers.
void SetupCommPort(QWidget* owner);
void ConfigureLogger(QWidget* owner);
// Reads the whole logger and saves it as a backup file the user names.
void BackUpLogger(QWidget* owner);
// Reads a backup file and the logger and shows what differs; with restore
// OK writes only that.
void ReviewBackup(QWidget* owner, bool restore);

// A file to save (name offered) or to open, in the folder of the last file
// the user chose (else the working directory), which is remembered.
std::optional<std::filesystem::path> ChooseFile(QWidget* owner, const QString& title, bool save,
                                                const QString& name = {});
