#include "setup/setup_run.h"

#include "setup/setup_checks.h"

namespace selvane {
namespace {

// What a stopped run leaves: before acl.bat has started, what it changed is
// put back; once it has, the batch file may already act on the settings.
void Settle(SetupFailure& failure, const SetupChanges& changes, SetupPlatform& platform, SetupObserver& observer) {
    if (!changes.Any()) return;
    if (failure.step > SetupStep::StartBatchFile) {
        failure.state = ServerState::SettingsKept;
        return;
    }
    failure.leftChanged = changes.PutBack(platform, observer);
    failure.state = failure.leftChanged.empty() ? ServerState::PutBack : ServerState::PartlyPutBack;
}

}  // namespace

std::optional<SetupFailure> PlanRun(SetupPlatform& platform, const SetupRequest& request, SetupPaths& paths) {
    const auto windows = platform.WindowsDirectory();
    if (windows.error) return MakeFailure(SetupStep::FindWindowsDirectory, FailureReason::System, {}, *windows.error);
    const auto system = platform.SystemDirectory();
    if (system.error) return MakeFailure(SetupStep::FindSystemDirectory, FailureReason::System, {}, *system.error);
    paths = PlanSetupPaths(request.folderBoxText, request.appFolder, windows.value, system.value);
    return std::nullopt;
}

std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupChanges& changes,
                                                     SetupObserver& observer) {
    // Only an empty box is refused: a box of blanks is a folder name too.
    if (request.folderBoxText.empty()) return MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {});
    if (auto failure = CheckBeforeWriting(platform, request, paths)) return failure;
    if (auto failure = changes.ReadBefore(platform)) return failure;
    for (std::size_t at = 0; at < paths.writes.size(); ++at) {
        const ProfileWrite& write = paths.writes[at];
        if (request.whatIf) {
            observer.SettingWritten(write, changes.ValueBefore(at), {EffectState::Planned, {}});
            continue;
        }
        if (auto error = platform.WriteProfileEntry(write.file, write.section, write.key, write.value)) {
            observer.SettingWritten(write, changes.ValueBefore(at), {EffectState::Failed, *error});
            return MakeFailure(SetupStep::WriteSettings, FailureReason::System, write.file, *error);
        }
        changes.SettingWritten();
        observer.SettingWritten(write, changes.ValueBefore(at), {});
    }
    return std::nullopt;
}

std::optional<SetupFailure> RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer) {
    SetupPaths paths;
    if (auto failure = PlanRun(platform, request, paths)) return failure;
    SetupChanges changes(paths);
    auto failure = ValidateAndWriteSettings(platform, request, paths, changes, observer);
    if (!failure) failure = RunAclBatch(platform, paths, request, changes, observer);
    if (!failure) failure = RunServiceInstaller(platform, paths, request, observer);
    if (failure) Settle(*failure, changes, platform, observer);
    return failure;
}

}  // namespace selvane
