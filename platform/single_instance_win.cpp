#include "platform/single_instance_win.h"

#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

constexpr wchar_t kApplicationWindowClass[] = L"ThunderRT6Main";
constexpr wchar_t kInstanceMutexName[] = L"Local\\Selvane.InitialSetup";

}  // namespace

SingleInstance::SingleInstance()
    : mutex_(WIN32_CHECK(CreateMutexW(nullptr, FALSE, kInstanceMutexName))),
      anotherIsRunning_(GetLastError() == ERROR_ALREADY_EXISTS) {}

ApplicationWindow::ApplicationWindow(HINSTANCE instance, const std::string& title) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kApplicationWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW(ThunderRT6Main)");
    }
    window_.reset(WIN32_CHECK(CreateWindowExW(0, kApplicationWindowClass, Widen(title).c_str(), WS_POPUP, 0, 0,
                                              0, 0, nullptr, nullptr, instance, nullptr)));
}

void ApplicationWindow::SetTitle(const std::string& title) { SetWindowTextW(window_.get(), Widen(title).c_str()); }

bool ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application,
                              const std::string& title) {
    if (!instance.AnotherIsRunning()) return false;
    // Renamed first, so that the search below cannot find this instance.
    application.SetTitle(title + " ");
    HWND other = FindWindowA("ThunderRT6Main", title.c_str());
    HWND popup = GetLastActivePopup(other);
    // Never show the other instance's hidden window itself: while it has no
    // setup window it is its own last active popup.
    if (popup && popup != other) {
        SetForegroundWindow(popup);
        ShowWindow(popup, SW_RESTORE);
    }
    return true;
}

}  // namespace selvane
