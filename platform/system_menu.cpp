#include "platform/system_menu.h"

#include <array>

namespace selvane {

std::optional<std::uint32_t> SystemMenuCommandFor(std::int16_t code) {
    // SC_CLOSE, SC_SIZE, SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE, SC_MOVE, separator.
    constexpr std::array<std::uint32_t, 7> kCommands = {0xF060, 0xF000, 0xF030, 0xF120,
                                                        0xF020, 0xF010, 0};
    if (code < 0 || code >= static_cast<std::int16_t>(kCommands.size())) return std::nullopt;
    return kCommands[static_cast<std::size_t>(code)];
}

}  // namespace selvane
