#include "setup/run_steps.h"

#include "setup/held_files.h"
#include "setup/setup_run.h"

namespace selvane {
namespace {

// The program's exit code once it has ended; a failure when it could not be
// had, or is not 0 (nor, where allowed, a restart code).
SetupOutcome AwaitExit(SetupPlatform& platform, unsigned long processId, const std::string& program,
                       SetupStep step, bool restartAllowed, SetupObserver& observer) {
    observer.WaitingFor(program);
    const Checked<unsigned long> exit = platform.WaitForExit(processId);
    if (!exit) return {CallFailed(step, program, *exit.failure)};
    observer.ProgramEnded(program, exit.value);
    if (exit.value == 0) return {};
    for (const Restart restart : {Restart::Required, Restart::Started}) {
        if (restartAllowed && exit.value == static_cast<unsigned long>(restart)) return {std::nullopt, restart};
    }
    SetupFailure failure = MakeFailure(step, FailureReason::ExitCode, program);
    failure.number = exit.value;
    return {failure};
}

}  // namespace

std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                        const RightsCheck& rights, SetupChanges& changes, SetupObserver& observer) {
    const std::string& answerFile = plan.answerFile;
    if (request.whatIf) {
        observer.AnswerFileWritten(answerFile, {EffectState::Planned, {}});
        observer.ProgramStarted(*plan.batchCommandLine, {}, 0, {EffectState::Planned, {}});
        return std::nullopt;
    }

    // A hidden answer file an earlier run left would never be seen below: it is made plain.
    changes.AnswerFileTouched();
    const CallResult failure = WaitingOutHolds(platform, &observer, answerFile,
                                               [&] { return platform.WriteNewFile(answerFile, kAnswerFileContent); });
    observer.AnswerFileWritten(answerFile, EffectOf(failure));
    if (failure) return CallFailed(StepsOf(RunFile::Answer).write, answerFile, *failure);

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
    if (auto missing = Expect(platform, SetupStep::StartBatchFile, plan.batchFile, PathKind::File)) return missing;
    const auto started =
        platform.StartHidden(plan.commandInterpreter, *plan.batchCommandLine, {}, request.waitForPrograms,
                             rights.othersFillCurrentFolder);
    observer.ProgramStarted(*plan.batchCommandLine, {}, started.value, EffectOf(started.failure));
    if (!started) return CallFailed(SetupStep::StartBatchFile, plan.batchFile, *started.failure);
    changes.Started(RunProgress::BatchFileStarted);
    if (!request.waitForPrograms) return std::nullopt;
    return AwaitExit(platform, started.value, plan.batchFile, SetupStep::RunBatchFile, false, observer).failure;
}

SetupOutcome RunServiceInstaller(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                 SetupChanges& changes, SetupObserver& observer) {
    if (request.whatIf) {
        observer.ProgramStarted(plan.installerCommandLine, plan.serviceFolder, 0, {EffectState::Planned, {}});
        return {};
    }
    if (auto failure = platform.ChangeDirectory(plan.serviceFolder)) {
        return {CallFailed(SetupStep::EnterServiceFolder, plan.serviceFolder, *failure)};
    }
    const auto started =
        platform.StartHidden(plan.installer, plan.installerCommandLine, plan.serviceFolder, request.waitForPrograms,
                             false);
    observer.ProgramStarted(plan.installerCommandLine, plan.serviceFolder, started.value, EffectOf(started.failure));
    if (!started) return {CallFailed(SetupStep::StartInstaller, plan.installer, *started.failure)};
    changes.Started(RunProgress::InstallerStarted);
    if (auto failure = platform.ChangeDirectory(plan.appFolder)) {
        return {CallFailed(SetupStep::ReturnToAppFolder, plan.appFolder, *failure)};
    }
    if (!request.waitForPrograms) return {};
    return AwaitExit(platform, started.value, plan.installer, SetupStep::RunInstaller, true, observer);
}

}  // namespace selvane
