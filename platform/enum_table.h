#pragma once

#include <cstddef>

namespace selvane {

// A table indexed by an enum that ends in Count: one row for each value, in
// the enum's order, each row naming its value. Checked at compile time, so
// that a row missing, extra or out of place fails the build:
//   static_assert(RowsFollowEnum(kRows, &Row::kind));
template <typename Row, std::size_t N, typename Enum>
constexpr bool RowsFollowEnum(const Row (&rows)[N], Enum Row::*key) {
    if (N != static_cast<std::size_t>(Enum::Count)) return false;
    for (std::size_t at = 0; at < N; ++at) {
        if (rows[at].*key != static_cast<Enum>(at)) return false;
    }
    return true;
}

// The row of a value: the one way into an array indexed by such an enum,
// which cannot read past its end.
template <typename Row, std::size_t N, typename Enum>
constexpr Row& RowOf(Row (&rows)[N], Enum value) {
    static_assert(N == static_cast<std::size_t>(Enum::Count), "one row for each value of the enum");
    return rows[static_cast<std::size_t>(value)];
}

}  // namespace selvane
