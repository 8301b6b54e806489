#include "platform/message_box_win.h"

#include "platform/wide_text_win.h"

namespace selvane {

void ShowMessageBox(HWND owner, std::string_view caption, std::string_view text, UINT icon) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | icon);
}

}  // namespace selvane
