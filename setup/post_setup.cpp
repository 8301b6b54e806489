#include "setup/held_files.h"
#include "setup/run_steps.h"
#include "setup/setup_run.h"

namespace selvane {

std::optional<SetupFailure> SetupRun::WriteAnswerFile() {
    const std::string& answerFile = plan_.answerFile;
    if (request_.whatIf) {
        observer_.AnswerFileWritten(answerFile, {EffectState::Planned, {}});
        return std::nullopt;
    }
    // The run's own file, whatever stood there, held from here on: read by acl.bat and nobody changes it.
    changes_.Touched(RunFile::Answer);
    const CallResult failure = WaitingOutHolds(platform_, &observer_, answerFile,
                                               [&] { return platform_.WriteOwnFile(answerFile, kAnswerFileContent, journal_); });
    observer_.AnswerFileWritten(answerFile, EffectOf(failure));
    if (failure) return CallFailed(StepsOf(RunFile::Answer).write, answerFile, *failure);

    // The batch file reads the answer file; start it only once the file can be seen.
    const auto deadline = platform_.Now() + kAnswerFileWait;
    while (!platform_.NormalFileExists(answerFile)) {
        if (platform_.Now() >= deadline) {
            return MakeFailure(SetupStep::FindAnswerFile, FailureReason::NotVisible, answerFile);
        }
        platform_.ProcessPendingEvents();
        platform_.Pause(kAnswerFilePoll);
    }
    return std::nullopt;
}

SetupOutcome SetupRun::StartProgram(const ProgramRow& row) {
    const PlannedProgram& program = plan_.ProgramOf(row.program);
    if (row.readsAnswerFile) {
        if (auto failure = WriteAnswerFile()) return {failure};
    }
    if (request_.whatIf) {
        observer_.ProgramStarted(*program.commandLine, program.folder, 0, {EffectState::Planned, {}});
        return {};
    }
    // Checked before the first write; looked at again because cmd.exe would
    // start without it and only say so in a console no one sees.
    if (row.isBatchFile) {
        if (auto missing = Expect(row.start, program.file, PathKind::File)) return {missing};
    }
    // What starts is what was checked.
    if (!platform_.IsHeldFile(program.file)) {
        return {MakeFailure(row.start, FailureReason::ReplacedSinceCheck, program.file)};
    }
    const auto started = platform_.StartHidden(program.executable, *program.commandLine, program.folder,
                                               request_.waitForPrograms, row.isBatchFile && othersFillCurrentFolder_);
    observer_.ProgramStarted(*program.commandLine, program.folder, started.value, EffectOf(started.failure));
    if (!started) return {CallFailed(row.start, program.file, *started.failure)};
    changes_.ProgramStarted();
    if (!request_.waitForPrograms) return {};
    return AwaitExit(row, started.value);
}

// The program's exit code once it has ended; a failure when it could not be
// had, or is not 0 (nor, where allowed, a restart code).
SetupOutcome SetupRun::AwaitExit(const ProgramRow& row, unsigned long processId) {
    const std::string& file = plan_.ProgramOf(row.program).file;
    observer_.WaitingFor(file);
    const Checked<unsigned long> exit = platform_.WaitForExit(processId);
    if (!exit) return {CallFailed(row.run, file, *exit.failure)};
    observer_.ProgramEnded(file, exit.value);
    exitCodes_.push_back(exit.value);
    if (exit.value == 0) return {};
    for (const Restart restart : {Restart::Required, Restart::Started}) {
        if (row.restartAllowed && exit.value == static_cast<unsigned long>(restart)) return {std::nullopt, restart};
    }
    SetupFailure failure = MakeFailure(row.run, FailureReason::ExitCode, file);
    failure.number = exit.value;
    return {failure};
}

}  // namespace selvane
