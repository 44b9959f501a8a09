#pragma once
#include <string>

// Opens a text file of the current directory (as it is at the moment of the
// call) in the desktop's text viewer and returns at once. A missing file or
// viewer shows nothing.
void ShowTextFile(const std::string& fileName);
