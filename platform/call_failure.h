#pragma once

#include <optional>
#include <string>

namespace selvane {

// A system call that failed: the function's name and the system's own words
// for why.
struct CallFailure {
    const char* function = "";
    std::string reason;
};

// A call's result, or why there is none.
template <typename T>
struct Checked {
    T value{};
    std::optional<CallFailure> failure;
    explicit operator bool() const { return !failure; }
};

}  // namespace selvane
