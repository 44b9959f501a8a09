#pragma once
// Why the console's port could not be opened, in plain words for the
// message box: the device, the reason and what the user can do about it.

#include "link/SerialLink.h"

#include <filesystem>
#include <string>

// The details text for a failed open. userName goes into the command that
// grants access to serial ports; holder names the program that holds a busy
// port ("minicom (process 1234)"), empty when unknown.
std::string PortFailureDetails(const PortOpenFault& fault, const std::string& userName,
                               const std::string& holder);

// The first other process with device open, as "name (process N)", found
// through procRoot/<pid>/fd; empty when none is found or /proc says nothing.
std::string PortHolder(const std::string& device,
                       const std::filesystem::path& procRoot = "/proc");

// The login name of the user running the program.
std::string CurrentUserName();

// Details of the last LinkOpen when it failed, empty otherwise.
std::string LastPortFailureDetails();
