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

namespace {

// Refuses an empty folder box, checks everything that can be checked,
// reads what stands where it will write, then writes orna_remote.ini in
// the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const RunPlan& plan, SetupChanges& changes, RightsCheck& rights,
                                                     SetupObserver& observer) {
    // Only an empty box is refused: a box of blanks is a folder name too.
    if (request.folderBoxText.empty()) return MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {});
    if (auto failure = CheckBeforeWriting(platform, plan, rights, observer)) return failure;
    if (auto failure = changes.ReadBefore(platform, observer)) return failure;
    for (const ProfileWrite& write : plan.writes) {
        if (request.whatIf) {
            observer.SettingWritten(write, changes.LineBefore(write), {EffectState::Planned, {}});
            continue;
        }
        const CallResult failure = WaitingOutHolds(platform, &observer, write.file, [&] {
            return platform.WriteProfileEntry(write.file, write.section, write.key, write.value);
        });
        changes.SettingWriteTried(write, platform, observer);
        observer.SettingWritten(write, changes.LineBefore(write), EffectOf(failure));
        if (failure) return CallFailed(StepsOf(write.runFile).write, write.file, *failure);
    }
    return std::nullopt;
}

}  // namespace

SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer) {
    RunPlan plan;
    if (auto failure = PlanRun(platform, request, plan)) return {failure};
    // acl.bat and the installer are held from their check until the run ends
    // (until each has ended, where the run waits for them).
    struct Release {
        SetupPlatform& platform;
        ~Release() { platform.ReleaseHeld(); }
    } release{platform};
    SetupChanges changes(plan);
    RightsCheck rights;
    SetupOutcome outcome{ValidateAndWriteSettings(platform, request, plan, changes, rights, observer)};
    if (!outcome.failure) outcome.failure = RunAclBatch(platform, plan, request, rights, changes, observer);
    if (!outcome.failure) outcome = RunServiceInstaller(platform, plan, request, changes, observer);
    outcome.warnings = std::move(rights.warnings);
    if (!outcome.failure) return outcome;
    // Once acl.bat has started, the batch file may already act on the settings.
    SetupFailure& failure = *outcome.failure;
    failure.progress = changes.Progress();
    failure.left = failure.progress != RunProgress::NothingStarted
                       ? LeftBehind::SettingsKept
                       : changes.PutBack(platform, observer, failure.leftChanged);
    return outcome;
}

std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const RunPlan& plan,
                                            std::vector<SettingDifference>& differences) {
    for (const RunFile which : {RunFile::Settings, RunFile::Profile}) {
        const std::string& file = plan.PathOf(which);
        const auto read = WaitingOutHolds(platform, nullptr, file, [&] { return platform.ReadFile(file); });
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
