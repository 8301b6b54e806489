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

std::wstring FullPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    return length == 0 || length >= std::size(full) ? wide : std::wstring(full, length);
}

// Which file stands at a path, whatever name leads there (a short name, a link).
std::optional<BY_HANDLE_FILE_INFORMATION> Identity(const std::wstring& path) {
    // Reading attributes conflicts with no other opening of the file.
    const UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    return information;
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

bool WindowsSetupPlatform::IsProgram(const std::string& path) {
    DWORD type = 0;
    return GetBinaryTypeW(Widen(path).c_str(), &type) != FALSE;
}

bool WindowsSetupPlatform::SamePath(const std::string& first, const std::string& second) {
    const std::wstring a = FullPath(first);
    const std::wstring b = FullPath(second);
    if (CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
    const auto one = Identity(a);
    const auto other = Identity(b);
    return one && other && one->dwVolumeSerialNumber == other->dwVolumeSerialNumber &&
           one->nFileIndexHigh == other->nFileIndexHigh && one->nFileIndexLow == other->nFileIndexLow;
}

SystemResult<ProfileEntryState> WindowsSetupPlatform::ReadProfileEntry(const std::string& file,
                                                                       const std::string& section,
                                                                       const std::string& key) {
    auto read = ReadProfileString(file, section, key);
    if (!read) return {{}, read.failure->reason};
    return {{read.value.fileExists, read.value.sectionExists, std::move(read.value.value)}, std::nullopt};
}

SystemError WindowsSetupPlatform::DeleteProfileEntry(const std::string& file, const std::string& section,
                                                     const std::string& key) {
    if (!DeleteProfileString(file, section, key)) return LastErrorText();
    return std::nullopt;
}

SystemError WindowsSetupPlatform::RemoveFile(const std::string& path) {
    if (DeleteFileW(Widen(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return std::nullopt;
    return LastErrorText();
}

SystemResult<std::optional<SavedFile>> WindowsSetupPlatform::SaveFile(const std::string& path) {
    const std::wstring widePath = Widen(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return {};
        return {{}, LastErrorText()};
    }
    auto file = CHECK_FILE(CreateFileW, widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!file) return {{}, file.failure->reason};
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.value.get(), &size)) return {{}, LastErrorText()};
    SavedFile saved{std::string(static_cast<std::size_t>(size.QuadPart), '\0'), attributes};
    DWORD read = 0;
    if (!saved.bytes.empty() &&
        !ReadFile(file.value.get(), saved.bytes.data(), static_cast<DWORD>(saved.bytes.size()), &read, nullptr)) {
        return {{}, LastErrorText()};
    }
    saved.bytes.resize(read);
    return {std::move(saved), std::nullopt};
}

SystemError WindowsSetupPlatform::RestoreFile(const std::string& path, const SavedFile& saved) {
    if (auto error = WriteNewFile(path, saved.bytes)) return error;
    if (!SetFileAttributesW(Widen(path).c_str(), saved.attributes)) return LastErrorText();
    return std::nullopt;
}

SystemError WindowsSetupPlatform::WriteProfileEntry(const std::string& file, const std::string& section,
                                                    const std::string& key, const std::string& value) {
    if (!selvane::WriteProfileString(file, section, key, value)) return LastErrorText();
    return std::nullopt;
}

SystemResult<bool> WindowsSetupPlatform::MakePlainFile(const std::string& path) {
    const std::wstring widePath = Widen(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & kBlockingAttributes)) {
        return {false, std::nullopt};  // nothing to clear; writing it will say what is wrong
    }
    const DWORD plain = attributes & ~kBlockingAttributes;
    if (!SetFileAttributesW(widePath.c_str(), plain ? plain : FILE_ATTRIBUTE_NORMAL)) return {false, LastErrorText()};
    return {true, std::nullopt};
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
