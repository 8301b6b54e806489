#pragma once

#include <windows.h>

namespace selvane {

// The DPI a window is drawn at: its monitor's under per-monitor awareness,
// the system's otherwise (and on Windows before 10, which lacks the call).
int DpiForWindow(HWND window);

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

// Twips to pixels at a DPI, rounded (1440 twips make an inch).
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

}  // namespace selvane
