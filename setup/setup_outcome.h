#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "setup/settings_plan.h"

namespace selvane {

// The steps of a setup run, in order. Those before WriteSettings change nothing.
enum class SetupStep {
    ReadFolderBox,
    FindWindowsDirectory,
    FindSystemDirectory,
    CheckText,
    CheckPathLength,
    CheckLogFile,
    CheckBatchFile,
    CheckServiceFolder,
    CheckInstaller,
    CheckAnswerFile,
    ReadSettings,
    WriteSettings,
    WriteAnswerFile,
    FindAnswerFile,
    StartBatchFile,
    RunBatchFile,
    EnterServiceFolder,
    StartInstaller,
    RunInstaller,
    ReturnToAppFolder,
};

enum class FailureReason {
    System,           // systemText says why
    Empty,            // the folder box is empty
    NotInCodePage,    // the ANSI code page cannot hold a character of subject
    TooLong,          // length characters, more than limit
    UnsafeCharacter,  // '%' or '"' in a path cmd.exe would read
    Missing,          // nothing there; systemText says what the system found
    IsFolder,         // a folder where a file must be
    NotFolder,        // a file where a folder must be
    NotAProgram,      // no program Windows can start
    IsRunFile,        // the log would be written into subject, a file the run writes or starts
    NotVisible,       // written, but not found within the wait
    ExitCode,         // the program ended with a code other than 0
};

// One step of putting back what a run changed.
enum class RestorationKind {
    RestoreValue,       // the key gets value back
    DeleteKey,          // the run created the key
    DeleteSection,      // the run created the section
    RemoveFile,         // the run created the file
    RestoreAnswerFile,  // the run replaced it
    RemoveAnswerFile,   // the run created it
};

struct Restoration {
    RestorationKind kind = RestorationKind::RestoreValue;
    std::string file;
    std::string section;
    std::string key;
    std::string value;
};

// What a run left changed when it stopped.
enum class ServerState {
    Unchanged,      // it stopped before its first change
    PutBack,        // everything it changed is as it was before
    PartlyPutBack,  // leftChanged lists what could not be put back
    SettingsKept,   // acl.bat had started: nothing was put back
};

struct LeftChange {
    Restoration restoration;  // what putting it back would have done
    std::string reason;       // why that failed
};

// Why a setup run stopped: the step, the file, folder or text concerned,
// the reason, and what the run left changed; never shown by the run itself.
struct SetupFailure {
    SetupStep step = SetupStep::ReadFolderBox;
    FailureReason reason = FailureReason::System;
    std::string subject;
    std::string systemText;
    unsigned long exitCode = 0;
    std::size_t length = 0;
    std::size_t limit = 0;
    ServerState state = ServerState::Unchanged;
    std::vector<LeftChange> leftChanged;
};

inline SetupFailure MakeFailure(SetupStep step, FailureReason reason, std::string subject,
                                std::string systemText = {}) {
    SetupFailure failure;
    failure.step = step;
    failure.reason = reason;
    failure.subject = std::move(subject);
    failure.systemText = std::move(systemText);
    return failure;
}

// What became of one effect of the run: made, failed, or (what-if run)
// only planned.
enum class EffectState { Done, Failed, Planned };
struct Effect {
    EffectState state = EffectState::Done;
    std::string reason;
};

// Told of every effect as the run makes it (or plans it); the log listens.
class SetupObserver {
public:
    virtual ~SetupObserver() = default;
    // With what the entry held before the run.
    virtual void SettingWritten(const ProfileWrite&, const std::optional<std::string>& /*before*/, const Effect&) {}
    virtual void AnswerFileWritten(const std::string& /*path*/, const Effect&) {}
    virtual void ProgramStarted(const std::string& /*commandLine*/, const std::string& /*directory*/,
                                unsigned long /*processId*/, const Effect&) {}
    virtual void WaitingFor(const std::string& /*program*/) {}
    virtual void ProgramEnded(const std::string& /*program*/, unsigned long /*exitCode*/) {}
    virtual void PutBack(const Restoration&, const Effect&) {}
};

}  // namespace selvane
