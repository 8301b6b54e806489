#include "platform/window_helpers_win.h"

#include "app/app_title.h"
#include "platform/system_menu.h"
#include "platform/text_encoding.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

constexpr wchar_t kApplicationWindowClass[] = L"ThunderRT6Main";
constexpr wchar_t kInstanceMutexName[] = L"Local\\Selvane.InitialSetup";

}  // namespace

void RemoveSystemMenuItem(HWND window, std::int16_t code) {
    const auto command = SystemMenuCommandFor(code);
    if (!command) return;
    HMENU menu = GetSystemMenu(window, FALSE);
    DeleteMenu(menu, *command, MF_BYCOMMAND);
    DrawMenuBar(window);
}

SingleInstance::SingleInstance()
    : mutex_(WIN32_CHECK(CreateMutexW(nullptr, FALSE, kInstanceMutexName))),
      anotherIsRunning_(GetLastError() == ERROR_ALREADY_EXISTS) {}

ApplicationWindow::ApplicationWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kApplicationWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW(ThunderRT6Main)");
    }
    window_.reset(WIN32_CHECK(CreateWindowExW(0, kApplicationWindowClass, Widen(kAppTitle).c_str(),
                                              WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                              nullptr)));
}

void ApplicationWindow::SetTitle(const std::string& title) {
    SetWindowTextW(window_.get(), Widen(title).c_str());
}

void ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application) {
    if (!instance.AnotherIsRunning()) return;
    const std::string title = kAppTitle;
    // Renamed first, so that the search below cannot find this instance.
    application.SetTitle(title + " ");
    HWND other = FindWindowA("ThunderRT6Main", title.c_str());
    HWND popup = GetLastActivePopup(other);
    // Never show the other instance's hidden window itself.
    if (popup && popup != other) {
        SetForegroundWindow(popup);
        ShowWindow(popup, SW_RESTORE);
    }
    ExitProcess(0);
}

bool WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
    const auto ansiFile = Utf8ToAnsi(file);
    const auto ansiSection = Utf8ToAnsi(section);
    const auto ansiKey = Utf8ToAnsi(key);
    const auto ansiValue = Utf8ToAnsi(value);
    if (!ansiFile || !ansiSection || !ansiKey || !ansiValue) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    return WritePrivateProfileStringA(ansiSection->c_str(), ansiKey->c_str(), ansiValue->c_str(),
                                      ansiFile->c_str()) != FALSE;
}

}  // namespace selvane
