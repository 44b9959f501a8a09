#pragma once
// Where the firmware upgrade warning sends the user, and what the link label
// says when the address cannot be opened.

#include "base/DesktopOpen.h"

#include <string>

// The firmware download page, in this one place.
inline constexpr const char* kFirmwareDownloadAddress = "https://corvane.example/firmware";

// What the firmware upgrade warning says before the address.
inline constexpr const char* kFirmwareWarningText =
    "A newer version of firmware is required for the Irrigation data logger to work with "
    "this software.  Please download the latest firmware through the following website "
    "before running the application: ";

// Result codes of opening an address: above 32 is success, the others name
// a reason.
inline constexpr int kOpenSucceeded = 42;
inline constexpr int kOpenNoAssociation = 31;
inline bool OpenCodeSucceeded(int code) { return code > 32; }

// The desktop only says whether it opened the address. Every failure (no
// browser, no desktop at all) is the case of a missing handler, 31.
int OpenResultCode(const OpenResult& result);

// Opens the address in the desktop's browser; the result as a code.
int OpenAddress(const std::string& address);

// The reason shown under "Unable to open hyperlink:" for a failed code.
std::string ReasonForCode(int code);
