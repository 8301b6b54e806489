#pragma once

namespace selvane {

// Caption of every message box, and of the hidden application window by
// which a second start finds the first.
inline constexpr char kAppTitle[] = "Selvane";

}  // namespace selvane
