#pragma once

// Exit codes of a run from the command line: the Windows Installer's, which
// deployment tools already understand. A window run ends with 0, or 1 after
// a failure; one started with /LOG that cannot open its log, or with a log
// that is one of the run's files, ends as a command-line run would (1622,
// 1639).
namespace selvane::exit_codes {

inline constexpr int kSuccess = 0;
inline constexpr int kWindowRunFailed = 1;
inline constexpr int kNotSetUp = 1;  // /VERIFY: an entry is missing or differs
inline constexpr int kRunFailed = 1603;          // ERROR_INSTALL_FAILURE
inline constexpr int kAnotherInstance = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kLogUnavailable = 1622;     // ERROR_INSTALL_LOG_FAILURE
inline constexpr int kServerRefused = 1633;      // ERROR_INSTALL_PLATFORM_UNSUPPORTED
inline constexpr int kInvalidCommandLine = 1639; // ERROR_INVALID_COMMAND_LINE
// An installer's 3010 and 1641 (a restart to come) pass through as they are.

}  // namespace selvane::exit_codes
