#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/call_failure.h"

namespace selvane {

// Registers a window class of this program with the arrow cursor and the
// dialog background. A class registered before (a second window of the
// class) is no failure.
CallResult RegisterWindowClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure);

}  // namespace selvane
