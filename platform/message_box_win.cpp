#include "platform/message_box_win.h"

#include "platform/wide_text_win.h"

namespace selvane {

void ShowInformation(HWND owner, std::string_view caption, std::string_view text) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void ShowFailure(HWND owner, std::string_view caption, std::string_view text) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace selvane
