#include "platform/dpi_win.h"

#include "platform/system_functions_win.h"

namespace selvane {

int DpiForWindow(HWND window) {
    if (const auto getDpi = LookUpSystemFunctions().GetDpiForWindow) {
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT rect = {0, 0, width, height};
    if (const auto adjust = LookUpSystemFunctions().AdjustWindowRectExForDpi) {
        if (adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return rect;
    }
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

}  // namespace selvane
