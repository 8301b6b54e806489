#pragma once

#include <windows.h>

#include <string_view>

namespace selvane {

// Modal box with the information icon and OK only; returns when the user has
// closed it.
void ShowInformation(HWND owner, std::string_view caption, std::string_view text);

// Tells the user of a failure, with the error icon.
void ShowFailure(HWND owner, std::string_view caption, std::string_view text);

}  // namespace selvane
