#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/system_menu.h"

namespace selvane {

// Deletes one command, or the separator, from a window's system menu.
void RemoveSystemMenuItem(HWND window, std::int16_t code);

}  // namespace selvane
