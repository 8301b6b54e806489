#pragma once

#include <windows.h>
#include <shlobj.h>

namespace selvane {

// The Windows functions this program uses where they exist and does without
// where they do not (Windows 7 lacks them, or has them only with an update):
// looked up by name, never imported, so that the program starts on every
// Windows it supports. Each is null where this system lacks it.
struct SystemFunctions {
    decltype(&::SetDefaultDllDirectories) SetDefaultDllDirectories = nullptr;  // kernel32, Windows 8 (7 with KB2533623)
    decltype(&::GetDpiForWindow) GetDpiForWindow = nullptr;                    // user32, Windows 10 1607
    decltype(&::AdjustWindowRectExForDpi) AdjustWindowRectExForDpi = nullptr;  // user32, Windows 10 1607
    decltype(&::SHGetPathFromIDListEx) SHGetPathFromIDListEx = nullptr;        // shell32, once it is loaded
};

SystemFunctions LookUpSystemFunctions();

}  // namespace selvane
