#include "platform/dpi_win.h"

namespace selvane {
namespace {

template <typename Function>
Function User32Function(const char* name) {
    // user32 is always loaded; GetModuleHandle takes no new reference.
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int DpiForWindow(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (const auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow")) {
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT rect = {0, 0, width, height};
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (const auto adjust = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi")) {
        if (adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return rect;
    }
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

}  // namespace selvane
