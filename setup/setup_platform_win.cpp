#include "setup/setup_platform_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/profile_win.h"
#include "platform/text_encoding.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

std::string LastErrorText() { return SystemErrorText(GetLastError()); }

constexpr DWORD kBlockingAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// GetWindowsDirectoryW and GetSystemDirectoryW answer alike.
SystemResult<std::string> Directory(decltype(&GetWindowsDirectoryW) get) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = get(buffer, MAX_PATH);
    if (length == 0) return {{}, LastErrorText()};
    if (length >= MAX_PATH) return {{}, SystemErrorText(ERROR_FILENAME_EXCED_RANGE)};
    return {Narrow(std::wstring_view(buffer, length)), std::nullopt};
}

}  // namespace

SystemResult<std::string> WindowsSetupPlatform::WindowsDirectory() { return Directory(GetWindowsDirectoryW); }

SystemResult<std::string> WindowsSetupPlatform::SystemDirectory() { return Directory(GetSystemDirectoryW); }

bool WindowsSetupPlatform::FitsCodePage(const std::string& text) { return Utf8ToAnsi(text).has_value(); }

PathProbe WindowsSetupPlatform::Probe(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {PathKind::Missing, LastErrorText()};
    return {(attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File, {}};
}

bool WindowsSetupPlatform::NormalFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

SystemError WindowsSetupPlatform::WriteProfileEntry(const std::string& file, const std::string& section,
                                                    const std::string& key, const std::string& value) {
    if (!selvane::WriteProfileString(file, section, key, value)) return LastErrorText();
    return std::nullopt;
}

SystemError WindowsSetupPlatform::MakePlainFile(const std::string& path) {
    const std::wstring widePath = Widen(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & kBlockingAttributes)) {
        return std::nullopt;  // nothing to clear; writing it will say what is wrong
    }
    const DWORD plain = attributes & ~kBlockingAttributes;
    if (!SetFileAttributesW(widePath.c_str(), plain ? plain : FILE_ATTRIBUTE_NORMAL)) return LastErrorText();
    return std::nullopt;
}

SystemError WindowsSetupPlatform::WriteNewFile(const std::string& path, std::string_view bytes) {
    auto file = CHECK_FILE(CreateFileW, Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!file) return file.failure->reason;
    DWORD written = 0;
    if (!WriteFile(file.value.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        return LastErrorText();
    }
    if (!CloseHandle(file.value.release())) return LastErrorText();
    return std::nullopt;
}

SystemResult<unsigned long> WindowsSetupPlatform::StartHidden(const std::string& program,
                                                              const std::string& commandLine,
                                                              const std::string& currentDirectory, bool willWait) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    std::wstring mutableCommandLine = Widen(commandLine);
    const std::wstring directory = Widen(currentDirectory);
    // CREATE_NO_WINDOW keeps cmd.exe from opening a console window at all.
    if (!CreateProcessW(Widen(program).c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        return {0, LastErrorText()};
    }
    UniqueHandle thread(process.hThread);
    UniqueHandle handle(process.hProcess);
    if (willWait) awaited_.emplace_back(process.dwProcessId, std::move(handle));
    return {process.dwProcessId, std::nullopt};
}

SystemResult<unsigned long> WindowsSetupPlatform::WaitForExit(unsigned long processId) {
    const auto found = std::find_if(awaited_.begin(), awaited_.end(),
                                    [&](const auto& started) { return started.first == processId; });
    if (found == awaited_.end()) return {0, SystemErrorText(ERROR_INVALID_HANDLE)};
    const UniqueHandle process = std::move(found->second);
    awaited_.erase(found);
    // Window input goes on being handled while the program runs.
    const HANDLE handles[] = {process.get()};
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_FAILED) return {0, LastErrorText()};
        ProcessPendingEvents();
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.get(), &exitCode)) return {0, LastErrorText()};
    return {exitCode, std::nullopt};
}

SystemError WindowsSetupPlatform::ChangeDirectory(const std::string& folder) {
    if (!SetCurrentDirectoryW(Widen(folder).c_str())) return LastErrorText();
    return std::nullopt;
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
    // The system's own monotonic count: the library's steady_clock would
    // bring its exception tables along.
    return std::chrono::steady_clock::time_point(std::chrono::milliseconds(GetTickCount64()));
}

}  // namespace selvane
