// Plays the administrator for the headless demo: starts the setup tool,
// types KEVA's folder into the folder box, presses 完了, and saves a picture
// of the filled-in window and of the completion message (24-bit BMP files,
// taken from the screen once it holds still). Prints what the message said
// and ends with the program's exit code (99 when a step did not happen).
// Usage: demo-driver.exe PROGRAM KEVA_FOLDER PICTURE_FOLDER
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

constexpr DWORD kPatienceMs = 60000;

struct Search {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK Consider(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search->processId && IsWindowVisible(window) && wcscmp(name, search->className) == 0) {
        search->found = window;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, HANDLE process) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
        Search search{processId, className, nullptr};
        EnumWindows(Consider, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

std::vector<unsigned char> Capture(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The window as the screen shows it once two looks a tenth of a second apart agree.
bool SavePicture(HWND window, const std::wstring& path) {
    RECT rect = {};
    std::vector<unsigned char> last;
    std::vector<unsigned char> now;
    for (int look = 0; look < 50; ++look) {
        Sleep(100);
        GetWindowRect(window, &rect);
        now = Capture(rect);
        if (now == last) break;
        last = now;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(now.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    fwrite(now.data(), 1, now.size(), out);
    return fclose(out) == 0;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

void Say(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
    std::fflush(stdout);
}

int Fail(const wchar_t* what) {
    Say(std::wstring(L"demo-driver: ") + what);
    return 99;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as the shell reading them expects
    if (argc != 4) return Fail(L"usage: demo-driver.exe PROGRAM KEVA_FOLDER PICTURE_FOLDER");
    const std::wstring program = argv[1];
    const std::wstring pictures = argv[3];
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started)) {
        return Fail(L"the setup tool did not start");
    }
    HWND window = FindWindowOf(started.dwProcessId, L"Selvane.frmInit", started.hProcess);
    if (!window) return Fail(L"no setup window appeared");
    Say(L"Setup window: " + TextOf(window));

    HWND box = GetDlgItem(window, IDC_TXT_COMMON);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    Say(L"Typed into the folder box: " + TextOf(box));
    if (!SavePicture(window, pictures + L"\\demo-window.bmp")) return Fail(L"could not save the window's picture");

    HWND complete = GetDlgItem(window, IDC_CMD_COMPLETE);
    Say(L"Pressing " + TextOf(complete));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED), reinterpret_cast<LPARAM>(complete));
    HWND message = FindWindowOf(started.dwProcessId, L"#32770", started.hProcess);
    if (!message) return Fail(L"no message appeared after Complete");
    if (!SavePicture(message, pictures + L"\\demo-message.bmp")) return Fail(L"could not save the message's picture");
    for (HWND child = GetWindow(message, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (wcscmp(name, L"Static") == 0 && !TextOf(child).empty()) Say(L"The program says: " + TextOf(child));
    }
    PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (WaitForSingleObject(started.hProcess, kPatienceMs) != WAIT_OBJECT_0) return Fail(L"the program did not end");
    DWORD code = 99;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}
