#include "platform/system_menu_win.h"

#include <iterator>

namespace selvane {

void RemoveSystemMenuItem(HWND window, std::int16_t code) {
    // The command each item code deletes, by code; the separator's is 0.
    constexpr UINT kCommands[] = {SC_CLOSE, SC_SIZE, SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE, SC_MOVE, 0};
    static_assert(std::size(kCommands) == kMenuSeparator + 1);
    if (code < 0 || code >= static_cast<std::int16_t>(std::size(kCommands))) return;
    DeleteMenu(GetSystemMenu(window, FALSE), kCommands[code], MF_BYCOMMAND);
    DrawMenuBar(window);
}

}  // namespace selvane
