#pragma once

#include <windows.h>

#include <string>

namespace selvane {

// Writes orna_remote.ini in the folder named in the folder box and the ORNA
// section of win.ini. False, after telling the user why, when the box is
// empty, a text has no form in the ANSI code page, or a write fails; writes
// made before a failure stay as they are.
bool WriteSettings(HWND owner, const std::string& folderBoxText, const std::string& appFolder);

}  // namespace selvane
