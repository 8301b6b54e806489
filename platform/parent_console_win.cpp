#include "platform/parent_console_win.h"

#include <windows.h>

#include <string>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"

namespace selvane {
namespace {

std::wstring WithCrLf(std::wstring_view text) {
    std::wstring lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) lines += L'\r';
        lines += text[i];
    }
    return lines;
}

bool WriteTo(HANDLE out, std::string_view utf8) {
    const std::wstring text = WithCrLf(Widen(utf8));
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        return WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    }
    // A file or a pipe: in the code page a console of this system would show.
    const UINT codePage = GetConsoleOutputCP() ? GetConsoleOutputCP() : GetOEMCP();
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

}  // namespace

bool PrintToParentConsole(std::string_view utf8) {
    // Handed an output (redirected by a script, or a console it shares).
    HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    if (given && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN) {
        return WriteTo(given, utf8);
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return false;
    const UniqueHandle owned(console);
    return WriteTo(console, utf8);
}

}  // namespace selvane
