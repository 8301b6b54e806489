#pragma once

#include <string>

namespace selvane {

// What the Windows event log records of a run: one event for each
// unattended run (not /VERIFY or /WHATIF) and each Complete of the window.
enum class EventKind {
    None,           // nothing is recorded
    Completed,      // information
    RestartNeeded,  // warning: done, but the server must restart
    Failed,         // error
    Refused,        // error: refused before it started
};

struct RunEvent {
    EventKind kind = EventKind::None;
    std::string outcome;  // in the words of the console line, or of the window's message
    int exitCode = 0;
    std::string kevaFolder;
};

// The files every event names besides the run's outcome.
struct ProgramFiles {
    std::string program;    // whose message table Event Viewer reads
    std::string appFolder;
    std::string log;        // empty: the run keeps no log
};

}  // namespace selvane
