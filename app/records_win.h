#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_log.h"
#include "platform/call_failure.h"

namespace selvane {

// Opens a log file for appending: UTF-8, with a byte-order mark when it is
// new. The failure says why it cannot be opened. A log that is one of the
// given files under another name (a hard or symbolic link, a stream) is
// closed before anything is written: no sink, no failure, and sameAs names
// that file.
Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path, const std::vector<std::string>& runFiles,
                                              std::string& sameAs);

LogTime LocalLogTime();

// Records a run in the Application event log under the source "Selvane",
// whose texts are this program's message table. Never changes the run's
// outcome: a failure to record it goes to the log, nothing more.
void ReportRunEvent(const RunEvent& event, const ProgramFiles& files, AppLog& log);

// Ends the program at once with this exit code, which the log records last:
// the setup window closes and none of its handlers runs again.
[[noreturn]] void EndProgram(AppLog& log, int exitCode);

}  // namespace selvane
