#pragma once

#include <cstddef>

namespace selvane {

// A table indexed by an enum: one row for each value from first on, in the
// enum's order, each row naming its value. Checked at compile time, so that
// a row missing or out of place fails the build:
//   static_assert(RowsFollowEnum(kRows, &Row::kind, Kind::First, Kind::Last));
template <typename Row, std::size_t N, typename Enum>
constexpr bool RowsFollowEnum(const Row (&rows)[N], Enum Row::*key, Enum first, Enum last) {
    if (N != static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1) return false;
    for (std::size_t at = 0; at < N; ++at) {
        if (static_cast<std::size_t>(rows[at].*key) != static_cast<std::size_t>(first) + at) return false;
    }
    return true;
}

}  // namespace selvane
