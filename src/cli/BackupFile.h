#pragma once
// The backup file: a logger's whole configuration as commented text, one
// "name = value" a line, an alarm output module's outputs in "[output N]"
// sections with their conditions as "row N = parameter | check type |
// value 1 | value 2 | minutes". The same text is what show prints.
#include "cli/CliLogger.h"
#include <istream>
#include <optional>
#include <string>

struct BackupOutput {
    bool present = false;
    NamedValues options;
    std::vector<ConditionRow> rows;  // eight
};

struct BackupContent {
    std::string kind;  // the kind word
    NamedValues settings;
    std::optional<AomUnitSettings> units;  // the units of the condition values
    std::array<BackupOutput, kAomOutputs> outputs;
};

// The file's text. header lines go out as comments at the top.
std::string FormatBackup(const BackupContent& content, const std::vector<std::string>& header);

// The first setting (its name; "output N name", "output N row R" for an
// output's) whose text the file cannot give back unchanged: a line feed
// inside it, blanks, tabs or carriage returns around it, "|" in a row field. Empty when every one can
// be written. Such text comes only from a malformed reply of the logger.
std::string UnwritableSetting(const BackupContent& content);

// Reads the text; on a malformed line error holds "line N: reason" (or the
// reason alone when it is the whole file's) and nothing is returned. A UTF-8
// byte-order mark before the first line is passed over.
std::optional<BackupContent> ParseBackup(std::istream& in, std::string& error);

// The units line's value: the four config.txt codes (temperature,
// barometer, wind, rain).
std::string FormatUnits(const AomUnitSettings& units);
std::optional<AomUnitSettings> ParseUnits(const std::string& text);
