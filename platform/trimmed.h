#pragma once

#include <string_view>

namespace selvane {

// The text without what stands around it that isBlank calls blank: readers
// differ on what counts (the profile functions skip controls and Ctrl-Z).
template <typename IsBlank>
std::string_view Trimmed(std::string_view text, IsBlank isBlank) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace selvane
