#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/run_records.h"
#include "app/switches.h"
#include "platform/call_failure.h"

namespace selvane {

// Opens a log file for appending: UTF-8, with a byte-order mark when new. A
// log that is one of the run's files under another name (a link, a stream)
// is closed unwritten: no sink, no failure, and sameAs names that file.
Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path, const std::vector<std::string>& runFiles,
                                              std::string& sameAs);

// The log file, the Application event log under the source "Selvane"
// (whose texts are this program's message table), the console the program
// was started from, and the process's exit code.
// The record of each run under HKLM\SOFTWARE\Selvane\InitialSetup, in the
// 32-bit view (on 64-bit Windows HKLM\SOFTWARE\WOW6432Node\Selvane\InitialSetup).
class RegistryRecordStore : public RecordStore {
public:
    Checked<std::optional<RecordValues>> Read() override;
    CallResult Write(const RecordValues& values) override;
    RecordValues Stamp() override;
};

class WindowsRunRecords : public RunRecords {
public:
    using RunRecords::RunRecords;
    RecordStore& RunRecord() override { return runRecord_; }
    // From here on the log goes to the file at the path, stamped with local time.
    void KeepLog(std::unique_ptr<LogSink> sink, const std::string& path);
    void RecordEvent(const RunEvent& event) override;
    [[noreturn]] void EndProgram(int exitCode) override;
    // The end of a run without a window, or of a start refused: the console
    // line says what the event says, where the mode records one. Returns the
    // exit code.
    int Finish(const Switches& switches, const RunEvent& event);

private:
    RegistryRecordStore runRecord_;
};

// The one line a run leaves on the console it was started from.
void PrintSummary(const std::string& what, int exitCode, const std::string& logPath);

}  // namespace selvane
