#include "setup/post_setup.h"

#include "setup/setup_checks.h"

namespace selvane {
namespace {

std::optional<SetupFailure> AwaitExit(SetupPlatform& platform, unsigned long processId, const std::string& program,
                                      SetupStep step, SetupObserver& observer) {
    observer.WaitingFor(program);
    const SystemResult<unsigned long> exit = platform.WaitForExit(processId);
    if (exit.error) return MakeFailure(step, FailureReason::System, program, *exit.error);
    observer.ProgramEnded(program, exit.value);
    if (exit.value == 0) return std::nullopt;
    SetupFailure failure = MakeFailure(step, FailureReason::ExitCode, program);
    failure.exitCode = exit.value;
    return failure;
}

}  // namespace

std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const SetupPaths& paths, const SetupRequest& request,
                                        SetupChanges& changes, SetupObserver& observer) {
    const std::string& answerFile = paths.answerFile;
    if (request.whatIf) {
        observer.AnswerFileWritten(answerFile, {EffectState::Planned, {}});
        observer.ProgramStarted(*paths.batchCommandLine, {}, 0, {EffectState::Planned, {}});
        return std::nullopt;
    }

    // An answer file an earlier run left hidden, system or read-only cannot
    // be replaced by a plain one, and a hidden one is never seen below.
    const auto madePlain = platform.MakePlainFile(answerFile);
    if (madePlain.value) changes.AnswerFileTouched();
    SystemError error = madePlain.error;
    if (!error) error = platform.WriteNewFile(answerFile, kAnswerFileContent);
    if (!error) changes.AnswerFileTouched();
    if (error) {
        observer.AnswerFileWritten(answerFile, {EffectState::Failed, *error});
        return MakeFailure(SetupStep::WriteAnswerFile, FailureReason::System, answerFile, *error);
    }
    observer.AnswerFileWritten(answerFile, {});

    // The batch file reads the answer file; start it only once the file can be seen.
    const auto deadline = platform.Now() + kAnswerFileWait;
    while (!platform.NormalFileExists(answerFile)) {
        if (platform.Now() >= deadline) {
            return MakeFailure(SetupStep::FindAnswerFile, FailureReason::NotVisible, answerFile);
        }
        platform.ProcessPendingEvents();
        platform.Pause(kAnswerFilePoll);
    }

    // Checked before the first write; looked at again because cmd.exe would
    // start without it and only say so in a console no one sees.
    if (auto failure = ExpectFile(platform, SetupStep::StartBatchFile, paths.batchFile)) return failure;
    const auto started =
        platform.StartHidden(paths.commandInterpreter, *paths.batchCommandLine, {}, request.waitForPrograms);
    if (started.error) {
        observer.ProgramStarted(*paths.batchCommandLine, {}, 0, {EffectState::Failed, *started.error});
        return MakeFailure(SetupStep::StartBatchFile, FailureReason::System, paths.batchFile, *started.error);
    }
    observer.ProgramStarted(*paths.batchCommandLine, {}, started.value, {});
    if (!request.waitForPrograms) return std::nullopt;
    return AwaitExit(platform, started.value, paths.batchFile, SetupStep::RunBatchFile, observer);
}

std::optional<SetupFailure> RunServiceInstaller(SetupPlatform& platform, const SetupPaths& paths,
                                                const SetupRequest& request, SetupObserver& observer) {
    if (request.whatIf) {
        observer.ProgramStarted(paths.installerCommandLine, paths.serviceFolder, 0, {EffectState::Planned, {}});
        return std::nullopt;
    }
    if (auto error = platform.ChangeDirectory(paths.serviceFolder)) {
        return MakeFailure(SetupStep::EnterServiceFolder, FailureReason::System, paths.serviceFolder, *error);
    }
    const auto started = platform.StartHidden(paths.installer, paths.installerCommandLine, paths.serviceFolder,
                                              request.waitForPrograms);
    if (started.error) {
        observer.ProgramStarted(paths.installerCommandLine, paths.serviceFolder, 0,
                                {EffectState::Failed, *started.error});
        return MakeFailure(SetupStep::StartInstaller, FailureReason::System, paths.installer, *started.error);
    }
    observer.ProgramStarted(paths.installerCommandLine, paths.serviceFolder, started.value, {});
    if (auto error = platform.ChangeDirectory(paths.appFolder)) {
        return MakeFailure(SetupStep::ReturnToAppFolder, FailureReason::System, paths.appFolder, *error);
    }
    if (!request.waitForPrograms) return std::nullopt;
    return AwaitExit(platform, started.value, paths.installer, SetupStep::RunInstaller, observer);
}

}  // namespace selvane
