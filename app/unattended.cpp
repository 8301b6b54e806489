#include "app/unattended.h"

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"
#include "app/text_fill.h"
#include "platform/folder_path.h"
#include "setup/setup_run.h"

namespace selvane {
namespace {

RunEvent Refuse(AppLog& log, int exitCode, const std::string& why, EventKind event) {
    log.Error(why);
    return {event, OneLine(why), exitCode, {}};
}

// /DIR must name an existing folder outright: no current drive or directory
// stands behind an unattended run.
std::optional<std::string> DirProblem(const std::string& dir, SetupPlatform& platform) {
    if (!IsAbsoluteFolderPath(dir)) return Fill(messages::kDirNotAbsolute, {dir});
    if (!platform.FitsCodePage(dir)) return Fill(messages::kDirNotInCodePage, {dir});
    const PathProbe probe = platform.Probe(dir);
    if (probe.kind == PathKind::Missing) return Fill(messages::kDirMissing, {dir, SystemErrorText(probe.why.code)});
    if (probe.kind == PathKind::File) return Fill(messages::kDirNotFolder, {dir});
    return std::nullopt;
}

// Whether the server holds what a run with this /DIR would write: changes
// nothing, starts nothing, records no event.
RunEvent Verify(const SetupRequest& request, SetupPlatform& platform, RunRecords& records) {
    AppLog& log = records.Log();
    RunPlan plan;
    std::vector<SettingDifference> differences;
    auto failure = PlanRun(platform, request, plan);
    if (!failure) failure = CompareSettings(platform, plan, differences);
    if (failure) {
        return Refuse(log, exit_codes::kRunFailed, DescribeFailure(*failure, Telling::Verify), EventKind::None);
    }
    for (const auto& difference : differences) {
        const ProfileWrite& expected = difference.expected;
        const std::string found = difference.found ? "\"" + *difference.found + "\"" : messages::kLogNoValue;
        log.Warn(Fill(messages::kLogDifference,
                      {expected.file, expected.section, expected.key, "\"" + expected.value + "\"", found}));
    }
    // The entries may hold while the run that wrote them failed, or was cut off, after them.
    const auto recordSays = RecordSaysNotSetUp(records.RunRecord(), platform, plan.chosenFolder, log);
    const bool setUp = differences.empty() && !recordSays;
    const std::string summary = setUp                ? messages::kVerified
                                : differences.empty() ? *recordSays
                                                      : Fill(messages::kNotVerified, {std::to_string(differences.size())});
    if (recordSays && !differences.empty()) log.Warn(*recordSays);
    log.Info(summary);
    return {EventKind::None, summary, setUp ? exit_codes::kSuccess : exit_codes::kNotSetUp, {}};
}

RunEvent Run(const Switches& switches, bool anotherInstanceRuns, const ServerTypeReading& serverType,
             SetupPlatform& platform, RunRecords& records) {
    AppLog& log = records.Log();
    if (anotherInstanceRuns) {
        return Refuse(log, exit_codes::kAnotherInstance, messages::kAnotherInstance, EventKind::Refused);
    }
    log.ServerTypeRead(serverType);
    if (!PassesServerTypeCheck(serverType)) {
        return Refuse(log, exit_codes::kServerRefused, messages::kUnsupportedServer, EventKind::Failed);
    }
    const std::string dir = switches.dir.value_or("");
    if (auto problem = DirProblem(dir, platform)) {
        return Refuse(log, exit_codes::kInvalidCommandLine, *problem, EventKind::Refused);
    }

    SetupRequest request;
    request.appFolder = records.Files().appFolder;
    request.folderBoxText = dir;
    if (switches.mode == RunMode::Verify) return Verify(request, platform, records);
    request.waitForPrograms = switches.wait;
    request.whatIf = switches.mode == RunMode::WhatIf;
    RunLedger ledger(records.RunRecord(), log);
    const SetupOutcome outcome = RunSetup(platform, request, log, ledger);
    ledger.Ended(outcome, outcome.failure ? exit_codes::kRunFailed : static_cast<int>(outcome.restart));
    if (outcome.failure) {
        const std::string why = DescribeFailure(*outcome.failure, Telling::Unattended);
        return Refuse(log, exit_codes::kRunFailed, why, EventKind::Failed);
    }
    if (request.whatIf) {
        log.Info(messages::kWhatIfDone);
        return {EventKind::None, messages::kWhatIfDone, exit_codes::kSuccess, {}};
    }
    // The installer's own restart codes pass through to the deployment tool.
    const bool restart = outcome.restart != Restart::None;
    const char* done = !restart                                  ? messages::kSetupComplete
                       : outcome.restart == Restart::Required ? messages::kRestartRequired
                                                               : messages::kRestartStarted;
    if (restart) log.Warn(done); else log.Info(done);
    return {restart ? EventKind::RestartNeeded : EventKind::Completed, done,
            static_cast<int>(outcome.restart), {}};
}

}  // namespace

RunEvent RunUnattended(const Switches& switches, bool anotherInstanceRuns, const ServerTypeReading& serverType,
                       SetupPlatform& platform, RunRecords& records) {
    // A last run cut off is told of (and its copies removed) by a run that may change things.
    std::string interrupted;
    if (switches.mode == RunMode::Unattended && !anotherInstanceRuns) {
        if (auto text = FindInterruptedRun(records.RunRecord(), platform, records.Log())) {
            records.Log().Warn(*text);
            interrupted = *text + " ";
        }
    }
    RunEvent event = Run(switches, anotherInstanceRuns, serverType, platform, records);
    event.outcome.insert(0, interrupted);
    return EventOf(switches, event);
}

RunEvent EventOf(const Switches& switches, RunEvent event) {
    if (!switches.Traits().recordsEvent) event.kind = EventKind::None;
    event.kevaFolder = RemoveOneTrailingBackslash(switches.dir.value_or(""));
    return event;
}

}  // namespace selvane
