#include "setup/setup_run.h"

#include "setup/held_files.h"
#include "setup/ini_text.h"
#include "setup/run_steps.h"

namespace selvane {

std::optional<SetupFailure> PlanRun(SetupPlatform& platform, const SetupRequest& request, RunPlan& plan) {
    const auto windows = platform.WindowsDirectory();
    if (!windows) return CallFailed(SetupStep::FindWindowsDirectory, {}, *windows.failure);
    const auto system = platform.SystemDirectory();
    if (!system) return CallFailed(SetupStep::FindSystemDirectory, {}, *system.failure);
    plan = PlanSetupRun(request.folderBoxText, request.appFolder, windows.value, system.value);
    return std::nullopt;
}

std::optional<SetupFailure> SetupRun::ValidateAndWriteSettings() {
    // Only an empty box is refused: a box of blanks is a folder name too.
    if (request_.folderBoxText.empty()) return MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {});
    if (auto failure = CheckBeforeWriting()) return failure;
    if (auto failure = changes_.ReadBefore(platform_, observer_)) return failure;
    if (auto failure = HoldSettingsFile()) return failure;
    if (!request_.whatIf) journal_.WritesBegin(plan_.chosenFolder);
    for (const ProfileWrite& write : plan_.writes) {
        if (request_.whatIf) {
            observer_.SettingWritten(write, changes_.LineBefore(write), {EffectState::Planned, {}});
            continue;
        }
        const CallResult failure = WaitingOutHolds(platform_, &observer_, write.file, [&] {
            return platform_.WriteProfileEntry(write.file, write.section, write.key, write.value);
        });
        changes_.SettingWriteTried(write, platform_, observer_);
        observer_.SettingWritten(write, changes_.LineBefore(write), EffectOf(failure));
        if (failure) return CallFailed(StepsOf(write.runFile).write, write.file, *failure);
    }
    return std::nullopt;
}

SetupOutcome SetupRun::Run() {
    // The programs are held from their check until the run ends (until each
    // has ended, where the run waits for them).
    struct Release {
        SetupPlatform& platform;
        ~Release() { platform.ReleaseHeld(); }
    } release{platform_};
    SetupOutcome outcome{ValidateAndWriteSettings()};
    for (const ProgramRow& row : kPrograms) {
        if (outcome.failure) break;
        SetupOutcome started = StartProgram(row);
        outcome.failure = std::move(started.failure);
        if (started.restart != Restart::None) outcome.restart = started.restart;
    }
    outcome.programsStarted = changes_.ProgramsStarted();
    outcome.exitCodes = std::move(exitCodes_);
    if (!outcome.failure) return outcome;
    // Once acl.bat has started, the batch file may already act on the settings.
    SetupFailure& failure = *outcome.failure;
    failure.programsStarted = outcome.programsStarted;
    platform_.ReleaseHeld();  // what is put back is replaced whole
    failure.left = failure.programsStarted > 0 ? LeftBehind::SettingsKept
                                               : changes_.PutBack(platform_, observer_, journal_, failure.leftChanged);
    return outcome;
}

SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer,
                      RunJournal& journal) {
    RunPlan plan;
    if (auto failure = PlanRun(platform, request, plan)) return {failure};
    return SetupRun(platform, request, std::move(plan), observer, journal).Run();
}

SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer) {
    RunJournal none;
    return RunSetup(platform, request, observer, none);
}

std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const RunPlan& plan,
                                            std::vector<SettingDifference>& differences) {
    for (const RunFile which : {RunFile::Settings, RunFile::Profile}) {
        const std::string& file = plan.PathOf(which);
        const auto read = ReadOnceReleased(platform, nullptr, file);
        if (!read) return CallFailed(StepsOf(which).read, file, *read.failure);
        const std::string text = SettingsText(read.value.bytes);
        for (const ProfileWrite& write : plan.writes) {
            if (write.runFile != which) continue;
            const IniEntry entry = FindEntry(text, write.section, write.key);
            const auto found = entry.line ? ProfileValue(*entry.line) : std::nullopt;
            const bool same =
                found && (write.isFolder ? platform.SamePath(write.value, *found) : *found == write.value);
            if (!same) differences.push_back({write, found});
        }
    }
    return std::nullopt;
}

}  // namespace selvane
