#include "setup/setup_run.h"

#include "setup/setup_checks.h"

namespace selvane {

std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupObserver& observer) {
    // Only an empty box is refused: a box of blanks is a folder name too.
    if (request.folderBoxText.empty()) return MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {});
    if (auto failure = CheckBeforeWriting(platform, paths)) return failure;
    for (const auto& write : paths.writes) {
        if (request.options.whatIf) {
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
    const SetupPaths paths = PlanSetupPaths(request.folderBoxText, request.appFolder, platform.WindowsDirectory(),
                                            platform.SystemDirectory());
    if (auto failure = ValidateAndWriteSettings(platform, request, paths, observer)) return failure;
    if (auto failure = RunAclBatch(platform, paths, request.options, observer)) return failure;
    return RunServiceInstaller(platform, paths, request.options, observer);
}

}  // namespace selvane
