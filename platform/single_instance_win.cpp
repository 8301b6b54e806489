#include "platform/single_instance_win.h"

#include "platform/wide_text_win.h"
#include "platform/win_error.h"
#include "platform/window_class_win.h"

namespace selvane {

Checked<SingleInstance> SingleInstance::Claim(const std::string& mutexName) {
    Checked<SingleInstance> claimed;
    const auto mutex = CHECK_HANDLE(CreateMutexW, nullptr, FALSE, Widen(mutexName).c_str());
    claimed.failure = mutex.failure;
    claimed.value.anotherIsRunning_ = GetLastError() == ERROR_ALREADY_EXISTS;
    claimed.value.mutex_.reset(mutex.value);
    return claimed;
}

Checked<ApplicationWindow> ApplicationWindow::Create(HINSTANCE instance, const std::string& className,
                                                     const std::string& title) {
    Checked<ApplicationWindow> created;
    const std::wstring wideClass = Widen(className);
    created.failure = RegisterWindowClass(instance, wideClass, DefWindowProcW);
    if (created.failure) return created;
    const auto window = CHECK_HANDLE(CreateWindowExW, 0, wideClass.c_str(), Widen(title).c_str(), WS_POPUP, 0, 0, 0,
                                     0, nullptr, nullptr, instance, nullptr);
    created.failure = window.failure;
    created.value.window_.reset(window.value);
    return created;
}

PreviousInstance ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application,
                                          const std::string& className, const std::string& title) {
    if (!instance.AnotherIsRunning()) return PreviousInstance::None;
    // Renamed first, so that the search below cannot find this instance.
    SetWindowTextW(application.get(), Widen(title + " ").c_str());
    HWND other = FindWindowW(Widen(className).c_str(), Widen(title).c_str());
    // An unattended run keeps no window at all.
    if (!other) return PreviousInstance::WithoutWindow;
    HWND popup = GetLastActivePopup(other);
    // Never show the other instance's hidden window itself: while it has no
    // setup window it is its own last active popup.
    if (popup && popup != other) {
        SetForegroundWindow(popup);
        ShowWindow(popup, SW_RESTORE);
    }
    return PreviousInstance::BroughtForward;
}

}  // namespace selvane
