#include "platform/window_class_win.h"

#include "platform/win_error.h"

namespace selvane {

CallResult RegisterWindowClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return std::nullopt;
    return LastErrorFailure("RegisterClassExW");
}

}  // namespace selvane
