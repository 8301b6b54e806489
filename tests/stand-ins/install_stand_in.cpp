// Stands in for the product's service\install.exe: appends to
// install-ran.txt beside itself the folder it was started in and how it was
// asked to show its window ("show=0" is hidden), one record a run. Then it
// waits while install-hold.txt stands beside it (a run in progress, for a
// test), and exits with the number in install-exit.txt beside it, if any.
#include <windows.h>

#include <string>

namespace {

std::wstring Beside(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::wstring line = std::wstring(current) + L"\r\nshow=" + std::to_wstring(show) + L"\r\n";

    HANDLE file = CreateFileW(Beside(L"install-ran.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);

    for (int waited = 0; waited < 1200 && GetFileAttributesW(Beside(L"install-hold.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
         ++waited) {
        Sleep(50);
    }

    char code[16] = {};
    HANDLE exitFile = CreateFileW(Beside(L"install-exit.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (exitFile == INVALID_HANDLE_VALUE) return 0;
    ReadFile(exitFile, code, sizeof code - 1, &written, nullptr);
    CloseHandle(exitFile);
    return atoi(code);
}
