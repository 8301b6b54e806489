#include "platform/system_menu_win.h"

namespace selvane {

void RemoveSystemMenuItem(HWND window, std::int16_t code) {
    const auto command = SystemMenuCommandFor(code);
    if (!command) return;
    HMENU menu = GetSystemMenu(window, FALSE);
    DeleteMenu(menu, *command, MF_BYCOMMAND);
    DrawMenuBar(window);
}

}  // namespace selvane
