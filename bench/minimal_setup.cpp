// The yardstick for a setup run: one button that writes one file, starts one
// hidden process (the program named on the command line) and reports. With
// --same-work first, it also makes the run's twelve profile writes and starts
// the program twice, as the setup run does.
#include <windows.h>

#include <string>

namespace {

std::wstring g_program;  // a yardstick, not the product: globals are fine
bool g_sameWork = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 1001) {
        for (int write = 0; g_sameWork && write < 12; ++write) {
            const char key[] = {static_cast<char>('A' + write), 0};
            WritePrivateProfileStringA(write < 10 ? "FILE" : "ORNA", key, "C:\\selvane-bench\\app",
                                       write < 10 ? ".\\minimal.ini" : ".\\minimal-win.ini");
        }
        HANDLE file = CreateFileW(L"minimal-answer.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "y\r\n", 3, &written, nullptr);
        CloseHandle(file);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        std::wstring commandLine = L"\"" + g_program + L"\"";
        for (int start = 0; start < (g_sameWork ? 2 : 1); ++start) {
            if (CreateProcessW(g_program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process)) {
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
            }
        }
        MessageBoxW(window, L"done", L"minimal", MB_OK | MB_ICONINFORMATION);
        ExitProcess(0);
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    g_program = commandLine;
    if (g_program.starts_with(L"--same-work ")) {
        g_sameWork = true;
        g_program = g_program.substr(12);
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"MinimalSetup";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"MinimalSetup", L"minimal setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 454, 99, nullptr, nullptr, instance, nullptr);
    CreateWindowW(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, window,
                  reinterpret_cast<HMENU>(1001), instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
