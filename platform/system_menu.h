#pragma once

#include <cstdint>
#include <optional>

namespace selvane {

// Item codes of RemoveSystemMenuItem.
enum SystemMenuItem : std::int16_t {
    kMenuClose = 0,
    kMenuSize = 1,
    kMenuMaximize = 2,
    kMenuRestore = 3,
    kMenuMinimize = 4,
    kMenuMove = 5,
    kMenuSeparator = 6,
};

// The command identifier an item code deletes (a separator's is 0), or
// nothing for a code outside the table.
std::optional<std::uint32_t> SystemMenuCommandFor(std::int16_t code);

}  // namespace selvane
