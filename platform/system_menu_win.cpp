#include "platform/system_menu_win.h"

#include "platform/enum_table.h"

namespace selvane {
namespace {

// The command each item code deletes (a separator's is 0).
struct MenuCommand {
    SystemMenuItem item;
    UINT command;
};
constexpr MenuCommand kCommands[] = {
    {kMenuClose, SC_CLOSE},       {kMenuSize, SC_SIZE}, {kMenuMaximize, SC_MAXIMIZE}, {kMenuRestore, SC_RESTORE},
    {kMenuMinimize, SC_MINIMIZE}, {kMenuMove, SC_MOVE}, {kMenuSeparator, 0},
};
static_assert(RowsFollowEnum(kCommands, &MenuCommand::item, kMenuClose, kMenuSeparator));

}  // namespace

void RemoveSystemMenuItem(HWND window, std::int16_t code) {
    if (code < kMenuClose || code > kMenuSeparator) return;
    DeleteMenu(GetSystemMenu(window, FALSE), kCommands[code].command, MF_BYCOMMAND);
    DrawMenuBar(window);
}

}  // namespace selvane
