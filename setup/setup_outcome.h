#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/call_failure.h"
#include "platform/enum_table.h"
#include "setup/file_rights.h"
#include "setup/run_plan.h"
#include "setup/setup_step.h"

namespace selvane {

// Reading and writing each of the run's files, as steps.
struct RunFileSteps {
    RunFile file;
    SetupStep read;
    SetupStep write;
};
inline constexpr RunFileSteps kRunFileSteps[] = {
    {RunFile::Settings, SetupStep::ReadSettingsFile, SetupStep::WriteSettingsFile},
    {RunFile::Profile, SetupStep::ReadProfileFile, SetupStep::WriteProfileFile},
    {RunFile::Answer, SetupStep::ReadAnswerFile, SetupStep::WriteAnswerFile},
};
static_assert(RowsFollowEnum(kRunFileSteps, &RunFileSteps::file));
inline const RunFileSteps& StepsOf(RunFile file) { return RowOf(kRunFileSteps, file); }

enum class FailureReason {
    System,           // the call that failed and the system's code say why
    Empty,            // the folder box is empty
    NotInCodePage,    // the ANSI code page cannot hold a character of the subject
    TooLong,          // number characters, more than limit
    UnsafeCharacter,  // '%' or '"' in a path cmd.exe would read
    IsFolder,         // a folder where a file must be
    NotFolder,        // a file where a folder must be
    NotAProgram,      // no program Windows can start
    NotVisible,       // written, but not found within the wait
    ExitCode,         // the program ended with number, not 0
    OthersCanChange,  // rights: another account can change what the run starts
    HasOtherNames,    // a file with more than one name (hard links)
    IsLink,           // a symbolic link, junction or mount point where a file must be
    ReplacedSinceCheck,  // another file stands where the one checked stood
    Count
};

// One step of putting back what a run changed: a whole file, or (where
// another program changed the file meanwhile) one entry of it.
enum class RestorationKind { RestoreFile, RemoveFile, RestoreLine, DeleteKey, DeleteSection, Count };
struct Restoration {
    RestorationKind kind = RestorationKind::RestoreFile;
    std::string file;
    std::string section;
    std::string key;
    std::string before;  // the file's text, or the key's line, as it stood before the run
};

// What could not be put back: the call that failed, or none when the file,
// read again, does not hold what was put back.
struct LeftChange {
    Restoration restoration;
    CallResult failure;
};

// What a stopped run leaves behind.
enum class LeftBehind {
    Nothing,        // it stopped before its first change
    PutBack,        // everything it changed is as it was, read back to be sure
    PartlyPutBack,  // leftChanged lists what is not
    SettingsKept,   // acl.bat had started: nothing was put back
};

// Why a setup run stopped, and what it left behind; shown by the front ends.
struct SetupFailure {
    SetupStep step = SetupStep::ReadFolderBox;
    std::string subject;
    FailureReason reason = FailureReason::System;
    CallFailure call{};         // System: the call and the system's code
    unsigned long number = 0;   // TooLong: the length; ExitCode: the exit code
    std::size_t limit = 0;      // TooLong
    LeftBehind left = LeftBehind::Nothing;
    std::vector<LeftChange> leftChanged{};
    std::size_t programsStarted = 0;  // how far the run got: of kPrograms, in order
    RightsFinding rights{};
};

inline SetupFailure MakeFailure(SetupStep step, FailureReason reason, std::string subject) {
    return {.step = step, .subject = std::move(subject), .reason = reason};
}
inline SetupFailure CallFailed(SetupStep step, std::string subject, const CallFailure& call) {
    return {.step = step, .subject = std::move(subject), .reason = FailureReason::System, .call = call};
}

// The installer's exit codes that mean done, with a restart to come: the
// Windows Installer's, which deployment tools know.
enum class Restart : unsigned long { None = 0, Required = 3010, Started = 1641 };

// How a run ended: stopped, or done (perhaps with a restart).
struct SetupOutcome {
    SetupOutcome(std::optional<SetupFailure> stopped = std::nullopt, Restart restartAfter = Restart::None)
        : failure(std::move(stopped)), restart(restartAfter) {}
    std::optional<SetupFailure> failure;
    Restart restart = Restart::None;
    std::size_t programsStarted = 0;        // of kPrograms, in order
    std::vector<unsigned long> exitCodes;  // of those waited for, in order
};

// What became of one effect of the run: made, failed (the call; none when
// reading back showed it), or (what-if run) only planned.
enum class EffectState { Done, Failed, Planned };
struct Effect {
    EffectState state = EffectState::Done;
    CallResult failure;
};
inline Effect EffectOf(const CallResult& failure) { return {failure ? EffectState::Failed : EffectState::Done, failure}; }

// Told of every effect as the run makes it (or plans it); the log listens.
class SetupObserver {
public:
    virtual ~SetupObserver() = default;
    // With the key's line as it stood before the run, if it had one.
    virtual void SettingWritten(const ProfileWrite&, const std::optional<std::string>& /*lineBefore*/, const Effect&) {}
    virtual void AnswerFileWritten(const std::string& /*path*/, const Effect&) {}
    virtual void ProgramStarted(const std::string& /*commandLine*/, const std::string& /*directory*/,
                                unsigned long /*processId*/, const Effect&) {}
    virtual void WaitingFor(const std::string& /*program*/) {}
    virtual void ProgramEnded(const std::string& /*program*/, unsigned long /*exitCode*/) {}
    // Another program held the file; the run waited for it to let go (released) or gave up.
    virtual void WaitedForHold(const std::string& /*file*/, std::chrono::milliseconds /*waited*/, bool /*released*/) {}
    // Another program changed the file during the run: it is put back entry by entry.
    virtual void ChangedMeanwhile(const std::string& /*file*/) {}
    virtual void RestorationMade(const Restoration&, const Effect&) {}
};

}  // namespace selvane
