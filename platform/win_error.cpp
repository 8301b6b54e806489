#include "platform/win_error.h"

#include "platform/wide_text_win.h"

namespace selvane {
namespace {

// "%1 is not a valid Win32 application." as "… is not a valid Win32
// application.": the caller names the file itself.
std::wstring WithoutInserts(std::wstring text) {
    for (std::size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 1)) {
        std::size_t end = at + 1;
        while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') ++end;
        if (end > at + 1) text.replace(at, end - at, L"\u2026");
    }
    return text;
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = WithoutInserts(std::wstring(buffer ? buffer : L"", length));
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    // The code too: the words alone may not tell two failures apart.
    const std::string number = "(" + std::to_string(code) + ")";
    return text.empty() ? number : Narrow(text) + " " + number;
}

}  // namespace selvane
