#pragma once

#include <windows.h>

#include <cstdint>

namespace selvane {

enum SystemMenuItem : std::int16_t {
    kMenuClose = 0,
    kMenuSize = 1,
    kMenuMaximize = 2,
    kMenuRestore = 3,
    kMenuMinimize = 4,
    kMenuMove = 5,
    kMenuSeparator = 6,
};

// Deletes one command, or the separator, from a window's system menu; a
// code outside the table deletes nothing.
void RemoveSystemMenuItem(HWND window, std::int16_t code);

}  // namespace selvane
