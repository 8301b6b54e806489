#include "platform/win_error.h"

#include "platform/wide_text_win.h"

namespace selvane {

std::string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    // The code too: the words alone may not tell two failures apart.
    const std::string number = "(" + std::to_string(code) + ")";
    return text.empty() ? number : Narrow(text) + " " + number;
}

WinError::WinError(const std::string& what, DWORD code)
    : message_(what + ": " + SystemErrorText(code)) {}

void ThrowLastError(const char* call) {
    const DWORD code = GetLastError();
    throw WinError(call, code);
}

}  // namespace selvane
