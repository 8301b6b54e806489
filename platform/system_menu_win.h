#pragma once

#include <windows.h>

#include <cstdint>

namespace selvane {

// Item codes of the system menu: 0 Close, 1 Size, 2 Maximize, 3 Restore,
// 4 Minimize, 5 Move, 6 the separator.
enum SystemMenuItem : std::int16_t { kMenuClose = 0, kMenuSeparator = 6 };

// Deletes one command, or the separator, from a window's system menu; a
// code outside the table deletes nothing, without fetching the menu.
void RemoveSystemMenuItem(HWND window, std::int16_t code);

}  // namespace selvane
