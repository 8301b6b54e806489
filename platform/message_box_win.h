#pragma once

#include <windows.h>

#include <string_view>

namespace selvane {

// A modal box with OK only and the icon given (MB_ICONINFORMATION or
// MB_ICONERROR); returns when the user has closed it.
void ShowMessageBox(HWND owner, std::string_view caption, std::string_view text, UINT icon);

}  // namespace selvane
