#pragma once

namespace selvane {

// Caption of every message box, and of the hidden application window by
// which a second start finds the first.
inline constexpr char kAppTitle[] = "Selvane";
inline constexpr char kApplicationWindowClass[] = "ThunderRT6Main";
inline constexpr char kSetupWindowClass[] = "Selvane.frmInit";
// Held by every instance, with a window or without.
inline constexpr char kInstanceMutexName[] = "Local\\Selvane.InitialSetup";
// Beside the program, where a run without /LOG keeps its log.
inline constexpr char kDefaultLogName[] = "selvane-init.log";

}  // namespace selvane
