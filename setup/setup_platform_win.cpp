#include "setup/setup_platform_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

std::string LastErrorText() { return SystemErrorText(GetLastError()); }

}  // namespace

std::optional<std::string> WindowsSetupPlatform::WriteNewFile(const std::string& path,
                                                              std::string_view bytes) {
    HANDLE created = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return LastErrorText();
    UniqueHandle file(created);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        return LastErrorText();
    }
    if (!CloseHandle(file.release())) return LastErrorText();
    return std::nullopt;
}

bool WindowsSetupPlatform::NormalFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

void WindowsSetupPlatform::ProcessPendingEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the main loop, which ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WindowsSetupPlatform::Pause(std::chrono::milliseconds duration) {
    // Gives the processor away, waking early for window input.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(duration.count()), QS_ALLINPUT);
}

std::chrono::steady_clock::time_point WindowsSetupPlatform::Now() {
    return std::chrono::steady_clock::now();
}

std::string WindowsSetupPlatform::SystemDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) ThrowLastError("GetSystemDirectoryW");
    return Narrow(std::wstring_view(buffer, length));
}

std::optional<std::string> WindowsSetupPlatform::StartHidden(const std::string& program,
                                                             const std::string& commandLine,
                                                             const std::string& currentDirectory) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    std::wstring mutableCommandLine = Widen(commandLine);
    const std::wstring directory = Widen(currentDirectory);
    // CREATE_NO_WINDOW keeps cmd.exe from opening a console window at all.
    if (!CreateProcessW(Widen(program).c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, directory.empty() ? nullptr : directory.c_str(),
                        &startup, &process)) {
        return LastErrorText();
    }
    // Not waited for: the started program lives on by itself.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return std::nullopt;
}

std::optional<std::string> WindowsSetupPlatform::ChangeDirectory(const std::string& folder) {
    if (!SetCurrentDirectoryW(Widen(folder).c_str())) return LastErrorText();
    return std::nullopt;
}

}  // namespace selvane
