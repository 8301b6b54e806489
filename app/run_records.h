#pragma once

#include <string>

#include "app/app_log.h"
#include "app/run_ledger.h"

namespace selvane {

// What the Windows event log records of a run: one event for each
// unattended run (not /VERIFY or /WHATIF) and each Complete of the window.
enum class EventKind {
    None,           // nothing is recorded
    Completed,      // information
    RestartNeeded,  // warning: done, but the server must restart
    Failed,         // error
    Refused,        // error: refused before it started
    Count
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

// What a run leaves on record: its log, its event, and the exit code the
// program ends with, which the log records last. The front ends hold one;
// Windows has WindowsRunRecords.
class RunRecords {
public:
    explicit RunRecords(ProgramFiles files) : files_(std::move(files)) {}
    virtual ~RunRecords() = default;
    RunRecords(const RunRecords&) = delete;
    RunRecords& operator=(const RunRecords&) = delete;

    AppLog& Log() { return log_; }
    // Where the record of each run is kept.
    virtual RecordStore& RunRecord() = 0;
    const ProgramFiles& Files() const { return files_; }
    // Never changes the run's outcome: a failure to record goes to the log.
    virtual void RecordEvent(const RunEvent& event) = 0;
    // At once: the setup window closes and none of its handlers runs again.
    virtual void EndProgram(int exitCode) = 0;

protected:
    AppLog log_;
    ProgramFiles files_;
};

}  // namespace selvane
