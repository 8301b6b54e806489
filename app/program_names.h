#pragma once

namespace selvane {

// Caption of every message box, and of the hidden application window by
// which a second start finds the first.
inline constexpr char kAppTitle[] = "Selvane";
inline constexpr char kApplicationWindowClass[] = "ThunderRT6Main";
inline constexpr char kSetupWindowClass[] = "Selvane.frmInit";
// Held by every instance, with a window or without, in every logon session:
// a run over Remote Desktop and a deployment tool's in session 0 see each other.
inline constexpr char kInstanceMutexName[] = "Global\\Selvane.InitialSetup";
// The record of each run, in HKEY_LOCAL_MACHINE.
inline constexpr char kRunRecordKey[] = "SOFTWARE\\Selvane\\InitialSetup";
// Beside the program, where a run without /LOG keeps its log.
inline constexpr char kDefaultLogName[] = "selvane-init.log";

}  // namespace selvane
