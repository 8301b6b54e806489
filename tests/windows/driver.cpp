#include "driver.h"

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "app/program_names.h"
#include "platform/wide_text_win.h"

namespace selvane::testing {

namespace fs = std::filesystem;

std::chrono::milliseconds Patience(std::chrono::milliseconds normal) {
    wchar_t factor[16] = {};
    if (!GetEnvironmentVariableW(L"SELVANE_PATIENCE", factor, 16)) return normal;
    return normal * std::max(1, _wtoi(factor));
}

std::wstring WindowsPath(const std::string& path) {
    std::wstring result = Widen(path);
    if (result.starts_with(L"/")) result = L"Z:" + result;
    for (auto& c : result) {
        if (c == L'/') c = L'\\';
    }
    return result;
}

std::wstring ProgramUnderTest() {
    wchar_t buffer[MAX_PATH * 4] = {};
    GetEnvironmentVariableW(L"SELVANE_PROGRAM", buffer, static_cast<DWORD>(std::size(buffer)));
    return WindowsPath(Narrow(buffer));
}

std::wstring SampleDatabase(const std::wstring& name) {
    return WindowsPath(SELVANE_TEST_DATA) + L"\\" + name;
}

ProductFolder::ProductFolder(int number, const std::wstring& sample)
    : ProductFolder(L"C:\\selvane-tests\\p" + std::to_wstring(number), sample) {}

namespace {

// Removes a folder left by an earlier run too, read-only files included.
void RemoveFolder(const fs::path& folder) {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(folder, ignored);
}

}  // namespace

ProductFolder::ProductFolder(const std::wstring& path, const std::wstring& sample) : path_(path) {
    // A server of its own for each test: no record of an earlier test's run.
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Widen(kRunRecordKey).c_str(), KEY_WOW64_32KEY, 0);
    RemoveFolder(path_);
    fs::create_directories(path_);
    fs::copy_file(ProgramUnderTest(), program());
    if (!sample.empty()) {
        fs::copy_file(SampleDatabase(sample), File(L"ORNA.mdb"));
        // A read-only source stays read-only, and Windows then refuses to delete it.
        fs::permissions(File(L"ORNA.mdb"), fs::perms::owner_write, fs::perm_options::add);
    }
}

ProductFolder::~ProductFolder() { RemoveFolder(path_); }

RunningProgram::RunningProgram(const std::wstring& program, const std::wstring& currentDirectory,
                               const std::wstring& arguments, const std::wstring& outputFile) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        output = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                        output != INVALID_HANDLE_VALUE, 0, nullptr,
                                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                                        &info_);
    const DWORD error = GetLastError();
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (!started) throw std::runtime_error("CreateProcessW failed: " + std::to_string(error));
}

RunningProgram::~RunningProgram() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool RunningProgram::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
}

namespace {

// The owner and DACL as SDDL; empty where they cannot be read.
std::wstring OwnerAndDacl(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr, &descriptor)) {
        return {};
    }
    wchar_t* text = nullptr;
    std::wstring sddl;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, what, &text, nullptr)) {
        sddl = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sddl;
}

}  // namespace

bool ChangeOnUnixSide(const std::wstring& command, const std::wstring& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return false;
    const std::wstring unixPath = Widen(name);
    HeapFree(GetProcessHeap(), 0, name);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring before = OwnerAndDacl(path);
    RunningProgram start(std::wstring(system) + L"\\start.exe", L"", L"/wait /unix /bin/" + command + L" " + unixPath);
    if (start.WaitForExit() != 0u) return false;
    return WaitFor([&] { return OwnerAndDacl(path) != before; }, Patience(20s));
}

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
    struct Search {
        DWORD processId;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{processId, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && (!s->visibleOnly || IsWindowVisible(window))) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindWindowOf(DWORD processId, const std::wstring& className, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    // A process that has ended shows nothing more: no need to wait on.
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    WaitFor(
        [&] {
            for (HWND window : TopLevelWindows(processId)) {
                if (ClassOf(window) == className) found = window;
            }
            return found != nullptr || (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
        },
        timeout);
    if (process) CloseHandle(process);
    return found;
}

HWND FindSetupWindow(DWORD processId, std::chrono::milliseconds timeout) {
    return FindWindowOf(processId, L"Selvane.frmInit", timeout);
}

HWND FindMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    return FindWindowOf(processId, L"#32770", timeout);
}

HWND MinimisedSetupWindow(DWORD processId) {
    HWND window = FindSetupWindow(processId);
    if (!window) return nullptr;
    ShowWindow(window, SW_MINIMIZE);
    return WaitFor([&] { return IsIconic(window) != FALSE; }, Patience(5s)) ? window : nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

RECT RectIn(HWND window, HWND reference) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

namespace {

MessageBoxContent ReadMessageBoxOnce(HWND box) {
    MessageBoxContent content;
    content.caption = TextOf(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring className = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (className == L"Button") {
            content.buttons.push_back(TextOf(child));
        } else if (className == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            content.informationIcon = ShowsStockIcon(child, IDI_INFORMATION);
            content.errorIcon = ShowsStockIcon(child, IDI_ERROR);
        } else if (className == L"Static" && !TextOf(child).empty()) {
            content.text = TextOf(child);
        }
    }
    return content;
}

}  // namespace

MessageBoxContent ReadMessageBox(HWND box) {
    MessageBoxContent content;
    WaitFor(
        [&] {
            content = ReadMessageBoxOnce(box);
            return !content.caption.empty() && !content.buttons.empty() &&
                   (content.informationIcon || content.errorIcon);
        },
        Patience(3s));
    return content;
}

void CloseMessageBox(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

namespace {

// Pixels of a square area, as drawn on the screen or by DrawIconEx.
std::vector<COLORREF> Capture(HDC source, int x, int y, int size) {
    std::vector<COLORREF> pixels;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            pixels.push_back(GetPixel(source, x + column, y + row));
        }
    }
    return pixels;
}

std::vector<COLORREF> RenderIcon(HICON icon, int size, COLORREF background) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, size, size};
    FillRect(memory, &all, brush);
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    auto pixels = Capture(memory, 0, 0, size);
    SelectObject(memory, old);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

bool ShowsStockIcon(HWND iconControl, LPCWSTR stockIcon) {
    const int size = GetSystemMetrics(SM_CXICON);
    RECT rect = {};
    GetWindowRect(iconControl, &rect);
    HDC screen = GetDC(nullptr);
    const auto shown = Capture(screen, rect.left, rect.top, size);
    ReleaseDC(nullptr, screen);

    HICON icon = LoadIconW(nullptr, stockIcon);
    const auto onBlack = RenderIcon(icon, size, RGB(0, 0, 0));
    const auto onWhite = RenderIcon(icon, size, RGB(255, 255, 255));
    int opaque = 0;
    int matching = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (onBlack[i] != onWhite[i]) continue;  // transparent in the icon
        ++opaque;
        if (shown[i] == onBlack[i]) ++matching;
    }
    return opaque > 0 && matching * 10 >= opaque * 9;
}

}  // namespace selvane::testing
