#include "app/unattended.h"

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"
#include "app/text_fill.h"
#include "setup/settings_check.h"
#include "setup/setup_run.h"

namespace selvane {
namespace {

UnattendedResult Refuse(AppLog& log, int exitCode, const std::string& why) {
    log.Error(why);
    return {exitCode, OneLine(why)};
}

// /DIR must name an existing folder outright: no current drive or directory
// stands behind an unattended run.
std::optional<std::string> DirProblem(const std::string& dir, SetupPlatform& platform) {
    if (!IsAbsoluteFolderPath(dir)) return Fill(messages::kDirNotAbsolute, {dir});
    if (!platform.FitsCodePage(dir)) return Fill(messages::kDirNotInCodePage, {dir});
    const PathProbe probe = platform.Probe(dir);
    if (probe.kind == PathKind::Missing) return Fill(messages::kDirMissing, {dir, probe.reason});
    if (probe.kind == PathKind::File) return Fill(messages::kDirNotFolder, {dir});
    return std::nullopt;
}

// Whether the server holds what a run with this /DIR would write: changes
// nothing, starts nothing.
UnattendedResult Verify(const SetupRequest& request, SetupPlatform& platform, AppLog& log) {
    SetupPaths paths;
    std::vector<SettingDifference> differences;
    auto failure = PlanRun(platform, request, paths);
    if (!failure) failure = CompareSettings(platform, paths, differences);
    if (failure) return Refuse(log, exit_codes::kRunFailed, DescribeFailure(*failure));
    for (const auto& difference : differences) {
        const ProfileWrite& expected = difference.expected;
        const std::string found = difference.found ? "\"" + *difference.found + "\"" : messages::kLogNoValue;
        log.Warn(Fill(messages::kLogDifference,
                      {expected.file, expected.section, expected.key, "\"" + expected.value + "\"", found}));
    }
    if (differences.empty()) {
        log.Info(messages::kVerified);
        return {exit_codes::kSuccess, messages::kVerified};
    }
    const std::string summary = Fill(messages::kNotVerified, {std::to_string(differences.size())});
    log.Info(summary);
    return {exit_codes::kNotSetUp, summary};
}

}  // namespace

UnattendedResult RunUnattended(const Switches& switches, const SetupRequest& base, UnattendedHost& host,
                               SetupPlatform& platform, AppLog& log) {
    if (host.AnotherInstanceRunning()) return Refuse(log, exit_codes::kAnotherInstance, messages::kAnotherInstance);

    const ServerTypeReading reading = host.ReadServerType();
    log.ServerTypeRead(reading);
    if (!PassesServerTypeCheck(reading)) return Refuse(log, exit_codes::kServerRefused, messages::kUnsupportedServer);

    const std::string dir = switches.dir.value_or("");
    if (auto problem = DirProblem(dir, platform)) return Refuse(log, exit_codes::kInvalidCommandLine, *problem);

    SetupRequest request = base;
    request.folderBoxText = dir;
    if (switches.verify) return Verify(request, platform, log);
    request.waitForPrograms = switches.wait;
    request.whatIf = switches.whatIf;
    if (auto failure = RunSetup(platform, request, log)) {
        const bool commandLine = failure->step == SetupStep::CheckLogFile;
        return Refuse(log, commandLine ? exit_codes::kInvalidCommandLine : exit_codes::kRunFailed,
                      DescribeFailure(*failure));
    }
    const std::string done = switches.whatIf ? messages::kWhatIfDone : messages::kSetupComplete;
    log.Info(done);
    return {exit_codes::kSuccess, done};
}

}  // namespace selvane
