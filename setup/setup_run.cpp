#include "setup/setup_run.h"

#include "setup/setup_checks.h"

namespace selvane {

std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupObserver& observer) {
    // Only an empty box is refused: a box of blanks is a folder name too.
    if (request.folderBoxText.empty()) return MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {});
    if (auto failure = CheckBeforeWriting(platform, paths)) return failure;
    for (const auto& write : paths.writes) {
        if (request.whatIf) {
            observer.SettingWritten(write, {EffectState::Planned, {}});
            continue;
        }
        if (auto error = platform.WriteProfileEntry(write.file, write.section, write.key, write.value)) {
            observer.SettingWritten(write, {EffectState::Failed, *error});
            return MakeFailure(SetupStep::WriteSettings, FailureReason::System, write.file, *error);
        }
        observer.SettingWritten(write, {});
    }
    return std::nullopt;
}

std::optional<SetupFailure> RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer) {
    const auto windows = platform.WindowsDirectory();
    if (windows.error) return MakeFailure(SetupStep::FindWindowsDirectory, FailureReason::System, {}, *windows.error);
    const auto system = platform.SystemDirectory();
    if (system.error) return MakeFailure(SetupStep::FindSystemDirectory, FailureReason::System, {}, *system.error);
    const SetupPaths paths = PlanSetupPaths(request.folderBoxText, request.appFolder, windows.value, system.value);
    if (auto failure = ValidateAndWriteSettings(platform, request, paths, observer)) return failure;
    if (auto failure = RunAclBatch(platform, paths, request, observer)) return failure;
    return RunServiceInstaller(platform, paths, request, observer);
}

}  // namespace selvane
