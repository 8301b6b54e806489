#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_log.h"
#include "platform/call_failure.h"
#include "setup/run_journal.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// The record of the last run on this server, which detection reads: text
// values by name (HKLM\SOFTWARE\Selvane\InitialSetup on Windows).
using RecordValues = std::vector<std::pair<std::string, std::string>>;
namespace record {
inline constexpr char kState[] = "State";
inline constexpr char kInProgress[] = "in progress";
inline constexpr char kCompleted[] = "completed";
inline constexpr char kFailed[] = "failed";
inline constexpr char kKevaFolder[] = "KevaFolder";
inline constexpr char kStarted[] = "Started";
inline constexpr char kExitCode[] = "ExitCode";
inline constexpr char kFailedStep[] = "FailedStep";
inline constexpr char kRestart[] = "RestartRequested";
inline constexpr char kCopies[] = "Copies";  // "identity|path|identity|path…" of put-back copies not yet gone
inline constexpr char kProgramStarted[] = "started";  // a program's value where the run did not wait for it
}  // namespace record

class RecordStore {
public:
    virtual ~RecordStore() = default;
    // None where no run has been recorded.
    virtual Checked<std::optional<RecordValues>> Read() = 0;
    // The record as these values, written in their order; every other value goes.
    virtual CallResult Write(const RecordValues& values) = 0;
    // What each record begins with: the program's version, the process id, the time.
    virtual RecordValues Stamp() = 0;
};

// The record of this run: "in progress" from before its first write, with
// each put-back copy it makes while the copy stands, then how it ended. A
// record that cannot be written is logged and changes no outcome.
class RunLedger : public RunJournal {
public:
    RunLedger(RecordStore& store, AppLog& log) : store_(store), log_(log) {}
    void WritesBegin(const std::string& kevaFolder) override;
    void CopyMade(const std::string& path, const std::string& identity) override;
    void CopyGone(const std::string& path) override;
    // A run that never began its writes records nothing: the last run's record stays.
    void Ended(const SetupOutcome& outcome, int exitCode);

private:
    void Save();

    RecordStore& store_;
    AppLog& log_;
    RecordValues values_;  // State first while in progress, last once ended
    std::vector<std::pair<std::string, std::string>> copies_;  // identity, path
};

// What a start that no other instance shares tells of a last run left "in
// progress": it was cut off. The put-back copies the record names are
// removed where they are still those files. None where it was not cut off.
std::optional<std::string> FindInterruptedRun(RecordStore& store, SetupPlatform& platform, AppLog& log);

// For /VERIFY: why the record says the server is not set up for the folder
// (its last run failed or was cut off); none where it does not say so (the
// log says whether there is a record for the folder at all).
std::optional<std::string> RecordSaysNotSetUp(RecordStore& store, SetupPlatform& platform,
                                              const std::string& kevaFolder, AppLog& log);

}  // namespace selvane
